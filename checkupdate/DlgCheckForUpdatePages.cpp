// The update checker window's stage pages: each stage's texts, buttons and controls, the clips
// of the working stages, and the update list's rows with their states.
#include <fileapi.h>
#include <sysinfoapi.h>

#include <algorithm>

#include "CheckedFormat.h"
#include "DlgCheckForUpdate.h"
#include "GlobalUpdate.h"

namespace {
constexpr int kCaptionPadding = 16;  // room either side of a caption inside its button
}  // namespace

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

void CDlgCheckForUpdate::FitCaption(int id, int nextId) {
  CWnd* button = GetDlgItem(id);
  CWnd* next = GetDlgItem(nextId);
  if (button == nullptr || next == nullptr) return;
  CString caption;
  button->GetWindowText(caption);
  CClientDC dc(button);
  CFont* previous = dc.SelectObject(button->GetFont());
  const int wanted = dc.GetTextExtent(caption).cx + kCaptionPadding;
  dc.SelectObject(previous);
  CRect place, limit;
  button->GetWindowRect(&place);
  next->GetWindowRect(&limit);
  ScreenToClient(&place);
  ScreenToClient(&limit);
  const int width = std::min(wanted, static_cast<int>(limit.left - kCaptionPadding / 2 - place.left));
  if (width > place.Width()) button->SetWindowPos(nullptr, 0, 0, width, place.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CString CDlgCheckForUpdate::FormattedText(LPCTSTR stringId, std::initializer_list<tagFormatValue> values) {
  const CString format = GetText(stringId);
  CString text;
  return FormatChecked(text, format, values) ? text : format;
}

BOOL CDlgCheckForUpdate::HasRowOfKind(int kind) const {
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    if (m_list.GetItemData(row) == static_cast<DWORD_PTR>(kind)) return TRUE;
  return FALSE;
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
    LPCTSTR heading = page.heading;
    LPCTSTR description = page.description;
    // A new version of the program itself is the critical update; several rows ask about all.
    if (stage == kStageListed && HasRowOfKind(kRowProgram)) heading = _T("CriticalUpdateAvailableTxt");
    if (stage == kStageListed && m_list.GetItemCount() > 1) description = _T("IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA_ASK1");
    if (stage == kStageReady && m_bDownloadPage) description = _T("Step4Successded");
    SetItemText(5006, heading);
    SetItemText(5001, description);
    SetItemText(IDOK, page.nextCaption);
    GetDlgItem(IDOK)->EnableWindow(page.nextEnabled);
    // A failed download lists what failed; a failed check has no rows.
    const bool list = page.list || (stage == kStageFailed && m_list.GetItemCount() > 0);
    m_list.ShowWindow(list ? SW_SHOW : SW_HIDE);
    m_progress.ShowWindow(page.progress ? SW_SHOW : SW_HIDE);
    ShowStageLine(stage);
  }
  if (!m_bStopping.load()) {
    SetItemText(IDCANCEL, _T("IDS_BTN_CANCEL_TXT"));
    GetDlgItem(IDCANCEL)->EnableWindow(stage != kStageNoUpdate);
    GetDlgItem(IDCANCEL)->ShowWindow(stage == kStageNoUpdate ? SW_HIDE : SW_SHOW);
  }
  SetItemText(5, _T("IDS_BTN_HIDE_TXT"));
  SetItemText(3, _T("IDS_BTN_VIEWCHANGELOG_TXT"));
  FitCaption(3, 5);
  m_animation.ShowWindow(stage == kStageLooking ? SW_SHOW : SW_HIDE);
  ShowStageClip(stage);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CDlgCheckForUpdate::ShowStageLine(int stage) {
  // The line under the progress bar: how many updates were found, the start of the download
  // (the amounts replace it), or what the download brought.
  CString line;
  if (stage == kStageListed) {
    line = FormattedText(_T("Step3UpdateSummary"), {m_list.GetItemCount()});
  } else if (stage == kStageDownloading) {
    line = GetText(_T("IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA"));
  } else if ((stage == kStageReady || stage == kStageFailed) && m_bDownloadPage) {
    int done = 0, failed = 0;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
      if (!m_list.GetCheck(row)) continue;
      const bool fetched = m_list.GetItemData(row) == kRowProgram ? m_engine->IsProgramDone() : m_engine->IsDatabaseDone();
      ++(fetched ? done : failed);
    }
    line = FormattedText(_T("Step4SuccessdedCount"), {done}) + _T("   ") + FormattedText(_T("Step4FailedCount"), {failed});
  }
  SetDlgItemText(5002, line);
  GetDlgItem(5002)->ShowWindow(line.IsEmpty() ? SW_HIDE : SW_SHOW);
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
void CDlgCheckForUpdate::SetListHeading(LPCTSTR stringId) {
  HDITEMW item{};
  item.mask = HDI_TEXT;
  CString text = GetText(stringId);
  item.pszText = text.GetBuffer();
  if (CHeaderCtrl* header = m_list.GetHeaderCtrl()) header->SetItem(m_list.GetDetailColumn(), &item);
  text.ReleaseBuffer();
}

CString CDlgCheckForUpdate::DatabaseInUseDate() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  SYSTEMTIME written{};
  if (!::GetFileAttributesExW(GetDatabaseArchivePath(), GetFileExInfoStandard, &data) ||
      !::FileTimeToSystemTime(&data.ftLastWriteTime, &written))
    return CString();
  CString date;
  date.Format(_T("%04d-%02d-%02d"), written.wYear, written.wMonth, written.wDay);
  return date;
}

void CDlgCheckForUpdate::ShowCheckResults(int result, BOOL program, BOOL database) {
  RunOnWindowThread([&] {
    m_list.DeleteAllItems();
    m_bDownloadPage = FALSE;
    SetListHeading(_T("HeadingOne"));
    if (result == 0) {
      SetStage(kStageFailed);
      return;
    }
    if (!program && !database) {
      SetStage(kStageNoUpdate);
      return;
    }
    const CDownloadInfo& info = m_engine->GetDownloadInfo();
    // Each row: its title, below it the update's description and what is in use now, its
    // version and its kind; the row keeps the update's own description, version and size.
    const auto addRow = [this](LPCTSTR heading, const CString& update, const CString& inUse, LPCTSTR format,
                               const CString& version, const CString& size, int kind) {
      const int row = m_list.GetItemCount();
      m_list.InsertItem(row, _T(""));
      m_list.SetItemDetails(row, GetText(heading));
      CString description = update;
      if (!inUse.IsEmpty()) description += (description.IsEmpty() ? _T("") : _T("  ")) + inUse;
      if (!description.IsEmpty()) m_list.SetItemText(row, m_list.GetDetailColumn(), description);
      m_list.SetItemText(row, 2, FormattedText(format, {version}));
      m_list.SetItemData(row, static_cast<DWORD_PTR>(kind));
      m_list.SetItemFurtherText(row, checkupdate::CFancyListCtrl::kDescriptionText, update);
      m_list.SetItemFurtherText(row, checkupdate::CFancyListCtrl::kVersionText, version);
      m_list.SetItemFurtherText(row, checkupdate::CFancyListCtrl::kSizeText, size);
      m_list.SetItemValue(row, checkupdate::CFancyListCtrl::kKindValue, static_cast<DWORD>(kind));
      m_list.SetCheck(row, TRUE);
    };
    if (program) {
      const CString installed = m_engine->GetInstalledVersion();
      addRow(_T("IDS_APP_UPDATES_TXT"), info.m_strDescription,
             installed.IsEmpty() ? CString() : FormattedText(_T("LastAppUpdateTaken"), {installed}), _T("AppVer"),
             info.m_strProgramVersion, info.m_strProgramSize, kRowProgram);
    }
    if (database) {
      const CString taken = DatabaseInUseDate();
      addRow(_T("IDS_DB_UPDATES_TXT"), CString(),
             taken.IsEmpty() ? CString() : FormattedText(_T("LastDBUpdateTaken"), {taken}), _T("DatabaseVer"),
             CString(), CString(), kRowDatabase);
    }
    SetStage(m_list.GetItemCount() > 0 ? kStageListed : kStageReady);
  });
}

CString CDlgCheckForUpdate::RowStateText(int kind, bool downloaded) const {
  // With several updates chosen, each says which of them it is.
  int chosen = 0, position = 0;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    if (!m_list.GetCheck(row)) continue;
    ++chosen;
    if (m_list.GetItemData(row) == static_cast<DWORD_PTR>(kind)) position = chosen;
  }
  auto* self = const_cast<CDlgCheckForUpdate*>(this);
  if (chosen <= 1) return self->GetText(downloaded ? _T("IDS_DownloadedTxt") : _T("IDS_DownloadingTxt"));
  return self->FormattedText(downloaded ? _T("IDS_DownloadedTxtWithItemCount") : _T("IDS_DownloadingTxtWithItemCount"),
                             {position, chosen});
}

