// Matching the answer records to the scanned devices: the candidate ids of each device, the
// version and id tests, the update record, its rank, and whether the update counts as found.
// Every driverid of the answer is checked against the scanned devices before it is used.
#include <algorithm>
#include <string_view>
#include <vector>

#include <zx/casefold.h>

#include "DriverScanUpdate.h"
#include "ExclusionList.h"
#include "LoweredText.h"
#include "NumberText.h"
#include "TextViews.h"

namespace {

// Whether the text in lower case is `lower`, unit by unit.
bool LowersTo(std::u16string_view text, std::u16string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (CLoweredText::Lower(text[i]) != lower[i]) return false;
  return true;
}

bool IsDigit(WCHAR c) { return c >= '0' && c <= '9'; }

// Leading decimal digits from `i` on, stopping at the 32-bit maximum; 0 without any.
unsigned long long DigitsFrom(std::u16string_view text, std::size_t i) {
  unsigned long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    value = std::min<unsigned long long>(value * 10 + static_cast<unsigned>(text[i] - '0'), 0xFFFFFFFFull);
  return value;
}

std::size_t SkipBlanks(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

// Leading decimal digits as an unsigned number (stopping at the 32-bit maximum); 0 without any.
DWORD UnsignedNumber(std::u16string_view text) {
  std::size_t i = SkipBlanks(text);
  if (i < text.size() && text[i] == '+') ++i;
  return static_cast<DWORD>(DigitsFrom(text, i));
}

// Leading decimal digits after an optional sign as a 32-bit signed number, held to its range.
int SignedNumber(std::u16string_view text) {
  std::size_t i = SkipBlanks(text);
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  const long long magnitude = static_cast<long long>(DigitsFrom(text, i));
  const long long value = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

// The "."-separated parts of a version text, read one by one as numbers; past the last part
// each further part reads as 0.
class VersionReader {
 public:
  explicit VersionReader(std::u16string_view text) : text_(text) {}
  bool AtEnd() const { return position_ > text_.size(); }
  long long Next() {
    if (AtEnd()) return 0;
    std::size_t end = text_.find(u'.', position_);
    if (end == std::u16string_view::npos) end = text_.size();
    const long long value = SignedNumber(text_.substr(position_, end - position_));
    position_ = end + 1;
    return value;
  }

 private:
  std::u16string_view text_;
  std::size_t position_ = 0;
};

// A device's installed version, read once for all the records it is compared with: its parts,
// and whether it begins with the running Windows' major, minor and build number (a driver
// that carries the system's own version is always older than an offered one).
class InstalledVersion {
 public:
  InstalledVersion(std::u16string_view text, const long long (&osParts)[3]) {
    VersionReader reader(text);
    while (!reader.AtEnd()) m_parts.push_back(reader.Next());
    m_isOsVersion = m_parts.size() >= 3 && std::equal(osParts, osParts + 3, m_parts.begin());
  }
  // Whether the offered version is newer: the first part that differs decides. By the
  // system's rule a driver carrying the system's own version is older than any offered one.
  bool OlderThan(std::u16string_view offeredVersion, bool systemRule = true) const {
    if (systemRule && m_isOsVersion) return true;
    VersionReader offered(offeredVersion);
    for (std::size_t i = 0; !offered.AtEnd(); ++i) {
      const long long part = offered.Next();
      const long long installed = i < m_parts.size() ? m_parts[i] : 0;
      if (part != installed) return part > installed;
    }
    return false;
  }

 private:
  std::vector<long long> m_parts;
  bool m_isOsVersion = false;
};

}  // namespace

bool CDriverScanUpdate::FindIdInList(const CStringArray& list, const CString& id, INT_PTR& position) {
  // Case is folded unit by unit, so only texts of the same length can be equal.
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    const CString& entry = list[i];
    if (entry.GetLength() == id.GetLength() &&
        zx::CompareNoCase(entry.GetString(), entry.GetLength(), id.GetString(), id.GetLength()) == 0) {
      position = i;
      return true;
    }
  }
  return false;
}

DWORD CDriverScanUpdate::ParseFeatureScore(const CString& text) {
  CString score = text;
  score.Replace(_T("0x"), _T(""));
  if (score.CompareNoCase(_T("GG")) == 0) return 0xFF0000;
  if (score.GetLength() >= 3) return 0xFF0000;
  DWORD value = 0;
  for (int i = 0; i < score.GetLength(); ++i) {
    const WCHAR c = score[i];
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) break;
    value = value * 16 + static_cast<DWORD>(digit);
  }
  return value < 0x100 ? value << 16 : 0xFF0000;
}

