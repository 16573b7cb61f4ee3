// CDlgSchedule: the radios, pickers and day boxes against the program's scan job, reading the
// job back, and Apply, which checks the choice before it touches the job and then writes the
// job with its trigger in one save, so a refused or failed save keeps the old schedule.
#include "DlgSchedule.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "HVService.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "PathHelpers.h"
#include "ScheduleJobManager.h"
#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgSchedule, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgSchedule, CDlgLeftSideChild)
  ON_COMMAND(CDlgSchedule::kApplyId, &CDlgSchedule::OnApply)
  ON_COMMAND_RANGE(CDlgSchedule::kRunOnceId, CDlgSchedule::kNotScheduledId, &CDlgSchedule::OnRadio)
  ON_COMMAND_RANGE(CDlgSchedule::kSundayId, CDlgSchedule::kSaturdayId, &CDlgSchedule::OnDayClicked)
  ON_BN_CLICKED(CDlgSchedule::kAutoFixId, &CDlgSchedule::OnAutoFixClicked)
  ON_BN_CLICKED(CDlgSchedule::kShutDownId, &CDlgSchedule::OnShutDownClicked)
  ON_NOTIFY(DTN_DATETIMECHANGE, CDlgSchedule::kTimeId, &CDlgSchedule::OnPickerChanged)
  ON_NOTIFY(DTN_DATETIMECHANGE, CDlgSchedule::kDateId, &CDlgSchedule::OnPickerChanged)
  // The scheduler's build.
  ON_COMMAND(CDlgSchedule::SchedulerIds::kApplyId, &CDlgSchedule::OnApply)
  ON_COMMAND_RANGE(CDlgSchedule::SchedulerIds::kRunOnceId, CDlgSchedule::SchedulerIds::kNotScheduledId,
                   &CDlgSchedule::OnRadio)
  ON_COMMAND_RANGE(CDlgSchedule::SchedulerIds::kSundayId, CDlgSchedule::SchedulerIds::kSaturdayId,
                   &CDlgSchedule::OnDayClicked)
  ON_NOTIFY(DTN_DATETIMECHANGE, CDlgSchedule::SchedulerIds::kTimeId, &CDlgSchedule::OnPickerChanged)
  ON_NOTIFY(DTN_DATETIMECHANGE, CDlgSchedule::SchedulerIds::kDateId, &CDlgSchedule::OnPickerChanged)
  ON_CBN_SELCHANGE(CDlgSchedule::SchedulerIds::kModeComboId, &CDlgSchedule::OnModeChanged)
END_MESSAGE_MAP()

// The template, the ids that differ between the builds, the texts drawn on the page and the
// section the page's texts come from.
struct CDlgSchedule::BuildIds {
  UINT templateId;
  UINT apply;
  UINT radios[4];  // once, every day, every week, not scheduled
  UINT sunday;     // the day boxes follow, to Saturday
  UINT time;
  UINT date;
  LPCTSTR section;
  struct DrawnText {
    LPCTSTR id;
    POINT at;
  };
  DrawnText drawn[3];
  // Template controls this build does not use: hidden and disabled.
  UINT unused[4];
};

