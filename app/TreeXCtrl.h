// CTreeXCtrl: the main program's tree with a three-state check box before every item. Checking
// a parent checks its whole branch; a parent shows a partly checked box while only some of its
// children are checked; disabled items keep their state. After every toggle by the user the
// parent window hears whether any and whether all items are checked (WM_USER + 4), and the
// wizard page that uses the tree updates its state.
#pragma once
#include <afxcmn.h>

#include <vector>

// The wizard page that lists drivers in the tree while it is active (backup or restore).
class CTreeXCtrlOwner {
 public:
  // A driver item's icon or label was clicked.
  virtual void OnTreeDriverClicked(HTREEITEM hItem) = 0;
  // A check box changed; the page updates its branch-checked state.
  virtual void UpdateBranchChecked() = 0;

 protected:
  ~CTreeXCtrlOwner() = default;
};

class CTreeXCtrl : public CTreeCtrl {
  DECLARE_DYNAMIC(CTreeXCtrl)

 public:
  // Check states: the state image index of an item.
  static constexpr int kNoCheckBox = 0;
  static constexpr int kUnchecked = 1;
  static constexpr int kChecked = 2;
  static constexpr int kPartlyChecked = 3;
  static constexpr int kDisabled = 4;
  // Item data of an item that is no driver (a category).
  static constexpr DWORD_PTR kCategoryData = static_cast<DWORD_PTR>(-1);
  // Sent to the parent after every toggle by the user: wParam AnyItemChecked, lParam
  // AllItemsChecked.
  static constexpr UINT kCheckChangedMessage = WM_USER + 4;
  static constexpr UINT kCheckImagesBitmap = 5147;

  CTreeXCtrl();
  ~CTreeXCtrl() override;

  // Loads the five-state pictures (bitmap 5147, 15 x 16 each) as the state image list;
  // FALSE when the bitmap does not load.
  BOOL CreateCheckImages();

  // The item's check state (kNoCheckBox for no item).
  int GetCheckState(HTREEITEM hItem) const;
  BOOL IsItemChecked(HTREEITEM hItem) const { return GetCheckState(hItem) == kChecked; }
  BOOL IsItemDisabled(HTREEITEM hItem) const { return GetCheckState(hItem) == kDisabled; }
  // Checked or unchecked; or any state from 0 to 4 (others are refused).
  BOOL SetCheckState(HTREEITEM hItem, BOOL bChecked);
  BOOL SetCheckStateIndex(HTREEITEM hItem, int nState);

  BOOL AnyItemChecked() const;
  BOOL AllItemsChecked() const;
  // The wizards' two-level trees (class groups with their drivers): every group and driver
  // takes the state, groups expanded; and the checked drivers.
  void CheckAllDrivers(BOOL bChecked);
  std::vector<HTREEITEM> GetCheckedDrivers() const;

  // The wizard page active over the tree (null: none).
  void SetOwnerPage(CTreeXCtrlOwner* pOwner) { m_pOwner = pOwner; }

 protected:
  // Toggles the item's check box as a click on it or Space does.
  void ToggleItem(HTREEITEM hItem);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

  // Every descendant that is not disabled takes the state.
  void SetBranch(HTREEITEM hItem, int nState);
  // The item's state from its direct children.
  void Recompute(HTREEITEM hItem);

  CImageList m_checkImages;
  CTreeXCtrlOwner* m_pOwner = nullptr;

  DECLARE_MESSAGE_MAP()
};
