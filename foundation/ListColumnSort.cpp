// The process-wide column and direction of the last column sort, and the sort itself
// through the shared list sorter.
#include "ListColumnSort.h"

#include <mutex>

#include "ListSortClass.h"

namespace {

struct LastColumnSort {
  std::mutex lock;
  bool any = false;
  int column = 0;
  bool ascending = true;
};

LastColumnSort& Last() {
  static LastColumnSort last;
  return last;
}

}  // namespace

int SortListByColumn(CListCtrl* pList, int nColumn, int nSortType) {
  if (pList == nullptr || pList->GetSafeHwnd() == nullptr) return 0;
  bool ascending = true;
  {
    LastColumnSort& last = Last();
    std::lock_guard<std::mutex> hold(last.lock);
    if (last.any && last.column == nColumn) ascending = !last.ascending;
    last.any = true;
    last.column = nColumn;
    last.ascending = ascending;
  }
  CListSortClass sorter(pList, nColumn);
  return sorter.Sort(ascending ? TRUE : FALSE, nSortType) ? 1 : 0;
}
