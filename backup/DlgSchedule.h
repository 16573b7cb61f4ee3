// CDlgSchedule: the page on which the user chooses when an unattended scan runs: not at all,
// once at a date and time, every day or every week on chosen days at a time. The choice lives
// only in the Task Scheduler, as the program's one job with one trigger; the page reads the job
// back each time it opens or saves. The main program's settings group and the scheduler's pane
// each have their own build of it: its template, control ids, drawn texts and text section.
#pragma once
#include <afxdtctl.h>
#include <mstask.h>

#include "CTransparentCheckRadio.h"
#include "DlgLeftSideChild.h"
#include "HoverButtonWithText.h"

class CDlgSchedule : public CDlgLeftSideChild {
  DECLARE_DYNAMIC(CDlgSchedule)

 public:
  static constexpr UINT kTemplateId = 5001;
  static constexpr UINT kRunOnceId = 5011;
  static constexpr UINT kEveryDayId = 5012;
  static constexpr UINT kEveryWeekId = 5013;
  static constexpr UINT kNotScheduledId = 5014;
  static constexpr UINT kSundayId = 5015;  // to Saturday, 5021
  static constexpr UINT kSaturdayId = 5021;
  static constexpr UINT kTimeId = 5022;
  static constexpr UINT kDateId = 5023;
  static constexpr UINT kNextRunId = 5025;
  static constexpr UINT kDescriptionId = 5027;
  static constexpr UINT kApplyId = 5030;
  static constexpr UINT kAutoFixId = 3096;
  static constexpr UINT kShutDownId = 5104;

  // The scheduler's build: its template and the ids that differ; the combo box (whose change
  // enables Apply) and its companion stay hidden and disabled.
  struct SchedulerIds {
    static constexpr UINT kTemplateId = 152;
    static constexpr UINT kApplyId = 598;
    static constexpr UINT kRunOnceId = 531;
    static constexpr UINT kEveryDayId = 532;
    static constexpr UINT kEveryWeekId = 534;
    static constexpr UINT kNotScheduledId = 535;
    static constexpr UINT kSundayId = 536;  // to Saturday, 542
    static constexpr UINT kSaturdayId = 542;
    static constexpr UINT kTimeId = 543;
    static constexpr UINT kDateId = 544;
    static constexpr UINT kModeComboId = 5076;
    static constexpr UINT kModeBuddyId = 5077;
  };
  enum class Build { kProgram, kScheduler };

  // What the schedule state holds.
  enum { kNotScheduled = 0, kOnce = 1, kEveryDay = 2, kEveryWeek = 3 };

  explicit CDlgSchedule(CWnd* pParent = nullptr, Build build = Build::kProgram);
  // The template of the page's build.
  UINT GetTemplateId() const;
  ~CDlgSchedule() override;

  // The job the page edits and the program it starts; by default the program's name and its
  // own file. Set before the page is created.
  void SetJob(const CString& jobName, const CString& application);
  int GetScheduleState() const { return m_nState; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  void PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) override;

  afx_msg void OnApply();
  afx_msg void OnRadio(UINT nID);
  afx_msg void OnDayClicked(UINT nID);
  afx_msg void OnAutoFixClicked();
  afx_msg void OnShutDownClicked();
  afx_msg void OnModeChanged();
  afx_msg void OnPickerChanged(NMHDR* pNMHDR, LRESULT* pResult);

 private:
  struct BuildIds;
  static const BuildIds& IdsOf(Build build);
  // A text of the build's section.
  CString Text(LPCTSTR id) const;

  // Outcomes of a save.
  enum class SaveResult { kFailed, kSaved, kTimeElapsed, kNoDays };

  // Binds the controls to their objects.
  void BindControls();
  void SetControlTexts();
  // The id in this build of a control the tables name by the program's id.
  UINT ControlId(UINT programId) const;
  // Chooses the radio of the state and enables the controls it uses.
  void ChooseState(int state);
  // Reads the job back into the radios, pickers, day boxes, choices and texts.
  void LoadJob();
  void ReadBackTrigger(const TASK_TRIGGER& trigger);
  SaveResult SaveSchedule();
  // The trigger the controls describe; false when a one-time run would lie in the past.
  bool BuildTrigger(TASK_TRIGGER& trigger);
  WORD CheckedDays();

  const BuildIds& m_ids;
  int m_nState = kNotScheduled;
  CString m_strJobName;
  CString m_strApplication;
  CString m_strDescription;
  CString m_strNextRun;
  BOOL m_bAutoFix = FALSE;
  BOOL m_bShutDown = FALSE;
  CDateTimeCtrl m_timePicker;
  CDateTimeCtrl m_datePicker;
  CTransparentCheckRadio m_radios[4];
  CTransparentCheckRadio m_days[7];
  CTransparentCheckRadio m_chkAutoFix;
  CTransparentCheckRadio m_chkShutDown;
  CHoverButtonWithText m_btnApply;

  DECLARE_MESSAGE_MAP()
};
