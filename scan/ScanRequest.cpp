// The scan request document: the eligible devices and the machine description under
// "newdataset". The text is written in one pass, exactly as the XML document lays out a
// document built element by element (each element on its own CR LF line, childless elements
// without text as "<name/>"), and then handed to the document in one piece.
#include <unordered_set>

#include "DriverScanUpdate.h"
#include "GlobalConstants.h"
#include "TextViews.h"

namespace {

// Writes elements in the layout of the XML document's additions.
class CRequestWriter {
 public:
  // An element that gets children; written once its first child or its end comes.
  void Open(LPCTSTR name) {
    Flush();
    m_pending = name;
  }
  void Close(LPCTSTR name) {
    if (m_pending != nullptr) {
      Empty(m_pending);
      m_pending = nullptr;
      return;
    }
    m_text += _T("</");
    m_text += name;
    m_text += _T(">\r\n");
  }
  void Leaf(LPCTSTR name, const CString& value) {
    Flush();
    if (value.IsEmpty()) {
      Empty(name);
      return;
    }
    m_text += _T("<");
    m_text += name;
    m_text += _T(">");
    AppendEscaped(value);
    m_text += _T("</");
    m_text += name;
    m_text += _T(">\r\n");
  }
  // The text written, handed over; the writer is empty afterwards.
  CString TakeText() { return std::move(m_text); }

 private:
  void Flush() {
    if (m_pending == nullptr) return;
    m_text += _T("<");
    m_text += m_pending;
    m_text += _T(">\r\n");
    m_pending = nullptr;
  }
  void Empty(LPCTSTR name) {
    m_text += _T("<");
    m_text += name;
    m_text += _T("/>\r\n");
  }
  void AppendEscaped(const CString& value) {
    for (int i = 0; i < value.GetLength(); ++i) {
      const WCHAR c = value[i];
      if (c == '<')
        m_text += _T("&lt;");
      else if (c == '&')
        m_text += _T("&amp;");
      else if (c == '>')
        m_text += _T("&gt;");
      else
        m_text += c;
    }
  }

  CString m_text;
  LPCTSTR m_pending = nullptr;
};

CString WithoutSpaces(CString text) {
  text.Remove(' ');
  return text;
}

// The properties whose trimmed value is not empty, as children "<prefix>_<name>".
void WriteProperties(CRequestWriter& writer, LPCTSTR element, const CKeyValuePairArray& list) {
  writer.Open(element);
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    CString value = list[i].strValue;
    value.Trim();
    if (value.IsEmpty()) continue;
    writer.Leaf(CString(element) + _T("_") + list[i].strKey, value);
  }
  writer.Close(element);
}

}  // namespace

CString GetComputerNameString() {
  WCHAR name[16] = {};
  DWORD length = 16;
  if (!GetComputerNameW(name, &length)) return CString();
  return CString(name, static_cast<int>(length));
}

void TakeHardwareLists(const CHardwareHash& hash, tagScanRequestMachine& machine) {
  machine.arrBios.Copy(hash.m_arrBios);
  machine.arrBaseBoard.Copy(hash.m_arrBaseBoard);
  machine.arrMacAddresses.RemoveAll();
  if (hash.m_arrAdapterAddresses.GetSize() > 0) {
    for (INT_PTR i = 0; i < hash.m_arrAdapterAddresses.GetSize(); ++i)
      machine.arrMacAddresses.Add(hash.m_arrAdapterAddresses[i].strValue);
  } else {
    machine.arrMacAddresses.Copy(hash.m_arrMacAddresses);
  }
}

CString ConvertDriverDate(const CString& date) {
  const int lastDash = date.ReverseFind('-');
  const CString year = lastDash < 0 ? date : date.Mid(lastDash + 1);
  const CString rest = lastDash < 0 ? CString() : date.Left(lastDash);
  const int secondDash = rest.ReverseFind('-');
  CString month = secondDash < 0 ? rest : rest.Left(secondDash);
  CString day = secondDash < 0 ? CString() : rest.Mid(secondDash + 1);
  if (month.GetLength() == 1) month = _T("0") + month;
  if (day.GetLength() == 1) day = _T("0") + day;
  return year + _T("-") + month + _T("-") + day;
}

void AppendMatchingId(CString& text, const CString& id) {
  if (!text.IsEmpty()) text += _T("|");
  text += id;
}

void CDriverScanUpdate::SetRequestMachine(const tagScanRequestMachine& machine) {
  m_requestMachine.nOsId = machine.nOsId;
  m_requestMachine.strMachineId = machine.strMachineId;
  m_requestMachine.strAppName = machine.strAppName;
  m_requestMachine.strUtmSource = machine.strUtmSource;
  m_requestMachine.strUtmCampaign = machine.strUtmCampaign;
  m_requestMachine.strComputerName = machine.strComputerName;
  m_requestMachine.arrBios.Copy(machine.arrBios);
  m_requestMachine.arrBaseBoard.Copy(machine.arrBaseBoard);
  m_requestMachine.arrMacAddresses.Copy(machine.arrMacAddresses);
  m_requestMachine.strUserHash = machine.strUserHash;
}

