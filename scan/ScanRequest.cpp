// The scan request document: the eligible devices and the machine description under
// "newdataset". The text is written in one pass, exactly as the XML document lays out a
// document built element by element (each element on its own CR LF line, childless elements
// without text as "<name/>"), and then handed to the document in one piece.
#include <algorithm>
#include <array>
#include <unordered_set>

#include "DriverScanUpdate.h"
#include "GlobalConstants.h"
#include "LoweredText.h"
#include "NumberText.h"
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
    Put(u"</");
    Put(name);
    Put(u">\r\n");
  }
  void Leaf(std::u16string_view name, std::u16string_view value) {
    Flush();
    if (value.empty()) {
      Empty(name);
      return;
    }
    Put(u"<");
    Put(name);
    Put(u">");
    PutEscaped(value);
    Put(u"</");
    Put(name);
    Put(u">\r\n");
  }
  // The text written, handed over; the writer is empty afterwards.
  CString TakeText() {
    m_text.ReleaseBufferSetLength(static_cast<int>(m_length));
    m_buffer = nullptr;
    m_length = m_capacity = 0;
    return std::move(m_text);
  }

 private:
  // Room for `more` units behind the written text.
  void Reserve(std::size_t more) {
    if (more <= m_capacity - m_length) return;
    m_capacity = std::max(m_capacity * 2, m_length + more + kFirstRoom);
    m_buffer = m_text.GetBufferSetLength(static_cast<int>(m_capacity));
  }
  void Put(std::u16string_view text) {
    Reserve(text.size());
    std::copy(text.begin(), text.end(), m_buffer + m_length);
    m_length += text.size();
  }
  void Flush() {
    if (m_pending == nullptr) return;
    Put(u"<");
    Put(m_pending);
    Put(u">\r\n");
    m_pending = nullptr;
  }
  void Empty(std::u16string_view name) {
    Put(u"<");
    Put(name);
    Put(u"/>\r\n");
  }
  // The value with "<", "&" and ">" as entities.
  void PutEscaped(std::u16string_view value) {
    Reserve(value.size() * std::char_traits<char16_t>::length(u"&amp;"));
    WCHAR* out = m_buffer + m_length;
    for (const WCHAR c : value) {
      const std::u16string_view entity = c == '<' ? u"&lt;" : c == '&' ? u"&amp;" : c == '>' ? u"&gt;" : u"";
      if (entity.empty()) {
        *out++ = c;
      } else {
        out = std::copy(entity.begin(), entity.end(), out);
      }
    }
    m_length = static_cast<std::size_t>(out - m_buffer);
  }

  // The text is written into the string's own buffer, which grows by doubling; the units
  // past `m_length` are room not yet written.
  static constexpr std::size_t kFirstRoom = 4096;
  CString m_text;
  WCHAR* m_buffer = nullptr;
  std::size_t m_length = 0;
  std::size_t m_capacity = 0;
  LPCTSTR m_pending = nullptr;
};

// Texts met so far: a few kept in a short list searched in turn, more in a hashed set.
class CSeenTexts {
 public:
  // True the first time a text is offered.
  bool Insert(std::u16string_view text) {
    if (m_hashed.empty()) {
      const auto listed = m_list.begin() + static_cast<std::ptrdiff_t>(m_listed);
      if (std::find(m_list.begin(), listed, text) != listed) return false;
      if (m_listed < m_list.size()) {
        m_list[m_listed++] = text;
        return true;
      }
      m_hashed.insert(m_list.begin(), m_list.end());
    }
    return m_hashed.insert(text).second;
  }

 private:
  std::array<std::u16string_view, 16> m_list;
  std::size_t m_listed = 0;
  std::unordered_set<std::u16string_view> m_hashed;
};

CString WithoutSpaces(CString text) {
  text.Remove(' ');
  return text;
}

