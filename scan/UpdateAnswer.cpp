// Reading the update service's answer: its exchange text deciphered and checked, and its
// elements walked depth first into answer records.
#include "UpdateAnswer.h"

#include <algorithm>
#include <tuple>

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

using AnswerMap = std::multimap<int, tagDriverUpdateInfo>;

// The fields of an answer record by element name (in lower case), in the order the service
// writes them; driverid has no text field.
struct Field {
  std::u16string_view name;
  CString tagDriverUpdateInfo::*text;
};
constexpr Field kFields[] = {
    {u"driverid", nullptr},
    {u"hardwareidentifier", &tagDriverUpdateInfo::hardwareidentifier},
    {u"hardwareid", &tagDriverUpdateInfo::hardwareid},
    {u"infdate", &tagDriverUpdateInfo::infdate},
    {u"infpath", &tagDriverUpdateInfo::infpath},
    {u"version", &tagDriverUpdateInfo::version},
    {u"isspecificcase", &tagDriverUpdateInfo::isSpecificCase},
    {u"md5", &tagDriverUpdateInfo::md5},
    {u"isinstall", &tagDriverUpdateInfo::isInstall},
    {u"downloadid", &tagDriverUpdateInfo::downloadid},
    {u"severity", &tagDriverUpdateInfo::severity},
    {u"risklevel", &tagDriverUpdateInfo::riskLevel},
    {u"liburl", &tagDriverUpdateInfo::liburl},
    {u"compatibleididx", &tagDriverUpdateInfo::CompatibleIdIdx},
    {u"featurescore", &tagDriverUpdateInfo::featurescore},
    {u"signaturescore", &tagDriverUpdateInfo::signaturescore},
    {u"signer", &tagDriverUpdateInfo::signer},
};
constexpr std::size_t kFieldCount = std::size(kFields);

// The field of a folded element name, or null. Every group of an answer repeats one order of
// elements, so the field after the last one found (`next`) is tried first; `next` moves on.
const Field* FindField(std::u16string_view folded, std::size_t& next) {
  for (std::size_t tried = 0; tried < kFieldCount; ++tried) {
    const std::size_t index = (next + tried) % kFieldCount;
    if (kFields[index].name == folded) {
      next = (index + 1) % kFieldCount;
      return &kFields[index];
    }
  }
  return nullptr;
}

// A record for the next answer group, in a map node that belongs to no map: a record of the
// previous answer when one is left (its texts keep their room), else a new one.
AnswerMap::node_type TakeAnswerNode(AnswerMap& spare) {
  if (spare.empty()) {
    AnswerMap scratch;
    return scratch.extract(scratch.emplace(std::piecewise_construct, std::forward_as_tuple(0), std::forward_as_tuple()));
  }
  AnswerMap::node_type node = spare.extract(spare.begin());
  node.mapped().Reset();
  return node;
}

// Moves the complete groups into the answer map in driverid order, the groups of one driverid
// in their arrival order: each goes in at the map's end, with no search down the tree.
void FileAnswers(std::vector<AnswerMap::node_type>& arrived, AnswerMap& answers) {
  const auto byDriverid = [](const AnswerMap::node_type& a, const AnswerMap::node_type& b) { return a.key() < b.key(); };
  if (!std::is_sorted(arrived.begin(), arrived.end(), byDriverid))
    std::stable_sort(arrived.begin(), arrived.end(), byDriverid);
  for (AnswerMap::node_type& node : arrived) answers.insert(answers.end(), std::move(node));
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

void CDriverScanUpdate::ParseUpdateResults(CMarkup& document, CString answer) {
  // The records of the previous answer are taken up again by this one.
  m_answerDriverIds.clear();
  m_spareAnswers.swap(m_answerMap);
  m_answerMap.clear();
  m_arrivedAnswers.clear();
  m_nNextField = 0;
  if (m_workingAnswer.empty()) {
    m_workingAnswer = TakeAnswerNode(m_spareAnswers);
  } else {
    m_workingAnswer.mapped().Reset();
  }
  document.SetDocumentText(_T(""));
  document.SetDocumentText(std::move(answer));

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
  m_spareAnswers.clear();
  MatchUpdatesToDevices();
}

void CDriverScanUpdate::ParseDriverResult(CMarkup& document, std::u16string_view tagName) {
  WCHAR buffer[kLongestFieldName];
  const std::u16string_view folded = FoldFieldName(tagName, buffer);
  const Field* const field = FindField(folded, m_nNextField);
  if (field == nullptr) return;  // not an answer element
  tagDriverUpdateInfo& record = m_workingAnswer.mapped();
  CString& text = field->text != nullptr ? record.*field->text : m_strDriverIdText;
  document.GetElementText(text);
  // Most data has no blanks around it and needs no trimming.
  if (!text.IsEmpty() && (IsTrimmedBlank(text.GetString()[0]) || IsTrimmedBlank(text.GetString()[text.GetLength() - 1])))
    text.Trim();
  if (field->text == nullptr) {
    record.driverid = LeadingNumber(text);
    // Answers usually list their driverids in rising order: the end of the set is tried first.
    m_answerDriverIds.emplace_hint(m_answerDriverIds.end(), record.driverid);
    return;
  }
  if (field->text == &tagDriverUpdateInfo::signer) {
    // The group is complete.
    m_workingAnswer.key() = record.driverid;
    m_arrivedAnswers.push_back(std::move(m_workingAnswer));
    m_workingAnswer = TakeAnswerNode(m_spareAnswers);
  }
}

void tagDriverUpdateInfo::Reset() {
  // Each text is emptied where it stands and keeps its room for the next record.
  driverid = 0;
  for (const Field& field : kFields)
    if (field.text != nullptr) (this->*field.text).Empty();
}