namespace {

constexpr LPCTSTR kSection = _T("IDD_DLG_SCHEDULE");
constexpr LPCTSTR kTaskSchedulerService = _T("schedule");
constexpr UINT kDriveLabelId = 5081;

// The controls whose caption comes from the page's own section, by control name.
struct ControlName {
  UINT id;
  LPCTSTR name;
};
constexpr ControlName kControlNames[] = {
    {5011, _T("IDC_RAD_RUNONCE")},     {5012, _T("IDC_RAD_EVERYDAY")},    {5013, _T("IDC_RAD_EVERYWEEK")},
    {5014, _T("IDC_RAD_NOTSCHEDULE")}, {5015, _T("IDC_CHK_SUNDAY")},      {5016, _T("IDC_CHK_MONDAY")},
    {5017, _T("IDC_CHK_TUESDAY")},     {5018, _T("IDC_CHK_WEDNESDAY")},   {5019, _T("IDC_CHK_THRUSDAY")},
    {5020, _T("IDC_CHK_FRIDAY")},      {5021, _T("IDC_CHK_SATURDAY")},    {5024, _T("IDC_ST_SCHEDULE")},
    {5026, _T("IDC_ST_SCHSCAN_NAME")}, {5028, _T("IDC_ST_DATETIME")},     {5029, _T("IDC_ST_WEEKDAY")}};

// The captions the program's own texts give afterwards.
constexpr ControlName kControlTexts[] = {
    {5024, _T("IDS_SCHEDULE_SCAN")}, {5028, _T("IDS_DATETIME")},     {5029, _T("IDS_WEEKDAYS")},
    {5026, _T("IDS_SHINFO")},        {5011, _T("IDS_RUNONCE")},      {5012, _T("IDS_EVERYDAY")},
    {5013, _T("IDS_EVERYWEEK")},     {5014, _T("IDS_DONTSCHEDULE")}, {5015, _T("IDS_SUNDAY")},
    {5016, _T("IDS_MONDAY")},        {5017, _T("IDS_TUESDAY")},      {5018, _T("IDS_WEDNESDAY")},
    {5019, _T("IDS_THURSDAY")},      {5020, _T("IDS_FRIDAY")},       {5021, _T("IDS_SATURDAY")},
    {3096, _T("IDS_FIXERR_AUTO")},   {5104, _T("IDS_SYSREBOOT_AUTO_AFTFIXERR")}};

// The week-day bits of a trigger, Sunday first like the boxes.
constexpr WORD kDayBits[7] = {TASK_SUNDAY, TASK_MONDAY, TASK_TUESDAY, TASK_WEDNESDAY,
                              TASK_THURSDAY, TASK_FRIDAY, TASK_SATURDAY};

constexpr POINT kHelpText{84, 50};
constexpr POINT kTypeText{24, 132};
constexpr POINT kNoText{0, 0};


ULONGLONG Ticks(const SYSTEMTIME& time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

}  // namespace

const CDlgSchedule::BuildIds& CDlgSchedule::IdsOf(Build build) {
  static constexpr BuildIds kProgramIds{
      CDlgSchedule::kTemplateId,
      CDlgSchedule::kApplyId,
      {CDlgSchedule::kRunOnceId, CDlgSchedule::kEveryDayId, CDlgSchedule::kEveryWeekId, CDlgSchedule::kNotScheduledId},
      CDlgSchedule::kSundayId,
      CDlgSchedule::kTimeId,
      CDlgSchedule::kDateId,
      _T("Tunevo"),
      {{_T("IDS_SCHED_HELP_PROPER"), kHelpText}, {_T("IDS_SELC_SCHE_TYPE"), kTypeText}, {nullptr, kNoText}},
      {kDriveLabelId, CDlgSchedule::kAutoFixId, CDlgSchedule::kShutDownId, 0}};

  static constexpr BuildIds kSchedulerIds{
      SchedulerIds::kTemplateId,
      SchedulerIds::kApplyId,
      {SchedulerIds::kRunOnceId, SchedulerIds::kEveryDayId, SchedulerIds::kEveryWeekId, SchedulerIds::kNotScheduledId},
      SchedulerIds::kSundayId,
      SchedulerIds::kTimeId,
      SchedulerIds::kDateId,
      _T("NEWSCHEDULER"),
      {{_T("IDS_SCHEDULE2"), POINT{84, 50}},
       {_T("IDS_CREATESCHED_AUTOSCAN"), POINT{84, 72}},
       {_T("IDS_SELECT_SCHEDTYPE"), kTypeText}},
      {SchedulerIds::kModeComboId, SchedulerIds::kModeBuddyId, CDlgSchedule::kAutoFixId, CDlgSchedule::kShutDownId}};
  return build == Build::kScheduler ? kSchedulerIds : kProgramIds;
}

CDlgSchedule::CDlgSchedule(CWnd* pParent, Build build)
    : CDlgLeftSideChild(IdsOf(build).templateId, pParent), m_ids(IdsOf(build)) {}

UINT CDlgSchedule::GetTemplateId() const { return m_ids.templateId; }

CString CDlgSchedule::Text(LPCTSTR id) const { return GetLangString(id, m_ids.section); }

CDlgSchedule::~CDlgSchedule() = default;

void CDlgSchedule::SetJob(const CString& jobName, const CString& application) {
  m_strJobName = jobName;
  m_strApplication = application;
}

BOOL CDlgSchedule::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(Text(_T("IDS_SCHEDULE_SCAN")));
  if (m_strJobName.IsEmpty()) m_strJobName = GetAppName();
  if (m_strApplication.IsEmpty()) {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    m_strApplication = path;
  }
  BindControls();
  PlaceActionButton(*this, m_btnApply, m_ids.apply, m_ids.section, _T("IDS_APPLY"), 141);
  // The jobs run only while the Task Scheduler runs.
  CHVService services;
  services.EnumServices();
  if (!services.IsServiceRunning(kTaskSchedulerService)) services.EnsureServiceRunning(kTaskSchedulerService, TRUE);
  SetControlTexts();
  // Template controls this product does not use; the auto-fix and shut-down boxes only follow
  // the job.
  for (UINT id : m_ids.unused) {
    CWnd* control = id != 0 ? GetDlgItem(id) : nullptr;
    if (control == nullptr) continue;
    control->ShowWindow(SW_HIDE);
    control->EnableWindow(FALSE);
  }
  LoadJob();
  return TRUE;
}