// The properties whose trimmed value is not empty, as children "<prefix>_<name>".
void WriteProperties(CRequestWriter& writer, LPCTSTR element, const CKeyValuePairArray& list) {
  writer.Open(element);
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    const std::u16string_view value = TrimmedView(View(list[i].strValue));
    if (value.empty()) continue;
    writer.Leaf(View(CString(element) + _T("_") + list[i].strKey), value);
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
  constexpr std::size_t kNone = std::u16string_view::npos;
  const std::u16string_view text = View(date);
  const std::size_t lastDash = text.rfind(u'-');
  const std::u16string_view year = lastDash == kNone ? text : text.substr(lastDash + 1);
  const std::u16string_view rest = lastDash == kNone ? std::u16string_view() : text.substr(0, lastDash);
  const std::size_t secondDash = rest.rfind(u'-');
  const std::u16string_view month = secondDash == kNone ? rest : rest.substr(0, secondDash);
  const std::u16string_view day = secondDash == kNone ? std::u16string_view() : rest.substr(secondDash + 1);
  CString converted;
  converted.Preallocate(static_cast<int>(text.size()) + 4);
  const auto append = [&converted](std::u16string_view part) {
    if (part.size() == 1) converted.AppendChar(_T('0'));
    converted.Append(part.data(), static_cast<int>(part.size()));
  };
  converted.Append(year.data(), static_cast<int>(year.size()));
  converted.AppendChar(_T('-'));
  append(month);
  converted.AppendChar(_T('-'));
  append(day);
  return converted;
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
  const auto collect = [&](std::u16string_view id) {
    const std::u16string_view trimmed = TrimmedView(id);
    if (trimmed.empty() || m_scanner.TestIdentifier(trimmed)) return;
    if (!collected.IsEmpty()) collected.AppendChar(_T('|'));
    collected.Append(trimmed.data(), static_cast<int>(trimmed.size()));
  };
  collect(device.szMatchingDeviceId.Text());
  for (INT_PTR i = 0; i < device.arrHardwareIds.GetSize(); ++i) collect(View(device.arrHardwareIds[i]));
  for (INT_PTR i = 0; i < device.arrCompatibleIds.GetSize(); ++i) collect(View(device.arrCompatibleIds[i]));

  // Split at "|" and keep each id once, in the letter case it came first in. Pieces are
  // compared in a lower-case copy of the whole text, whose positions are the text's own (case
  // is changed unit by unit). The text is split as it stands, however long.
  const std::u16string_view text = View(collected);
  const CLoweredText lowered(text);
  const std::u16string_view lower = lowered.View();
  CSeenTexts seen;
  CString kept;
  kept.Preallocate(collected.GetLength());
  std::size_t position = 0;
  while (position <= text.size()) {
    std::size_t end = text.find(u'|', position);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view piece = TrimmedView(text.substr(position, end - position));
    const std::size_t first = piece.data() - text.data();
    position = end + 1;
    if (piece.empty() || !seen.Insert(lower.substr(first, piece.size()))) continue;
    if (!kept.IsEmpty()) kept.AppendChar(_T('|'));
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
    if (!m_mapExcludedIds.IsEmpty() && m_mapExcludedIds.Lookup(device->szText[kSlotHardwareId].Text(), excludedValue))
      continue;
    if (device->szText[kSlotDeviceName].Text()[0] == 0) continue;
    const CString matchingId = CollectMatchingIds(*device);
    if (matchingId.GetLength() <= 1) continue;

    const CRecordText& date = device->szText[kSlotDriverDate];
    writer.Open(_T("device"));
    writer.Leaf(u"driverid", CNumberText(index).View());
    writer.Leaf(u"date", View(date.IsNull() ? CString() : ConvertDriverDate(date.Text())));
    writer.Leaf(u"version", device->szText[kSlotDriverVersion].Text());
    writer.Leaf(u"matchingid", View(matchingId));
    writer.Leaf(u"matchingdeviceid", device->szMatchingDeviceId.Text());
    writer.Leaf(u"driverrank", CNumberText(static_cast<unsigned>(device->nDriverRank), 16).View());
    writer.Leaf(u"deviceerrorcode", CNumberText(device->nProblem).View());
    writer.Close(_T("device"));
  }

  const tagScanRequestMachine& machine = m_requestMachine;
  writer.Open(_T("os"));
  writer.Leaf(u"osid", CNumberText(machine.nOsId).View());
  writer.Close(_T("os"));
  writer.Open(_T("key"));
  writer.Leaf(u"machineid", View(machine.strMachineId));
  writer.Close(_T("key"));
  const CString initials = WithoutSpaces(g_strBrandWord + g_strProductKeyWord + machine.strAppName);
  writer.Open(_T("saveXmlFileName"));
  writer.Leaf(u"file_name_initials", View(WithoutSpaces(initials + _T("ScanXml-dt"))));
  writer.Close(_T("saveXmlFileName"));
  writer.Open(_T("campaign_info"));
  writer.Leaf(u"utm_source", View(machine.strUtmSource));
  writer.Leaf(u"utm_campaign", View(machine.strUtmCampaign));
  writer.Close(_T("campaign_info"));
  writer.Open(_T("dbref"));
  writer.Leaf(u"dbinitials", View(initials));
  writer.Close(_T("dbref"));
  writer.Open(_T("system_name"));
  writer.Leaf(u"sysname", View(machine.strComputerName));
  writer.Close(_T("system_name"));
  WriteProperties(writer, _T("bios_info"), machine.arrBios);
  WriteProperties(writer, _T("baseboard_info"), machine.arrBaseBoard);
  writer.Open(_T("mac_info"));
  for (INT_PTR i = 0; i < machine.arrMacAddresses.GetSize(); ++i) {
    const std::u16string_view address = TrimmedView(View(machine.arrMacAddresses[i]));
    if (address.empty()) continue;
    CString name;
    name.Format(_T("mac_address_id_%d"), static_cast<int>(i));
    writer.Leaf(View(name), address);
  }
  writer.Leaf(u"mac_address_virtual_id_0", View(g_strIgnoredAdapter1));
  writer.Leaf(u"mac_address_virtual_id_1", View(g_strIgnoredAdapter2));
  writer.Close(_T("mac_info"));
  writer.Open(_T("user_hash"));
  writer.Leaf(u"user_hash_data", View(machine.strUserHash));
  writer.Close(_T("user_hash"));
  writer.Close(_T("newdataset"));
  document.SetDocumentText(writer.TakeText());
}
