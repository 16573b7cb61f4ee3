// The two documents the main program uploads to tell the web service about problems: the
// driver feedback the user writes (with system information and the devices of the last scan
// request) and the error report of a failed scan exchange, sent without asking.
#pragma once
#include <afx.h>

#include "Markup.h"

// What the user gave in the driver feedback form.
struct tagDriverFeedback {
  CString strEmail;
  CString strType;     // the text of the chosen feedback type
  CString strContent;  // trimmed by the builder
};


// The feedback document: the user's feedback, system information, the machine identifier,
// the shared library's version and, unless leaveOutDevices, the devices of the scan request
// (an empty or unreadable request adds none).
CString BuildDriverFeedbackXml(const tagDriverFeedback& feedback, const CString& scanRequest, BOOL leaveOutDevices);

// The error report of a failed exchange step: the scan request with system information and
// the step's inputs and outputs added under its root element. A request that is not a
// document (the step that found it empty) is reported under a root of its own.
CString BuildErrorReportXml(const CString& scanRequest, LPCTSTR step, const CString& inputHex,
                            const CString& outputHex, const CString& decoded);

// Uploads the text under a feedback file name: enciphered texts with QVXUploadFeedback, plain
// ones with QVXUploadFeedbackSimpleStr. kind 1 names an automated report. 1 when the service
// took it, else 0.
int UploadFeedbackDocument(const CString& xml, BOOL encoded, int kind);

// Builds and uploads the error report of a failed exchange step, then waits 100 ms. Nothing is
// shown, whatever the outcome.
void SendErrorReport(const CString& scanRequest, LPCTSTR step, const CString& inputHex, const CString& outputHex,
                     const CString& decoded);
