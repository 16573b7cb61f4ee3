// The update checker window's stage pages: each stage's texts, buttons and controls, the clips
// of the working stages, and the update list's rows with their states.
#include "CheckedFormat.h"
#include "DlgCheckForUpdate.h"

void CDlgCheckForUpdate::PlayClip(CAnimateCtrl& control, UINT id) {
  const LPCTSTR name = MAKEINTRESOURCEW(id);
  control.SendMessage(ACM_OPENW, reinterpret_cast<WPARAM>(AfxFindResourceHandle(name, u"AVI")),
                      reinterpret_cast<LPARAM>(name));
  control.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
  control.ShowWindow(SW_SHOW);
}

void CDlgCheckForUpdate::SetItemText(int id, LPCTSTR stringId) {
  // Without its language text a control keeps the text of the template.
  const CString text = GetText(stringId);
  if (!text.IsEmpty()) SetDlgItemText(id, text);
}

void CDlgCheckForUpdate::ApplyStagePage() {
  struct Page {
    int stage;
    LPCTSTR heading;
    LPCTSTR description;
    LPCTSTR nextCaption;
    bool nextEnabled;
    bool list;
    bool progress;
  };
  static constexpr Page kPages[] = {
      {kStageLooking, _T("StepOneLookingForUpdatesTxt"), _T("CommonHeaderDesc"), _T("IDS_BTN_NEXT_TXT"), false, false, false},
      {kStageListed, _T("UpdateAvailableCommonHeaderTxt"), _T("IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA_ASK"),
       _T("IDS_BTN_NEXT_TXT"), true, true, false},
      {kStageDownloading, _T("DownloadingUpdatesTxt"), _T("IDS_DOWNLOADING_UPDATES_TO_APPDATA1"), _T("IDS_BTN_NEXT_TXT"),
       false, true, true},
      {kStageNoUpdate, _T("Step3NoUpdatesAvaiHeadingDescTxt"), _T("Step3NoUpdatesAvaiLstBoxTxt"), _T("IDS_BTN_FINISH_TXT"),
       true, false, false},
      {kStageReady, _T("Step5HeaderTxt"), _T("Step5HeaderTxt1"), _T("IDS_BTN_INSTALL_TXT"), true, true, false},
      {kStageFailed, _T("Step3UpdateCheckFailureTxt"), _T("Step4Failed"), _T("IDS_BTN_FINISH_TXT"), true, false, false},
      {kStageInstalling, _T("IDS_INSTALLING_UPDATES_TO_APPDATA"), _T("CommonHeaderUpdateDone"), _T("IDS_BTN_FINISH_TXT"),
       false, false, false},
  };
  const int stage = GetCurrentStage();
  for (const Page& page : kPages) {
    if (page.stage != stage) continue;
    SetItemText(5006, page.heading);
    SetItemText(5001, page.description);
    SetItemText(IDOK, page.nextCaption);
    GetDlgItem(IDOK)->EnableWindow(page.nextEnabled);
    // A failed download lists what failed; a failed check has no rows.
    const bool list = page.list || (stage == kStageFailed && m_list.GetItemCount() > 0);
    m_list.ShowWindow(list ? SW_SHOW : SW_HIDE);
    m_progress.ShowWindow(page.progress ? SW_SHOW : SW_HIDE);
    GetDlgItem(5002)->ShowWindow(page.progress ? SW_SHOW : SW_HIDE);
  }
  if (!m_bStopping.load()) {
    SetItemText(IDCANCEL, _T("IDS_BTN_CANCEL_TXT"));
    GetDlgItem(IDCANCEL)->EnableWindow(stage != kStageNoUpdate);
    GetDlgItem(IDCANCEL)->ShowWindow(stage == kStageNoUpdate ? SW_HIDE : SW_SHOW);
  }
  SetItemText(5, _T("IDS_BTN_HIDE_TXT"));
  SetItemText(3, _T("IDS_BTN_VIEWCHANGELOG_TXT"));
  m_animation.ShowWindow(stage == kStageLooking ? SW_SHOW : SW_HIDE);
  ShowStageClip(stage);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CDlgCheckForUpdate::ShowStageClip(int stage) {
  UINT clip = 0;
  if (stage == kStageDownloading) clip = kClipDownloading;
  else if (stage == kStageInstalling) clip = kClipInstalling;
  if (clip == m_nStageClip) return;
  m_nStageClip = clip;
  if (clip != 0) {
    PlayClip(m_stageAnimation, clip);
    return;
  }
  m_stageAnimation.Stop();
  m_stageAnimation.ShowWindow(SW_HIDE);
}
void CDlgCheckForUpdate::ShowCheckResults(int result, BOOL program, BOOL database) {
  RunOnWindowThread([&] {
    m_list.DeleteAllItems();
    if (result == 0) {
      SetStage(kStageFailed);
      return;
    }
    if (!program && !database) {
      SetStage(kStageNoUpdate);
      return;
    }
    const CDownloadInfo& info = m_engine->GetDownloadInfo();
    // Each row: its title, below it the update's description, its version and its kind.
    const auto addRow = [this](LPCTSTR heading, const CString& description, LPCTSTR format, const CString& version,
                               int kind) {
      const int row = m_list.GetItemCount();
      m_list.InsertItem(row, _T(""));
      m_list.SetItemDetails(row, GetText(heading));
      if (!description.IsEmpty()) m_list.SetItemText(row, m_list.GetDetailColumn(), description);
      CString versionText;
      if (!FormatChecked(versionText, GetText(format), {version})) versionText = version;
      m_list.SetItemText(row, 2, versionText);
      m_list.SetItemData(row, static_cast<DWORD_PTR>(kind));
      m_list.SetCheck(row, TRUE);
    };
    if (program)
      addRow(_T("IDS_APP_UPDATES_TXT"), info.m_strDescription, _T("AppVer"), info.m_strProgramVersion, kRowProgram);
    if (database) addRow(_T("IDS_DB_UPDATES_TXT"), CString(), _T("DatabaseVer"), CString(), kRowDatabase);
    SetStage(m_list.GetItemCount() > 0 ? kStageListed : kStageReady);
  });
}

void CDlgCheckForUpdate::SetRowState(int kind, LPCTSTR stringId) {
  const CString state = GetText(stringId);
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    // Only a chosen row has a state, and one that is already shown is not drawn again.
    if (m_list.GetItemData(row) != static_cast<DWORD_PTR>(kind) || !m_list.GetCheck(row)) continue;
    if (m_list.GetItemText(row, kStateColumn) != state) m_list.SetItemText(row, kStateColumn, state);
  }
}
