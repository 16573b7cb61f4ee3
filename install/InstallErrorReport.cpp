// The install engine's report of a failed or doubtful install: the report uploaded to the
// misc service, and the entry in the record of installed updates.
#include "DriverInstallEngine.h"
#include "InstallResult.h"
#include "UpdateServiceHelper.h"
#include "WebServiceClient.h"

int CDriverInstallEngine::ReportInstallError(int index, CDeviceRecordArray* records, BOOL handled,
                                             tagInstallResultInfo info) {
  try {
    const tagDeviceDriverInfo empty;
    const tagDeviceDriverInfo* device = records != nullptr ? records->GetAt(index) : nullptr;
    tagInstallReportContext context;
    CollectInstallReportContext(context, GetInstallReportDbInitials());
    const CString report = BuildInstallErrorReport(info, device != nullptr ? *device : empty, handled, context);
    CString fileName;
    CUpdateServiceHelper().MakeFeedbackFileName(fileName, FALSE, TRUE, _T("InstallError"));
    QVXUploadFeedbackSimpleStr(report, fileName);
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return 1;
}

void CDriverInstallEngine::RecordInstalledUpdate(tagInstallResultInfo info) {
  CExclusionList list;
  if (list.Add(MakeInstalledUpdateEntry(info))) list.Save();
}