CString CDriverScanUpdate::CollectMatchingIds(const tagDeviceDriverInfo& device) const {
  CString collected;
  const auto collect = [&](const CString& id) {
    const std::u16string_view trimmed = TrimmedView(View(id));
    if (trimmed.empty()) return;
    // Most ids have no blanks around them and are tested as they stand.
    const CString& tested = trimmed.size() == static_cast<std::size_t>(id.GetLength())
                                ? id
                                : CString(trimmed.data(), static_cast<int>(trimmed.size()));
    if (!m_scanner.TestHardwareId(_T(""), tested)) AppendMatchingId(collected, tested);
  };
  collect(device.szMatchingDeviceId.Text());
  for (INT_PTR i = 0; i < device.arrHardwareIds.GetSize(); ++i) collect(device.arrHardwareIds[i]);
  for (INT_PTR i = 0; i < device.arrCompatibleIds.GetSize(); ++i) collect(device.arrCompatibleIds[i]);

  // Split at "|" and keep each id once, in the letter case it came first in. Pieces are
  // compared in a lower-case copy of the whole text, whose positions are the text's own (case
  // is changed unit by unit). The text is split as it stands, however long.
  CString lowered = collected;
  lowered.MakeLower();
  const std::u16string_view text = View(collected);
  const std::u16string_view lower = View(lowered);
  std::unordered_set<std::u16string_view> seen;
  CString kept;
  std::size_t position = 0;
  while (position <= text.size()) {
    std::size_t end = text.find(u'|', position);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view piece = TrimmedView(text.substr(position, end - position));
    const std::size_t first = piece.data() - text.data();
    position = end + 1;
    if (piece.empty() || !seen.insert(lower.substr(first, piece.size())).second) continue;
    if (!kept.IsEmpty()) kept += _T("|");
    kept.Append(piece.data(), static_cast<int>(piece.size()));
  }
  kept.Trim();
  return kept;
}

void CDriverScanUpdate::BuildScanRequestXml(const CDeviceRecordArray* devices, int count, CMarkup& document) const {
  CRequestWriter writer;
  writer.Open(_T("newdataset"));
  for (int index = 0; devices != nullptr && index < count; ++index) {
    const tagDeviceDriverInfo* device = devices->GetAt(index);
    if (device == nullptr) break;
    CString excludedValue;
    if (m_mapExcludedIds.Lookup(device->szText[kSlotHardwareId].Text(), excludedValue)) continue;
    if (device->szText[kSlotDeviceName].Text()[0] == 0) continue;
    const CString matchingId = CollectMatchingIds(*device);
    if (matchingId.GetLength() <= 1) continue;

    CString number, rank, errorCode;
    number.Format(_T("%d"), index);
    rank.Format(_T("%0x"), device->nDriverRank);
    errorCode.Format(_T("%d"), device->nProblem);
    const CRecordText& date = device->szText[kSlotDriverDate];
    writer.Open(_T("device"));
    writer.Leaf(_T("driverid"), number);
    writer.Leaf(_T("date"), date.IsNull() ? CString() : ConvertDriverDate(date.Text()));
    writer.Leaf(_T("version"), device->szText[kSlotDriverVersion].Text());
    writer.Leaf(_T("matchingid"), matchingId);
    writer.Leaf(_T("matchingdeviceid"), device->szMatchingDeviceId.Text());
    writer.Leaf(_T("driverrank"), rank);
    writer.Leaf(_T("deviceerrorcode"), errorCode);
    writer.Close(_T("device"));
  }

  const tagScanRequestMachine& machine = m_requestMachine;
  CString osId;
  osId.Format(_T("%d"), machine.nOsId);
  writer.Open(_T("os"));
  writer.Leaf(_T("osid"), osId);
  writer.Close(_T("os"));
  writer.Open(_T("key"));
  writer.Leaf(_T("machineid"), machine.strMachineId);
  writer.Close(_T("key"));
  const CString initials = WithoutSpaces(g_strBrandWord + g_strProductKeyWord + machine.strAppName);
  writer.Open(_T("saveXmlFileName"));
  writer.Leaf(_T("file_name_initials"), WithoutSpaces(initials + _T("ScanXml-dt")));
  writer.Close(_T("saveXmlFileName"));
  writer.Open(_T("campaign_info"));
  writer.Leaf(_T("utm_source"), machine.strUtmSource);
  writer.Leaf(_T("utm_campaign"), machine.strUtmCampaign);
  writer.Close(_T("campaign_info"));
  writer.Open(_T("dbref"));
  writer.Leaf(_T("dbinitials"), initials);
  writer.Close(_T("dbref"));
  writer.Open(_T("system_name"));
  writer.Leaf(_T("sysname"), machine.strComputerName);
  writer.Close(_T("system_name"));
  WriteProperties(writer, _T("bios_info"), machine.arrBios);
  WriteProperties(writer, _T("baseboard_info"), machine.arrBaseBoard);
  writer.Open(_T("mac_info"));
  for (INT_PTR i = 0; i < machine.arrMacAddresses.GetSize(); ++i) {
    CString address = machine.arrMacAddresses[i];
    address.Trim();
    if (address.IsEmpty()) continue;
    CString name;
    name.Format(_T("mac_address_id_%d"), static_cast<int>(i));
    writer.Leaf(name, address);
  }
  writer.Leaf(_T("mac_address_virtual_id_0"), g_strIgnoredAdapter1);
  writer.Leaf(_T("mac_address_virtual_id_1"), g_strIgnoredAdapter2);
  writer.Close(_T("mac_info"));
  writer.Open(_T("user_hash"));
  writer.Leaf(_T("user_hash_data"), machine.strUserHash);
  writer.Close(_T("user_hash"));
  writer.Close(_T("newdataset"));
  document.SetDocumentText(writer.TakeText());
}
