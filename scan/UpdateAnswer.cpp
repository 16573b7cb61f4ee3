// Reading the update service's answer: its elements walked depth first into answer records.
#include "UpdateAnswer.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "MarkupParser.h"
#include "MarkupText.h"
#include "TextViews.h"
#include "zx/casefold.h"

namespace {

// The leading decimal digits of a text (after blanks and a sign), 0 without any; values
// beyond the 32-bit range stop at its ends.
int LeadingNumber(std::u16string_view text) {
  const WCHAR* const own = text.data();
  const int length = static_cast<int>(text.size());
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

constexpr std::size_t kLongestFieldName = 18;

// A name folded to lower case when it is ASCII and no longer than any field name; an empty
// view otherwise (no field has such a name).
std::u16string_view FoldFieldName(std::u16string_view name, WCHAR (&buffer)[kLongestFieldName]) {
  if (name.size() > kLongestFieldName) return {};
  for (std::size_t i = 0; i < name.size(); ++i) {
    const WCHAR c = name[i];
    if (c >= 0x80) return {};
    buffer[i] = zx::LowerAscii(c);
  }
  return {buffer, name.size()};
}

// Whether an element name is `lowerName` (lower-case ASCII) with "A" to "Z" folded.
bool IsFieldName(std::u16string_view name, std::u16string_view lowerName) {
  return name.size() == lowerName.size() && zx::MatchesLowerAscii(name.data(), lowerName.data(), name.size());
}

// Whether two element names are the same without regard to case: ASCII letters are folded
// here, any other character by CString's own comparison.
bool SameLeafName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const WCHAR x = a[i], y = b[i];
    if (x == y) continue;
    if (x >= 0x80 || y >= 0x80)
      return CString(a.data(), static_cast<int>(a.size())).CompareNoCase(CString(b.data(), static_cast<int>(b.size()))) == 0;
    if (zx::LowerAscii(x) != zx::LowerAscii(y)) return false;
  }
  return true;
}

using AnswerMap = std::multimap<int, tagDriverUpdateInfo>;

// The fields of an answer record by element name (in lower case), in the order the service
// writes them; driverid has no text field.
struct Field {
  std::u16string_view name;
  CAnswerText tagDriverUpdateInfo::*text;
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

// The index of the field of a folded element name; kFieldCount for none.
std::size_t FindField(std::u16string_view folded) {
  std::size_t index = 0;
  while (index < kFieldCount && kFields[index].name != folded) ++index;
  return index;
}

using AnswerNode = AnswerMap::node_type;

// Records are made this many at a time, so that the records of one answer lie close together
// in memory, in the order they are filled.
constexpr int kRecordBatch = 64;

// Moves every record of the map into the pool, to be filled again in the map's order (the
// pool is taken from its back).
void PoolAnswerNodes(AnswerMap& answers, std::vector<AnswerNode>& pool) {
  pool.reserve(pool.size() + answers.size());
  while (!answers.empty()) pool.push_back(answers.extract(std::prev(answers.end())));
}

// A record for the next answer group, in a map node that belongs to no map: a record of the
// previous answer when one is left (its texts keep their room and their old contents, to be
// written over), else one of a new batch.
AnswerNode TakeAnswerNode(std::vector<AnswerNode>& pool) {
  if (pool.empty()) {
    // Each record is made in a map of its own, which gives it up at once: no tree is built
    // and taken apart again. The first made goes to the pool's back.
    AnswerMap maker;
    pool.resize(kRecordBatch);
    for (auto record = pool.rbegin(); record != pool.rend(); ++record)
      *record = maker.extract(maker.emplace(std::piecewise_construct, std::forward_as_tuple(0), std::forward_as_tuple()));
  }
  AnswerNode node = std::move(pool.back());
  pool.pop_back();
  return node;
}

constexpr std::uint32_t FieldBit(std::size_t fieldIndex) { return std::uint32_t{1} << fieldIndex; }

// Empties, where they stand, the fields of a record not marked in `stored`; driverid is the
// number of the first field.
void EmptyFieldsOtherThan(tagDriverUpdateInfo& record, std::uint32_t stored) {
  // A group that wrote every field, as the service's groups do, leaves nothing to empty.
  if (stored == FieldBit(kFieldCount) - 1) return;
  if ((stored & FieldBit(0)) == 0) record.driverid = 0;
  for (std::size_t index = 1; index < kFieldCount; ++index)
    if ((stored & FieldBit(index)) == 0) (record.*kFields[index].text).Empty();
}

// Moves the complete groups into the answer map in driverid order, the groups of one driverid
// in their arrival order: each goes in at the map's end, with no search down the tree.
void FileAnswers(std::vector<AnswerNode>& arrived, AnswerMap& answers) {
  const auto byDriverid = [](const AnswerNode& a, const AnswerNode& b) { return a.key() < b.key(); };
  if (!std::is_sorted(arrived.begin(), arrived.end(), byDriverid))
    std::stable_sort(arrived.begin(), arrived.end(), byDriverid);
  for (AnswerNode& node : arrived) answers.insert(answers.end(), std::move(node));
  arrived.clear();
}

}  // namespace

// The parse looks for a stop request every so many elements, off the walk's own work.
constexpr int kElementsPerStopCheck = 64;

// The walk over the answer's elements without children, each handled unless the leaf just
// before had the same name; parents are passed over. The elements come from the parse of the
// answer's text as they end, in the document's order, so that no positions of the whole
// document are held beside its text and its records.
class CDriverScanUpdate::CAnswerLeafReader : public MarkupLeafSink {
 public:
  CAnswerLeafReader(CDriverScanUpdate& scan, CDriverInstallEngine& engine, std::u16string_view answer)
      : m_scan(scan), m_engine(engine), m_answer(answer) {}