const tagDeviceDriverInfo* CDriverScanUpdate::GetUpdateRecord(int deviceIndex) const {
  const CDeviceRecordArray* block = UpdateBlock();
  return block != nullptr ? block->GetAt(deviceIndex) : nullptr;
}

CDeviceRecordArray* CDriverScanUpdate::UpdateBlock() const {
  tagDeviceDriverInfo* first = m_pDevices ? m_pDevices->GetAt(0) : nullptr;
  return first != nullptr ? first->pLinked.get() : nullptr;
}

DWORD CDriverScanUpdate::ComputeUpdateRank(int deviceIndex, const CString& matchedId, const CString& compatibleIdIdx,
                                           const CString& featureScore) const {
  const tagDeviceDriverInfo* device = m_pDevices ? m_pDevices->GetAt(deviceIndex) : nullptr;
  const tagDeviceDriverInfo* update = GetUpdateRecord(deviceIndex);
  if (device == nullptr || update == nullptr) return 0;
  const DWORD k = UnsignedNumber(View(compatibleIdIdx));
  DWORD identifier = 0;
  INT_PTR position = 0;
  if (FindIdInList(device->arrAllHardwareIds, matchedId, position)) {
    identifier = static_cast<DWORD>(position) + (k != 0 ? 0x1000 : 0);
  } else if (FindIdInList(device->arrAllCompatibleIds, matchedId, position)) {
    identifier = k == 0 ? 0x2000 + static_cast<DWORD>(position) : 0x3000 + (k - 1) * 0x100 + static_cast<DWORD>(position);
  }
  const DWORD signature = SignedNumber(update->szText[kSlotSigner].Text()) > 0 ? 0 : 0x80000000u;
  DWORD rank = identifier + signature;
  if (m_dwOsMajor > 5) rank += ParseFeatureScore(featureScore);
  return rank;
}

void CDriverScanUpdate::BuildCandidateIds(const tagDeviceDriverInfo& device, CString& text) const {
  const std::u16string_view idList(device.szText[kSlotMatchingIdList].Text());
  const std::size_t bar = idList.find(u'|');
  const std::u16string_view firstOfList = bar != std::u16string_view::npos ? idList.substr(0, bar) : std::u16string_view();
  text.Empty();
  const auto append = [&text](std::u16string_view piece) { text.Append(piece.data(), static_cast<int>(piece.size())); };
  const std::u16string_view hardwareId(device.szText[kSlotHardwareId].Text());
  if (!hardwareId.empty()) {
    append(TrimmedView(hardwareId));
    const CLoweredText lower(hardwareId);
    const std::u16string_view lowered = lower.View();
    const std::size_t revision = lowered.find(u"&rev_");
    text.AppendChar(_T('|'));
    if (revision != std::u16string_view::npos) append(lowered.substr(0, revision));
    const std::size_t subsystem = lowered.find(u"&subsys_");
    const std::u16string_view withoutSubsystem =
        subsystem != std::u16string_view::npos ? lowered.substr(0, subsystem) : std::u16string_view();
    if (zx::CompareNoCase(withoutSubsystem.data(), withoutSubsystem.size(), firstOfList.data(), firstOfList.size()) != 0) {
      text.AppendChar(_T('|'));
      append(withoutSubsystem);
    }
  }
  if (idList.size() > 1 && idList.find(u'|', 1) != std::u16string_view::npos) {
    const std::u16string_view first = TrimmedView(firstOfList);
    if (!m_scanner.TestIdentifier(first)) {
      text.AppendChar(_T('|'));
      append(first);
    }
  }
  text.AppendChar(_T('|'));
  append(TrimmedView(bar != std::u16string_view::npos ? idList.substr(bar + 1) : idList));
}

