// Reading the update service's answer: its exchange text deciphered and checked, and its
// elements walked depth first into answer records.
#include "UpdateAnswer.h"

#include <algorithm>
#include <numeric>

#include "DriverScanUpdate.h"
#include "ExchangeEncoding.h"

namespace {

constexpr int kDigestDigits = 32;
constexpr int kUnitDigits = 4;

bool IsUpperHexDigit(WCHAR c) { return static_cast<WCHAR>(c - '0') < 10 || static_cast<WCHAR>(c - 'A') < 6; }

// The leading decimal digits of a text (after blanks and a sign), 0 without any; values
// beyond the 32-bit range stop at its ends.
int LeadingNumber(const CString& text) {
  const WCHAR* const own = text.GetString();
  const int length = text.GetLength();
  int i = 0;
  while (i < length && (own[i] == ' ' || own[i] == '\t')) ++i;
  bool negative = false;
  if (i < length && (own[i] == '-' || own[i] == '+')) negative = own[i++] == '-';
  long long value = 0;
  for (; i < length && own[i] >= '0' && own[i] <= '9'; ++i) {
    value = value * 10 + (own[i] - '0');
    if (value > 0x80000000LL) value = 0x80000000LL;
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
  return static_cast<int>(value);
}

// The characters CString::Trim removes: tab to carriage return, and space.
bool IsTrimmedBlank(WCHAR c) { return (c >= '\t' && c <= '\r') || c == ' '; }

constexpr std::size_t kLongestFieldName = 18;

// A name folded to lower case when it is ASCII and no longer than any field name; an empty
// view otherwise (no field has such a name).
std::u16string_view FoldFieldName(std::u16string_view name, WCHAR (&buffer)[kLongestFieldName]) {
  if (name.size() > kLongestFieldName) return {};
  for (std::size_t i = 0; i < name.size(); ++i) {
    const WCHAR c = name[i];
    if (c >= 0x80) return {};
    buffer[i] = c >= 'A' && c <= 'Z' ? static_cast<WCHAR>(c - 'A' + 'a') : c;
  }
  return {buffer, name.size()};
}

// Whether two element names are the same without regard to case: ASCII letters are folded
// here, any other character by CString's own comparison.
bool SameLeafName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    WCHAR x = a[i], y = b[i];
    if (x == y) continue;
    if (x >= 0x80 || y >= 0x80)
      return CString(a.data(), static_cast<int>(a.size())).CompareNoCase(CString(b.data(), static_cast<int>(b.size()))) == 0;
    if (x >= 'A' && x <= 'Z') x = static_cast<WCHAR>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<WCHAR>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Moves the complete groups into the answer map in driverid order, the groups of one driverid
// in their arrival order: each goes in at the map's end, with no search down the tree.
void FileAnswers(std::vector<std::pair<int, tagDriverUpdateInfo>>& arrived,
                 std::multimap<int, tagDriverUpdateInfo>& answers) {
  std::vector<std::size_t> order(arrived.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return arrived[a].first < arrived[b].first; });
  for (const std::size_t n : order) answers.emplace_hint(answers.end(), arrived[n].first, std::move(arrived[n].second));
  arrived.clear();
}

}  // namespace

AnswerDecodeResult DecodeExchangeAnswer(CString& text) {
  // Only a text with blanks around it needs a trimmed copy: a text that starts and ends with
  // a digit is checked and deciphered where it stands.
  const int length = text.GetLength();
  const bool bare = length > 0 && IsUpperHexDigit(text.GetString()[0]) && IsUpperHexDigit(text.GetString()[length - 1]);
  CString trimmed;
  if (!bare) {
    trimmed = text;
    trimmed.Trim();
  }
  const CString& encoded = bare ? text : trimmed;
  const std::u16string_view digits(encoded.GetString(), static_cast<std::size_t>(encoded.GetLength()));
  if (digits.size() <= kDigestDigits) return kAnswerEmpty;
  if ((digits.size() - kDigestDigits) % kUnitDigits != 0) return kAnswerMalformed;
  if (!AreUpperHexDigits(digits)) return kAnswerMalformed;
  CString plain;
  DecipherHexPayload(digits.substr(kDigestDigits), plain);
  if (plain.IsEmpty()) return kAnswerEmpty;
  CString digest;
  ComputeTextDigest(plain, digest);
  if (std::u16string_view(digest.GetString(), static_cast<std::size_t>(digest.GetLength())) != digits.substr(0, kDigestDigits))
    return kAnswerWrongDigest;
  text = std::move(plain);
  return kAnswerDecoded;
}