  bool Stopped() const { return m_stopped; }

  bool Leaf(std::u16string_view name, const CMarkup::ElemPos& element) override {
    if (--m_untilStopCheck == 0) {
      m_untilStopCheck = kElementsPerStopCheck;
      if (m_scan.ParseStopped(m_engine)) {
        m_stopped = true;
        return false;
      }
    }
    // Every group of an answer repeats one order of elements: the leaf is first taken for the
    // field that came next last time. While the leaf before was read as a field, its name is
    // that field's: two fields never share a name, so comparing the fields says it.
    const std::size_t expected = m_scan.m_nNextField;
    if (IsFieldName(name, kFields[expected].name)) {
      const bool repeated =
          m_previousField < kFieldCount ? m_previousField == expected : SameLeafName(kFields[expected].name, m_previousLeaf);
      if (!repeated) {
        m_scan.StoreAnswerField(m_answer, element, expected);
        m_previousLeaf = kFields[expected].name;
        m_previousField = expected;
      }
    } else if (!SameLeafName(name, m_previousLeaf)) {
      m_scan.ParseDriverResult(m_answer, element, name);
      m_previousLeaf = name;
      m_previousField = kFieldCount;
    }
    return true;
  }

 private:
  CDriverScanUpdate& m_scan;
  CDriverInstallEngine& m_engine;
  std::u16string_view m_answer;
  int m_untilStopCheck = 1;
  bool m_stopped = false;
  std::u16string_view m_previousLeaf;  // in the answer's text, or a field's name
  std::size_t m_previousField = kFieldCount;
};

bool CDriverScanUpdate::ParseUpdateResults(CMarkup& document, CString answer) {
  CDriverInstallEngine& engine = GetProcessEngine();
  CDriverInstallEngine::COperation parsing(engine);
  // The records of the previous answer are taken up again by this one.
  m_answerDriverIds.clear();
  PoolAnswerNodes(m_answerMap, m_spareAnswers);
  m_arrivedAnswers.clear();
  m_nNextField = 0;
  if (m_workingAnswer.empty()) m_workingAnswer = TakeAnswerNode(m_spareAnswers);
  // The working record's texts go with the previous answer's: none of them is kept.
  m_workingAnswer.mapped().Reset();
  m_answerTexts.Reuse();
  m_storedFields = 0;
  // The answer is read from its own text, which goes once it is read: the document is only
  // emptied, as a document of the whole answer would hold every element's positions.
  document.SetDocumentText(_T(""));
  CAnswerLeafReader reader(*this, engine, View(answer));
  CString error;
  if (ReadMarkupLeaves(View(answer), reader, error) <= 0 && !reader.Stopped()) {
    // A damaged answer has no elements: what its first elements gave goes.
    m_arrivedAnswers.clear();
    m_answerDriverIds.clear();
    m_storedFields = 0;
  }
  FileAnswers(m_arrivedAnswers, m_answerMap);
  // The records left over go; the pool's own room stays for the next answer's records.
  m_spareAnswers.clear();
  MatchUpdatesToDevices();
  return !reader.Stopped();
}

bool CDriverScanUpdate::ParseStopped(CDriverInstallEngine& engine) {
  if (m_parseWatch) m_parseWatch();
  if (engine.GetStepCode() != kStepStopScan) return false;
  // Nothing read so far is kept.
  m_arrivedAnswers.clear();
  m_answerDriverIds.clear();
  engine.AcknowledgeStep();
  return true;
}

void CDriverScanUpdate::ParseDriverResult(std::u16string_view answer, const CMarkup::ElemPos& element,
                                          std::u16string_view tagName) {
  WCHAR buffer[kLongestFieldName];
  const std::size_t field = FindField(FoldFieldName(tagName, buffer));
  if (field < kFieldCount) StoreAnswerField(answer, element, field);  // else not an answer element
}

void CDriverScanUpdate::StoreAnswerField(std::u16string_view answer, const CMarkup::ElemPos& element,
                                         std::size_t fieldIndex) {
  const Field* const field = &kFields[fieldIndex];
  m_nNextField = fieldIndex + 1 < kFieldCount ? fieldIndex + 1 : 0;
  m_storedFields |= FieldBit(fieldIndex);
  tagDriverUpdateInfo& record = m_workingAnswer.mapped();
  const std::u16string_view text = TrimmedView(ReadMarkupLeafView(answer, element, m_strFieldText));
  if (field->text != nullptr) record.*field->text = m_answerTexts.Add(text);
  if (field->text == nullptr) {
    record.driverid = LeadingNumber(text);
    // Answers usually list their driverids in rising order, one after another for the records
    // of a device: the end of the set is looked at first.
    if (m_answerDriverIds.empty() || *m_answerDriverIds.rbegin() < record.driverid) {
      m_answerDriverIds.emplace_hint(m_answerDriverIds.end(), record.driverid);
    } else if (*m_answerDriverIds.rbegin() != record.driverid) {
      m_answerDriverIds.insert(record.driverid);
    }
    return;
  }
  if (field->text == &tagDriverUpdateInfo::signer) {
    // The group is complete: what it did not write is empty.
    EmptyFieldsOtherThan(record, m_storedFields);
    m_workingAnswer.key() = record.driverid;
    m_arrivedAnswers.push_back(std::move(m_workingAnswer));
    m_workingAnswer = TakeAnswerNode(m_spareAnswers);
    m_storedFields = 0;
  }
}

void tagDriverUpdateInfo::Reset() {
  // Each text is emptied where it stands and keeps its room for the next record.
  EmptyFieldsOtherThan(*this, 0);
}
