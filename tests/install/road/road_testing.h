// The install road's tests: the test machine, a results list that only counts, the tool
// folders of the machine, and the scan and update lookup that finds the catalogue's drivers.
#pragma once
#include <afx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "DriverScanUpdate.h"
#include "ExclusionList.h"
#include "road_machine.h"

namespace zx::test::road {

// A results list that keeps only its item count.
class CountingList : public IResultListView {
 public:
  bool HasWindow() const override { return true; }
  void DeleteAllItems() override { count = 0; }
  int GetItemCount() const override { return count; }
  int InsertItem(int item, int) override { return ++count, std::min(item, count - 1); }
  void SetItemDetails(int, const CString&, int, int, const CString&, const CString&, const CString&) override {}
  void SetItemData(int, DWORD_PTR) override {}
  void SetCheck(int, BOOL) override {}
  void SelectSingleItem(int) override {}
  void Repaint() override {}
  int count = 0;
};

// The per-system tool folders, the 64-bit Windows 7 one (the test machine's) holding the tools.
tagOsFolders Win7x64Tools();
// Scans and looks up, the record of installed updates (when given) hiding what it holds; the
// device index of each catalogue driver offered (-1 when not).
void ScanAndLookUp(std::unique_ptr<CDriverScanUpdate>& engine, int (&index)[3],
                   const CExclusionList* installed = nullptr);

}  // namespace zx::test::road
