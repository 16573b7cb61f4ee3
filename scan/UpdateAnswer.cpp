// Reading the update service's answer: its elements walked depth first into answer records.
#include "UpdateAnswer.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "TextViews.h"
#include "zx/casefold.h"

namespace {

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

bool CDriverScanUpdate::ParseUpdateResults(CMarkup& document, CString answer) {
  CDriverInstallEngine& engine = GetProcessEngine();
  CDriverInstallEngine::COperation parsing(engine);
  bool stopped = false;
  int untilStopCheck = 1;
  // The records of the previous answer are taken up again by this one.
  m_answerDriverIds.clear();
  PoolAnswerNodes(m_answerMap, m_spareAnswers);
  m_arrivedAnswers.clear();
  m_nNextField = 0;
  if (m_workingAnswer.empty()) m_workingAnswer = TakeAnswerNode(m_spareAnswers);
  m_storedFields = 0;
  document.SetDocumentText(_T(""));
  document.SetDocumentText(std::move(answer));

  // Depth first over the elements without children, each handled unless the leaf just before
  // had the same name; parents are passed over. While the leaf before was read as a field,
  // its name is that field's: two fields never share a name, so comparing the fields says it.
  std::u16string_view previousLeaf;
  std::size_t previousField = kFieldCount;
  while (document.NextLeafElement()) {
    if (--untilStopCheck == 0) {
      untilStopCheck = kElementsPerStopCheck;
      if (ParseStopped(engine)) {
        stopped = true;
        break;
      }
    }
    // Every group of an answer repeats one order of elements: the leaf is first taken for the
    // field that came next last time, which needs no search for the end of its name. Names
    // are read where they stand in the document, which the walk leaves unchanged.
    const std::size_t expected = m_nNextField;
    if (document.ElementNameIs(kFields[expected].name)) {
      const bool repeated =
          previousField < kFieldCount ? previousField == expected : SameLeafName(kFields[expected].name, previousLeaf);
      if (!repeated) {
        StoreAnswerField(document, expected);
        previousLeaf = kFields[expected].name;
        previousField = expected;
      }
    } else {
      const std::u16string_view leaf = document.GetElementNameView();
      if (!SameLeafName(leaf, previousLeaf)) {
        ParseDriverResult(document, leaf);
        previousLeaf = leaf;
        previousField = kFieldCount;
      }
    }
  }
  FileAnswers(m_arrivedAnswers, m_answerMap);
  // The records left over go; the pool's own room stays for the next answer's records.
  m_spareAnswers.clear();
  MatchUpdatesToDevices();
  return !stopped;
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

void CDriverScanUpdate::ParseDriverResult(CMarkup& document, std::u16string_view tagName) {
  WCHAR buffer[kLongestFieldName];
  const std::size_t field = FindField(FoldFieldName(tagName, buffer));
  if (field < kFieldCount) StoreAnswerField(document, field);  // else not an answer element
}

void CDriverScanUpdate::StoreAnswerField(CMarkup& document, std::size_t fieldIndex) {
  const Field* const field = &kFields[fieldIndex];
  m_nNextField = fieldIndex + 1 < kFieldCount ? fieldIndex + 1 : 0;
  m_storedFields |= FieldBit(fieldIndex);
  tagDriverUpdateInfo& record = m_workingAnswer.mapped();
  CString& text = field->text != nullptr ? record.*field->text : m_strDriverIdText;
  document.GetElementText(text);
  // Most data has no blanks around it and needs no trimming.
  if (!text.IsEmpty() && (IsTrimmedBlank(text.GetString()[0]) || IsTrimmedBlank(text.GetString()[text.GetLength() - 1])))
    text.Trim();
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
