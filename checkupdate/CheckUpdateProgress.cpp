// The update checker's progress arithmetic and texts.
#include "CheckUpdateProgress.h"

#include "CheckedFormat.h"

namespace {

constexpr LONGLONG kKilobyte = 1024;
constexpr LONGLONG kMegabyte = 1048576;
constexpr LONGLONG kGigabyte = 1073741824;
constexpr int kLongestLine = 33;
constexpr int kCutLine = 30;

}  // namespace

int OverallProgressPercent(int itemsDone, int itemsToFetch, int percent) {
  const int share = 100 / (itemsToFetch > 0 ? itemsToFetch : 1);
  return itemsDone * share + percent * share / 100;
}

CString SizeText(LONGLONG amount, const std::function<CString(LPCTSTR)>& text) {
  CString result;
  if (amount <= 0) return result;
  LPCTSTR id = nullptr;
  LONGLONG units = amount;
  if (amount > kGigabyte) {
    id = _T("IDS_PHY_MEM_GB_1");
    units = amount / kGigabyte;
  } else if (amount > kMegabyte) {
    id = _T("IDS_PHY_MEM_MB_1");
    units = amount / kMegabyte;
  } else if (amount > kKilobyte) {
    id = _T("IDS_PHY_MEM_KB_1");
    units = amount / kKilobyte;
  }
  // A count of bytes is a whole number: it is written as one.
  if (id == nullptr || !FormatChecked(result, text(id), {static_cast<int>(units)})) result.Format(_T("%d"), static_cast<int>(units));
  return result;
}

CString ShortenProgressLine(const CString& line) {
  if (line.GetLength() <= kLongestLine) return line;
  return line.Left(kCutLine) + _T("...");
}