void CDlgCheckForUpdate::SetRowState(int kind, const CString& state) {
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    // Only a chosen row has a state, and one that is already shown is not drawn again.
    if (m_list.GetItemData(row) != static_cast<DWORD_PTR>(kind) || !m_list.GetCheck(row)) continue;
    if (m_list.GetItemText(row, kStateColumn) != state) m_list.SetItemText(row, kStateColumn, state);
  }
}

void CDlgCheckForUpdate::ShowDownloadPage() {
  // The rows name what was fetched and how it went, under the heading of the outcome.
  m_bDownloadPage = TRUE;
  const bool done = m_engine->IsProgramDone() || m_engine->IsDatabaseDone();
  SetListHeading(done ? _T("Step4LstBoxSuccessDownloadHeaderTxt") : _T("Step4LstBoxFailedDownloadHeaderTxt"));
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    const bool program = m_list.GetItemData(row) == kRowProgram;
    m_list.SetItemDetails(row, GetText(program ? _T("Step4AppUpdate") : _T("Step4SPDBUpdate")));
  }
  for (int kind : {kRowProgram, kRowDatabase}) {
    const BOOL fetched = kind == kRowProgram ? m_engine->IsProgramDone() : m_engine->IsDatabaseDone();
    SetRowState(kind, fetched ? RowStateText(kind, true) : GetText(_T("Step4Failed")));
  }
}
