// The driver feedback document, the error report of a failed exchange and their upload.
#include "DriverFeedbackReport.h"

#include <windows.h>

#include "MachineId.h"
#include "ProcessControl.h"
#include "SystemReport.h"
#include "UpdateServiceHelper.h"
#include "WebServiceClient.h"

namespace {

CString Decimal(ULONGLONG value) {
  CString text;
  text.Format(_T("%llu"), value);
  return text;
}

void Child(CMarkup& document, LPCTSTR name, const CString& value) { document.AppendElement(name, value, true); }

// Opens a child element; the caller adds its children and leaves it.
void OpenChild(CMarkup& document, LPCTSTR name) {
  document.AppendElement(name, nullptr, true);
  document.EnterElement();
}

// The shared library's version beside the running program.
CString HelperModuleVersion() {
  CString folder = GetProgramFilePath();
  const int slash = folder.ReverseFind(_T('\\'));
  if (slash >= 0) folder = folder.Left(slash);
  return GetFileVersionText(folder + _T("\\zephrinkxhelper.dll"));
}

// Copies the request's "device" elements (driverid, date, version and a non-empty matchingid)
// as children of the document's current element.
void AddRequestDevices(CMarkup& document, const CString& scanRequest) {
  CMarkup request;
  if (scanRequest.IsEmpty() || !request.SetDocumentText(scanRequest) || !request.NextElement()) return;
  while (request.NextChildElement()) {
    request.EnterElement();
    if (!request.ElementNameIs(u"device")) {
      request.LeaveElement();
      continue;
    }
    CString driverId, date, version, matchingId;
    request.EnterElement();
    while (request.NextElement()) {
      if (request.ElementNameIs(u"driverid")) driverId = request.GetElementText();
      else if (request.ElementNameIs(u"date")) date = request.GetElementText();
      else if (request.ElementNameIs(u"version")) version = request.GetElementText();
      else if (request.ElementNameIs(u"matchingid")) matchingId = request.GetElementText();
    }
    request.LeaveElement();
    request.LeaveElement();
    OpenChild(document, _T("device"));
    Child(document, _T("driverid"), driverId);
    Child(document, _T("date"), date);
    Child(document, _T("version"), version);
    if (!matchingId.IsEmpty()) Child(document, _T("matchingid"), matchingId);
    document.LeaveElement();
  }
}

}  // namespace

CString BuildDriverFeedbackXml(const tagDriverFeedback& feedback, const CString& scanRequest, BOOL leaveOutDevices) {
  CString content = feedback.strContent;
  content.Trim();
  CMarkup document;
  document.AppendElement(_T("sf_feedback"));
  OpenChild(document, _T("feedback"));
  Child(document, _T("email"), feedback.strEmail);
  Child(document, _T("feedback_type"), feedback.strType);
  Child(document, _T("content"), content);
  document.LeaveElement();

  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ::GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&version));
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  OpenChild(document, _T("sys_info"));
  Child(document, _T("os_major_version"), Decimal(version.dwMajorVersion));
  Child(document, _T("os_minor_version"), Decimal(version.dwMinorVersion));
  Child(document, _T("os_product_type"), Decimal(version.wProductType));
  Child(document, _T("os_architecture_type"), Decimal(system.wProcessorArchitecture));
  AppendMemoryInfo(document, true);
  AppendDriveInfo(document);
  document.LeaveElement();

  OpenChild(document, _T("key"));
  Child(document, _T("mac_id"), GetMachineId());
  document.LeaveElement();
  OpenChild(document, _T("prog_info"));
  Child(document, _T("prog_ver"), HelperModuleVersion());
  document.LeaveElement();
  if (!leaveOutDevices) AddRequestDevices(document, scanRequest);
  return document.GetDocumentText();
}

CString BuildErrorReportXml(const CString& scanRequest, LPCTSTR step, const CString& inputHex,
                            const CString& outputHex, const CString& decoded) {
  CMarkup document;
  // The report goes under the request's root, after its last element; a request that is not a
  // document leaves a root of the report's own, so the step's inputs are never lost.
  if (!document.SetDocumentText(scanRequest) || !document.NextElement()) {
    document.SetDocumentText(CString());
    document.AppendElement(_T("newdataset"));
  }
  while (document.NextChildElement()) {
  }
  OpenChild(document, _T("sys_info"));
  AppendMemoryInfo(document, true);
  AppendDriveInfo(document);
  document.LeaveElement();
  OpenChild(document, _T("error_feedback"));
  Child(document, _T("error_desc"), step);
  Child(document, _T("input_hex"), inputHex);
  Child(document, _T("output_hex"), outputHex);
  Child(document, _T("output_data_decrypted"), decoded);
  document.LeaveElement();
  return document.GetDocumentText();
}

int UploadFeedbackDocument(const CString& xml, BOOL encoded, int kind) {
  CUpdateServiceHelper helper;
  CString name;
  helper.MakeFeedbackFileName(name, kind == 1, !encoded, CString());
  return encoded ? QVXUploadFeedback(xml, name) : QVXUploadFeedbackSimpleStr(xml, name);
}

void SendErrorReport(const CString& scanRequest, LPCTSTR step, const CString& inputHex, const CString& outputHex,
                     const CString& decoded) {
  UploadFeedbackDocument(BuildErrorReportXml(scanRequest, step, inputHex, outputHex, decoded), FALSE, 1);
  ::Sleep(100);
}
