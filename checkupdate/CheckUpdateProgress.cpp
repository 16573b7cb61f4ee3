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
  struct Unit {
    LONGLONG size;
    LPCTSTR id;
  };
  constexpr Unit kUnits[] = {{kGigabyte, _T("IDS_PHY_MEM_GB_1")},
                             {kMegabyte, _T("IDS_PHY_MEM_MB_1")},
                             {kKilobyte, _T("IDS_PHY_MEM_KB_1")}};
  for (const Unit& unit : kUnits) {
    if (amount <= unit.size) continue;
    // A unit's text shows the amount with its fraction ("%.2f") or in whole units ("%d").
    const CString format = text(unit.id);
    if (FormatChecked(result, format, {static_cast<double>(amount) / static_cast<double>(unit.size)}) ||
        FormatChecked(result, format, {static_cast<int>(amount / unit.size)}))
      return result;
    result.Format(_T("%d"), static_cast<int>(amount / unit.size));
    return result;
  }
  // A count of bytes is a whole number: it is written as one.
  result.Format(_T("%d"), static_cast<int>(amount));
  return result;
}

CString ShortenProgressLine(const CString& line) {
  if (line.GetLength() <= kLongestLine) return line;
  return line.Left(kCutLine) + _T("...");
}