bool CDriverScanUpdate::IsFound(const tagDeviceDriverInfo& device, const tagDeviceDriverInfo& update,
                                std::u16string_view piece, bool installedIsOlder) const {
  if (m_scanner.TestIdentifier(piece)) return false;
  if (device.nDriverRank == 0) return false;
  if (static_cast<DWORD>(device.nDriverRank) < static_cast<DWORD>(update.nDriverRank)) return false;
  // The record of installed updates hides an update only while the device still holds it:
  // a device whose driver is older (the install failed, or the old driver was put back) is
  // offered the update again.
  if (installedIsOlder || m_pInstalled == nullptr || m_pInstalled->GetCount() == 0) return true;
  ExclusionEntry installed;
  installed.szText[ExclusionEntry::kHardwareId] = device.szText[kSlotHardwareId].Text();
  installed.szText[ExclusionEntry::kMd5] = update.szText[kSlotUpdate13].Text();
  installed.szText[ExclusionEntry::kInfPath] = NormalizeInfPath(update.szText[kSlotUpdate12].Text());
  return !m_pInstalled->Contains(installed);
}

void CDriverScanUpdate::MatchDevice(int deviceIndex, const tagDeviceDriverInfo& device, tagDeviceDriverInfo& update) {
  // What every record is compared with, worked out once per device. A record must pass both
  // the id test and the version test; the id test is the cheaper and comes first. The first
  // record that passes both is the update.
  const long long osParts[] = {m_dwOsMajor, m_dwOsMinor, m_dwOsBuild};
  const InstalledVersion installed(device.szText[kSlotDriverVersion].Text(), osParts);
  BuildCandidateIds(device, m_strCandidateIds);
  const std::u16string_view pieces = View(m_strCandidateIds);
  std::size_t position = 0;
  // The candidate text is split as it stands, however long.
  while (position <= pieces.size()) {
    std::size_t end = pieces.find(u'|', position);
    if (end == std::u16string_view::npos) end = pieces.size();
    const std::u16string_view piece = pieces.substr(position, end - position);
    position = end + 1;
    if (piece.empty()) continue;
    const CLoweredText lowered(piece);
    for (const tagDriverUpdateInfo* record : m_deviceAnswers) {
      const tagDriverUpdateInfo& answer = *record;
      if (!LowersTo(View(answer.hardwareidentifier), lowered.View())) continue;
      if (!installed.OlderThan(View(answer.version))) continue;
      TakeUpdate(deviceIndex, device, answer, lowered.View(), update);
      if (IsFound(device, update, piece, installed.OlderThan(View(answer.version), false))) {
        m_updatedDevices.insert(m_updatedDevices.end(), deviceIndex);
        ++m_nUpdatesFound;
      }
      return;
    }
  }
}

void CDriverScanUpdate::TakeUpdate(int deviceIndex, const tagDeviceDriverInfo& device, const tagDriverUpdateInfo& answer,
                                   std::u16string_view matchedId, tagDeviceDriverInfo& update) {
  CString& lowerPiece = m_strPiece;
  lowerPiece.SetString(matchedId.data(), static_cast<int>(matchedId.size()));
  update.szText[kSlotHardwareId].Set(lowerPiece);
  update.szText[kSlotUpdate14].Set(answer.hardwareid.GetString());
  update.szText[kSlotDriverDate].Set(answer.infdate.GetString());
  update.szText[kSlotUpdate12].Set(answer.infpath.GetString());
  update.szText[kSlotDriverVersion].Set(answer.version.GetString());
  update.szText[kSlotUpdate13].Set(answer.md5.GetString());
  update.szText[kSlotSpare].Set(answer.liburl.GetString());
  update.szText[kSlotSigner].Set(answer.signer.GetString());
  update.szText[kSlotClassName].Set(device.szText[kSlotClassName].Text());
  update.nValues[1] = SignedNumber(View(answer.isSpecificCase)) == 1 ? 1 : 0;
  update.nValues[2] = answer.isInstall.IsEmpty() || SignedNumber(View(answer.isInstall)) == 1 ? 1 : 0;
  const long long downloadId = SignedNumber(View(answer.downloadid));
  update.nValues[3] = static_cast<int>(static_cast<unsigned long long>(downloadId) & 0xFFFFFFFFu);
  update.nValues[4] = static_cast<int>(static_cast<unsigned long long>(downloadId) >> 32);
  const int severity = SignedNumber(View(answer.severity));
  update.nValues[5] = severity >= 1 && severity <= 4 ? severity : 4;
  update.nValues[6] = SignedNumber(View(answer.riskLevel));
  update.nDriverRank =
      static_cast<int>(ComputeUpdateRank(deviceIndex, lowerPiece, answer.CompatibleIdIdx.Text(), answer.featurescore.Text()));
  update.szExtraText.Set(answer.featurescore.GetString());
  update.nExtraNumber = static_cast<int>(UnsignedNumber(View(answer.featurescore)));
}