void CDlgSchedule::BindControls() {
  m_timePicker.SubclassDlgItem(m_ids.time, this);
  m_timePicker.SetFormat(_T("HH:mm"));
  m_datePicker.SubclassDlgItem(m_ids.date, this);
  for (UINT i = 0; i < 4; ++i) m_radios[i].SubclassDlgItem(m_ids.radios[i], this);
  for (UINT i = 0; i < 7; ++i) m_days[i].SubclassDlgItem(m_ids.sunday + i, this);
  m_chkAutoFix.SubclassDlgItem(kAutoFixId, this);
  m_chkShutDown.SubclassDlgItem(kShutDownId, this);
}

BOOL CDlgSchedule::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F4) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

// The program's ids of the controls named in the tables, in this build.
UINT CDlgSchedule::ControlId(UINT programId) const {
  if (programId >= kRunOnceId && programId <= kNotScheduledId) return m_ids.radios[programId - kRunOnceId];
  if (programId >= kSundayId && programId <= kSaturdayId) return m_ids.sunday + (programId - kSundayId);
  return programId;
}

void CDlgSchedule::SetControlTexts() {
  for (const ControlName& control : kControlNames) {
    const CString text = GetLangString(control.name, kSection);
    if (!text.IsEmpty()) SetDlgItemText(ControlId(control.id), text);
  }
  for (const ControlName& control : kControlTexts) SetDlgItemText(ControlId(control.id), Text(control.name));
}

void CDlgSchedule::ChooseState(int state) {
  m_nState = state;
  for (int i = 0; i < 4; ++i) {
    const int radioState = i == 3 ? kNotScheduled : i + 1;
    m_radios[i].SetCheck(radioState == state ? BST_CHECKED : BST_UNCHECKED);
  }
  for (CTransparentCheckRadio& day : m_days) day.EnableWindow(state == kEveryWeek);
  m_datePicker.EnableWindow(state == kOnce);
  m_timePicker.EnableWindow(state != kNotScheduled);
}

