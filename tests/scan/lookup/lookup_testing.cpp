// Test support of the update lookup tests.
#include "lookup_testing.h"

namespace zx::test {

void FillRecord(const DeviceSpec& spec, tagDeviceDriverInfo& record) {
  record.Reset();
  record.nValues[0] = record.nValues[1] = record.nValues[2] = 0;
  record.szText[kSlotDeviceName].Set(spec.name.c_str());
  record.szText[kSlotClassName].Set(spec.className.c_str());
  record.szText[kSlotDriverVersion].Set(spec.version.c_str());
  record.szText[kSlotDriverDate].Set(spec.date.c_str());
  if (!spec.hardwareIds.empty()) record.szText[kSlotHardwareId].Set(spec.hardwareIds.front().c_str());
  record.szMatchingDeviceId.Set(spec.matchingId.c_str());
  std::u16string list = spec.matchingId;
  for (const std::u16string& id : spec.hardwareIds) {
    record.arrHardwareIds.Add(id.c_str());
    record.arrAllHardwareIds.Add(id.c_str());
  }
  for (const std::u16string& id : spec.compatibleIds) {
    record.arrCompatibleIds.Add(id.c_str());
    record.arrAllCompatibleIds.Add(id.c_str());
    list += (list.empty() ? u"" : u"|") + id;
  }
  record.szText[kSlotMatchingIdList].Set(list.c_str());
  record.nDriverRank = spec.rank;
  record.nProblem = spec.problem;
}

void LookupTest::SetDevices(const std::vector<DeviceSpec>& specs) {
  auto devices = std::make_unique<CDeviceRecordArray>(CDeviceRecordArray::kInitialCapacity);
  for (std::size_t i = 0; i < specs.size(); ++i) FillRecord(specs[i], devices->ElementAtGrow(static_cast<INT_PTR>(i)));
  engine_->SetScannedDevices(std::move(devices), static_cast<int>(specs.size()));
}

std::u16string LookupTest::Group(int driverId, const std::u16string& id, const std::u16string& version,
                                 const std::map<std::u16string, std::u16string>& more) {
  std::map<std::u16string, std::u16string> fields = {{u"md5", u"00112233445566778899aabbccddeeff"},
                                                     {u"infpath", u"extract\\pkg\\x.inf"},
                                                     {u"infdate", u"2015-06-19"},
                                                     {u"severity", u"2"},
                                                     {u"CompatibleIdIdx", u"0"},
                                                     {u"signer", u"1"}};
  for (const auto& [key, value] : more) fields[key] = value;
  std::u16string group = u"<driver><driverid>" + std::u16string(CString([&] {
                           CString number;
                           number.Format(_T("%d"), driverId);
                           return number;
                         }()).GetString()) +
                         u"</driverid><hardwareidentifier>" + id + u"</hardwareidentifier><version>" + version +
                         u"</version>";
  for (const auto& [key, value] : fields)
    if (key != u"signer") group += u"<" + key + u">" + value + u"</" + key + u">";
  return group + u"<signer>" + fields[u"signer"] + u"</signer></driver>";
}

void LookupTest::Parse(const std::u16string& answer) {
  engine_->ParseUpdateResults(document_, CString(answer.c_str(), static_cast<int>(answer.size())));
}

int RecordingList::InsertItem(int item, int image) {
  const std::size_t at = std::min(static_cast<std::size_t>(std::max(item, 0)), items.size());
  Item added;
  added.image = image;
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), added);
  return static_cast<int>(at);
}

void RecordingList::SetItemDetails(int item, const CString& name, int severity, int riskLevel,
                                   const CString& className, const CString& currentDate, const CString& newDate) {
  Item& own = items.at(static_cast<std::size_t>(item));
  own.name = Text(name);
  own.severity = severity;
  own.risk = riskLevel;
  own.className = Text(className);
  own.currentDate = Text(currentDate);
  own.newDate = Text(newDate);
}

std::u16string Text(const CString& text) {
  return std::u16string(text.GetString(), static_cast<std::size_t>(text.GetLength()));
}

std::string Narrow(const CString& text) {
  std::string narrow;
  for (int i = 0; i < text.GetLength(); ++i) narrow += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return narrow;
}

}  // namespace zx::test
