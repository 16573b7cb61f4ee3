// CDlgSetting3Loc: the settings group's folders page, with the download and backup folders.
// The main window holds the folders in use and their defaults and lends its folder picker;
// the page reaches them through CSettingsFolderHost.
#pragma once
#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"

// What the folders page needs of the main window.
class CSettingsFolderHost {
 public:
  enum Kind { kDownload = 0, kBackup = 1 };
  virtual ~CSettingsFolderHost() = default;
  virtual CString GetCurrentFolder(Kind kind) const = 0;
  virtual void SetCurrentFolder(Kind kind, const CString& folder) = 0;
  virtual CString GetDefaultFolder(Kind kind) const = 0;
  // The program's base folder, parent of the working folders.
  virtual CString GetBaseFolder() const = 0;
  // The main program's folder picker opened at `start`; empty when nothing was chosen.
  virtual CString BrowseForFolder(CWnd* owner, const CString& start) = 0;
};

class CDlgSetting3Loc : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgSetting3Loc)

 public:
  static constexpr UINT kTemplateId = 5145;
  static constexpr UINT kApplyId = 5185;
  static constexpr UINT kDefaultsId = 5189;
  static constexpr UINT kDownloadEditId = 5232;
  static constexpr UINT kBrowseDownloadId = 5233;  // IDC_BTN_BROWSE_DOWNLOAD
  static constexpr UINT kBackupEditId = 5234;
  static constexpr UINT kBrowseBackupId = 5235;  // IDC_BTN_BROWSE_BACKUP

  explicit CDlgSetting3Loc(CSettingsFolderHost& host, CWnd* pParent = nullptr);
  ~CDlgSetting3Loc() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnApply();
  afx_msg void OnDefaults();
  afx_msg void OnBrowseDownload();
  afx_msg void OnBrowseBackup();
  afx_msg void OnFolderEdited();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);

 public:
  // Whether a new folder can be made inside the chosen folder: a probe folder named after the
  // word ("Download", "Backup") is made there and removed again at once.
  static bool CanWriteInto(const CString& folder, LPCTSTR word);

 private:
  void ReadStored();
  void UpdateDefaults();
  void Browse(CSettingsFolderHost::Kind kind);
  CString StartFolder(CSettingsFolderHost::Kind kind);

  CSettingsFolderHost& m_host;
  CHoverButtonWithText m_btnApply;
  CHoverButtonWithText m_btnDefaults;
  CHoverButtonWithText m_btnBrowse[2];
  CString m_strStored[2];  // "Download Path" and "Backup Path" as stored

  DECLARE_MESSAGE_MAP()
};