void CDriverScanUpdate::MatchUpdatesToDevices() {
  m_updatedDevices.clear();
  m_arrResultKeys.RemoveAll();
  m_nUpdatesFound = 0;
  m_nSkippedAnswers = 0;
  tagDeviceDriverInfo* first = m_pDevices ? m_pDevices->GetAt(0) : nullptr;
  if (first == nullptr || m_nDeviceCount <= 0) {
    m_nSkippedAnswers = static_cast<int>(m_answerMap.size());
    return;
  }
  // One fresh update record per scanned device, and never fewer than the block the engine
  // started with. A block of that size is renewed where it is; another is freed first, so
  // that the new one takes up its memory.
  const int blockSize = std::max(m_nDeviceCount, kUpdateBlockSize);
  std::unique_ptr<CDeviceRecordArray>& linked = first->pLinked;
  if (linked && linked->GetSize() == blockSize) {
    linked->Renew();
  } else {
    linked.reset();
    linked = std::make_unique<CDeviceRecordArray>(blockSize);
  }
  CDeviceRecordArray& block = *linked;

  // Both the driverids and the records are in driverid order: one walk over the records hands
  // each device its own.
  auto records = m_answerMap.cbegin();
  for (const int deviceIndex : m_answerDriverIds) {
    while (records != m_answerMap.cend() && records->first < deviceIndex) ++records;
    m_deviceAnswers.clear();
    for (; records != m_answerMap.cend() && records->first == deviceIndex; ++records)
      m_deviceAnswers.push_back(&records->second);
    const tagDeviceDriverInfo* device = deviceIndex < m_nDeviceCount ? m_pDevices->GetAt(deviceIndex) : nullptr;
    tagDeviceDriverInfo* update = block.GetAt(deviceIndex);
    if (device == nullptr || update == nullptr) {
      m_nSkippedAnswers += static_cast<int>(m_deviceAnswers.size());
      continue;
    }
    MatchDevice(deviceIndex, *device, *update);
  }

  // Sorted without regard to case, keys that compare equal keeping their order: the order the
  // array's own neighbour-swap sort gives, in n log n. Each key is compared in its case-folded
  // form, made once.
  std::vector<CString> keys;
  keys.reserve(m_updatedDevices.size());
  for (const int deviceIndex : m_updatedDevices) {
    const tagDeviceDriverInfo& device = *m_pDevices->GetAt(deviceIndex);
    const std::u16string_view className(device.szText[kSlotClassName].Text());
    const std::u16string_view deviceName(device.szText[kSlotDeviceName].Text());
    const CNumberText numberText(deviceIndex);
    const std::u16string_view number = numberText.View();
    CString& key = keys.emplace_back();
    key.Preallocate(static_cast<int>(className.size() + deviceName.size() + number.size()) + 2);
    for (const std::u16string_view part : {className, std::u16string_view(u"|"), deviceName, std::u16string_view(u"|"), number})
      key.Append(part.data(), static_cast<int>(part.size()));
  }
  std::vector<std::pair<std::u16string, const CString*>> folded;
  folded.reserve(keys.size());
  for (const CString& key : keys) {
    std::u16string& text = folded.emplace_back(View(key), &key).first;
    for (char16_t& unit : text) unit = zx::FoldCase(unit);
  }
  std::stable_sort(folded.begin(), folded.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& entry : folded) m_arrResultKeys.Add(*entry.second);
}