void CDriverScanUpdate::ParseUpdateResults(CMarkup& document, const CString& answer) {
  m_answerDriverIds.clear();
  m_answerMap.clear();
  m_workingAnswer.Reset();
  m_arrivedAnswers.clear();
  document.SetDocumentText(_T(""));
  document.SetDocumentText(answer);

  // Depth first: a leaf is handled when the walk steps back out of it, unless the leaf just
  // before had the same name; a parent is passed over.
  // The names are read where they stand in the document, which the walk leaves unchanged.
  std::u16string_view previousLeaf;
  bool walking = document.NextElement();
  while (walking) {
    document.EnterElement();
    if (document.NextElement()) continue;
    document.LeaveElement();
    const std::u16string_view leaf = document.GetElementNameView();
    if (!SameLeafName(leaf, previousLeaf)) {
      ParseDriverResult(document, leaf);
      previousLeaf = leaf;
    }
    while (!document.NextElement()) {
      if (!document.LeaveElement()) {
        walking = false;
        break;
      }
    }
  }
  FileAnswers(m_arrivedAnswers, m_answerMap);
  MatchUpdatesToDevices();
}

void CDriverScanUpdate::ParseDriverResult(CMarkup& document, std::u16string_view tagName) {
  struct Field {
    std::u16string_view name;  // in lower case
    CString tagDriverUpdateInfo::*text;
  };
  static const Field kFields[] = {
      {u"driverid", nullptr},
      {u"hardwareidentifier", &tagDriverUpdateInfo::hardwareidentifier},
      {u"hardwareid", &tagDriverUpdateInfo::hardwareid},
      {u"infdate", &tagDriverUpdateInfo::infdate},
      {u"infpath", &tagDriverUpdateInfo::infpath},
      {u"version", &tagDriverUpdateInfo::version},
      {u"isspecificcase", &tagDriverUpdateInfo::isSpecificCase},
      {u"signer", &tagDriverUpdateInfo::signer},
      {u"md5", &tagDriverUpdateInfo::md5},
      {u"isinstall", &tagDriverUpdateInfo::isInstall},
      {u"downloadid", &tagDriverUpdateInfo::downloadid},
      {u"severity", &tagDriverUpdateInfo::severity},
      {u"risklevel", &tagDriverUpdateInfo::riskLevel},
      {u"liburl", &tagDriverUpdateInfo::liburl},
      {u"compatibleididx", &tagDriverUpdateInfo::CompatibleIdIdx},
      {u"featurescore", &tagDriverUpdateInfo::featurescore},
      {u"signaturescore", &tagDriverUpdateInfo::signaturescore},
  };
  WCHAR buffer[kLongestFieldName];
  const std::u16string_view folded = FoldFieldName(tagName, buffer);
  const Field* field = nullptr;
  for (const Field& candidate : kFields) {
    if (candidate.name == folded) {
      field = &candidate;
      break;
    }
  }
  if (field == nullptr) return;  // not an answer element
  CString text = document.GetElementText();
  // Most data has no blanks around it and needs no trimming.
  if (!text.IsEmpty() && (IsTrimmedBlank(text.GetString()[0]) || IsTrimmedBlank(text.GetString()[text.GetLength() - 1])))
    text.Trim();
  tagDriverUpdateInfo& record = m_workingAnswer;
  if (field->text == nullptr) {
    record.driverid = LeadingNumber(text);
    // Answers usually list their driverids in rising order: the end of the set is tried first.
    m_answerDriverIds.emplace_hint(m_answerDriverIds.end(), record.driverid);
    return;
  }
  record.*field->text = std::move(text);
  if (field->text == &tagDriverUpdateInfo::signer) {
    // The group is complete.
    const int driverid = record.driverid;
    m_arrivedAnswers.emplace_back(driverid, std::move(record));
    record.Reset();
  }
}