void CDlgSchedule::OnRadio(UINT nID) {
  for (int i = 0; i < 4; ++i) {
    if (m_ids.radios[i] != nID) continue;
    ChooseState(i == 3 ? kNotScheduled : i + 1);
    m_btnApply.EnableWindow(TRUE);
  }
}

void CDlgSchedule::OnModeChanged() { m_btnApply.EnableWindow(TRUE); }

void CDlgSchedule::OnDayClicked(UINT /*nID*/) { m_btnApply.EnableWindow(TRUE); }

// The shut-down after fixing comes only with the fixing.
void CDlgSchedule::OnAutoFixClicked() {
  m_bAutoFix = m_chkAutoFix.GetCheck() == BST_CHECKED;
  if (!m_bAutoFix) {
    m_bShutDown = FALSE;
    m_chkShutDown.SetCheck(BST_UNCHECKED);
  }
  m_chkShutDown.EnableWindow(m_bAutoFix);
  m_btnApply.EnableWindow(TRUE);
}

void CDlgSchedule::OnShutDownClicked() {
  m_bShutDown = m_chkShutDown.GetCheck() == BST_CHECKED;
  m_btnApply.EnableWindow(TRUE);
}

void CDlgSchedule::OnPickerChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  m_btnApply.EnableWindow(TRUE);
  *pResult = 0;
}

