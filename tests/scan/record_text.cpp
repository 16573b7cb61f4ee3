// Device records as golden text, and their comparison field by field.
#include "record_text.h"

#include <map>
#include <sstream>

#include "stringapiset.h"

namespace zx::test {
namespace {

const char* const kTextFields[kDeviceTextSlots] = {
    "name",     "infpath", "version", "class",  "update4",  "provider", "manufacturer", "hardwareid", "driverkey",
    "date",     "service", "signer",  "update12", "update13", "update14", "matchinglist", "spare"};

std::string Utf8(LPCWSTR text) {
  if (text == nullptr) return "<null>";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

void List(std::ostringstream& out, const char* key, const CStringArray& list) {
  for (INT_PTR i = 0; i < list.GetSize(); ++i) out << key << " = " << Utf8(list[i]) << "\n";
}

struct Record {
  std::string name;
  std::vector<std::pair<std::string, std::string>> lines;
};

std::vector<Record> Parse(const std::string& text) {
  std::vector<Record> records;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("record ", 0) == 0) {
      records.emplace_back();
      continue;
    }
    if (records.empty()) continue;
    const std::size_t equals = line.find(" = ");
    const std::string key = line.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : line.substr(equals + 3);
    if (key == "name") records.back().name = value;
    records.back().lines.emplace_back(key, value);
  }
  return records;
}

// The values of one key, in order.
std::vector<std::string> Values(const Record& record, const std::string& key) {
  std::vector<std::string> values;
  for (const auto& [k, v] : record.lines)
    if (k == key) values.push_back(v);
  return values;
}

std::string Joined(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& v : values) text += (text.empty() ? "'" : ", '") + v + "'";
  return text.empty() ? "nothing" : text;
}

}  // namespace

std::string FormatRecord(int index, const tagDeviceDriverInfo& record) {
  std::ostringstream out;
  out << "record " << index << "\n";
  for (int slot = 0; slot < kDeviceTextSlots; ++slot) out << kTextFields[slot] << " = " << Utf8(record.szText[slot].Get()) << "\n";
  out << "values =";
  for (int value : record.nValues) out << " " << value;
  out << "\n";
  out << "matchingdeviceid = " << Utf8(record.szMatchingDeviceId.Get()) << "\n";
  List(out, "hwid", record.arrHardwareIds);
  List(out, "compatid", record.arrCompatibleIds);
  List(out, "allhwid", record.arrAllHardwareIds);
  List(out, "allcompatid", record.arrAllCompatibleIds);
  out << "rank = " << record.nDriverRank << "\n";
  out << "problem = " << record.nProblem << "\n";
  out << "signed = " << record.nInfSigned << "\n";
  out << "extratext = " << Utf8(record.szExtraText.Get()) << "\n";
  out << "extranumber = " << record.nExtraNumber << "\n";
  out << "linked = " << (record.pLinked ? "yes" : "no") << "\n";
  return out.str();
}

std::vector<std::string> CompareRecordTexts(const std::string& expectedText, const std::string& actualText) {
  const std::vector<Record> expected = Parse(expectedText), actual = Parse(actualText);
  std::vector<std::string> differences;
  if (expected.size() != actual.size())
    differences.push_back("expected " + std::to_string(expected.size()) + " records, got " +
                          std::to_string(actual.size()));
  for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
    std::vector<std::string> keys;
    for (const Record* record : {&expected[i], &actual[i]})
      for (const auto& [key, value] : record->lines)
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    for (const std::string& key : keys) {
      const std::vector<std::string> want = Values(expected[i], key), got = Values(actual[i], key);
      if (want != got)
        differences.push_back("record " + std::to_string(i) + " (" + expected[i].name + ") field " + key +
                              ": expected " + Joined(want) + ", got " + Joined(got));
    }
  }
  return differences;
}

}  // namespace zx::test
