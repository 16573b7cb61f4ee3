// DeleteStartupJobs: the product's Task Scheduler 1.0 jobs removed by name.
#include <atlcomcli.h>
#include <mstask.h>

#include "CleanupSupport.h"
#include "InstallHelper.h"

namespace {

// The scheduled-scan job of the scheduler program ("ZEPHRINKX-" and the tool's key word), the
// older job of the product, and the job of the main program's schedule page.
const CString kScheduledScanJob = CString(_T("ZEPHRINKX-")) + _T("ZEPHRINKXTunevo");
const CString kProductJob = CString(_T("Tunevo - ")) + kProductDisplayName;

}  // namespace

BOOL DeleteStartupJobs() {
  CComScope com;
  CComPtr<ITaskScheduler> scheduler;
  if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              reinterpret_cast<void**>(&scheduler))))
    return FALSE;
  // Only the last deletion is answered for; the earlier jobs may well never have been made.
  HRESULT last = E_FAIL;
  for (LPCTSTR job : {kScheduledScanJob.GetString(), kProductJob.GetString(), kProductDisplayName})
    last = scheduler->Delete(job);
  return SUCCEEDED(last) ? TRUE : FALSE;
}