void CDlgSchedule::LoadJob() {
  m_strDescription = Text(_T("IDS_SHINFO")) + _T(" ") + Text(_T("IDS_SCHEDULE_DESCRIPTION"));
  CScheduleManager jobs;
  TASK_TRIGGER trigger{};
  CString parameters;
  const int type = jobs.GetTaskTrigger(m_strJobName, trigger, &parameters);
  m_strNextRun = type != -1 ? jobs.GetNextRunTimeText(m_strJobName) : CString();
  if (m_strNextRun.IsEmpty()) {
    m_strNextRun = Text(_T("SCAN_NOT_SCHEDLUE"));
    ChooseState(kNotScheduled);
  } else {
    ReadBackTrigger(trigger);
  }
  m_strDescription += _T(" ") + m_strNextRun;
  // The scan switch of the job: " -autofix" fixes, " -shutdown" fixes and shuts down.
  m_bAutoFix = parameters.Find(_T("-autofix")) >= 0 || parameters.Find(_T("-shutdown")) >= 0;
  m_bShutDown = parameters.Find(_T("-autofix")) < 0 && parameters.Find(_T("-shutdown")) >= 0;
  m_chkAutoFix.SetCheck(m_bAutoFix ? BST_CHECKED : BST_UNCHECKED);
  m_chkShutDown.SetCheck(m_bShutDown ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemText(kDescriptionId, m_strDescription);
  SetDlgItemText(kNextRunId, m_strNextRun);
  m_btnApply.EnableWindow(FALSE);
  Invalidate();
}

void CDlgSchedule::ReadBackTrigger(const TASK_TRIGGER& trigger) {
  switch (trigger.TriggerType) {
    case TASK_TIME_TRIGGER_ONCE: ChooseState(kOnce); break;
    case TASK_TIME_TRIGGER_DAILY: ChooseState(kEveryDay); break;
    case TASK_TIME_TRIGGER_WEEKLY: ChooseState(kEveryWeek); break;
    default: ChooseState(kNotScheduled); return;
  }
  SYSTEMTIME start{};
  start.wYear = trigger.wBeginYear;
  start.wMonth = trigger.wBeginMonth;
  start.wDay = trigger.wBeginDay;
  start.wHour = trigger.wStartHour;
  start.wMinute = trigger.wStartMinute;
  m_timePicker.SetTime(&start);
  if (m_nState == kOnce) m_datePicker.SetTime(&start);
  if (m_nState != kEveryWeek) return;
  for (int i = 0; i < 7; ++i)
    m_days[i].SetCheck((trigger.Type.Weekly.rgfDaysOfTheWeek & kDayBits[i]) != 0 ? BST_CHECKED : BST_UNCHECKED);
}

WORD CDlgSchedule::CheckedDays() {
  WORD days = 0;
  for (int i = 0; i < 7; ++i)
    if (m_days[i].GetCheck() == BST_CHECKED) days |= kDayBits[i];
  return days;
}

bool CDlgSchedule::BuildTrigger(TASK_TRIGGER& trigger) {
  trigger = TASK_TRIGGER{};
  trigger.cbTriggerSize = sizeof(TASK_TRIGGER);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  SYSTEMTIME start = now;
  if (m_nState == kOnce) m_datePicker.GetTime(&start);
  SYSTEMTIME time{};
  m_timePicker.GetTime(&time);
  start.wHour = time.wHour;
  start.wMinute = time.wMinute;
  start.wSecond = 0;
  start.wMilliseconds = 0;
  trigger.wBeginYear = start.wYear;
  trigger.wBeginMonth = start.wMonth;
  trigger.wBeginDay = start.wDay;
  trigger.wStartHour = start.wHour;
  trigger.wStartMinute = start.wMinute;
  switch (m_nState) {
    case kEveryDay:
      trigger.TriggerType = TASK_TIME_TRIGGER_DAILY;
      trigger.Type.Daily.DaysInterval = 1;
      break;
    case kEveryWeek:
      trigger.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
      trigger.Type.Weekly.WeeksInterval = 1;
      trigger.Type.Weekly.rgfDaysOfTheWeek = CheckedDays();
      break;
    default:
      trigger.TriggerType = TASK_TIME_TRIGGER_ONCE;
      return Ticks(start) >= Ticks(now);
  }
  return true;
}

CDlgSchedule::SaveResult CDlgSchedule::SaveSchedule() {
  CScheduleManager jobs;
  if (m_nState == kNotScheduled) {
    jobs.DeleteTask(m_strJobName);
    return jobs.TaskExists(m_strJobName) ? SaveResult::kFailed : SaveResult::kSaved;
  }
  if (m_nState == kEveryWeek && CheckedDays() == 0) return SaveResult::kNoDays;
  TASK_TRIGGER trigger;
  if (!BuildTrigger(trigger)) return SaveResult::kTimeElapsed;
  CString folder;
  GetModuleFolder(nullptr, folder);
  jobs.SetScanChoices(m_bAutoFix, m_bShutDown);
  return jobs.ReplaceTask(m_strJobName, m_strJobName, _T(""), m_strApplication, folder, trigger)
             ? SaveResult::kSaved
             : SaveResult::kFailed;
}

void CDlgSchedule::OnApply() {
  m_bAutoFix = m_chkAutoFix.GetCheck() == BST_CHECKED;
  m_bShutDown = m_bAutoFix && m_chkShutDown.GetCheck() == BST_CHECKED;
  switch (SaveSchedule()) {
    case SaveResult::kNoDays:
      AppMessageBox(Text(_T("IDS_WEEK_DAYS")), MB_OK | MB_ICONWARNING, this);
      return;
    case SaveResult::kTimeElapsed:
      AppMessageBox(Text(_T("IDS_TIME_ELAPSED")), MB_OK | MB_ICONWARNING, this);
      return;
    case SaveResult::kFailed:
      // The old job is still in place; Apply stays enabled for another try.
      AppMessageBox(Text(_T("IDS_UNABLE_SAVE_SETTING")), MB_OK | MB_ICONSTOP, this);
      return;
    case SaveResult::kSaved:
      AppMessageBox(Text(_T("IDS_SETTINGS_SAVED")), MB_OK | MB_ICONINFORMATION, this);
      LoadJob();
      return;
  }
}

void CDlgSchedule::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  for (const BuildIds::DrawnText& text : m_ids.drawn)
    if (text.id != nullptr) DrawSettingsText(pDC, text.id, text.at, m_ids.section);
}
