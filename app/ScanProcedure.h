// The scan procedure of the scanning page, run on its scan thread: the device scan, the scan
// request, the exchange with the update service, the answer's decoding and parsing, the
// result rows and the record of the scan; and the hand-over of the wizard when it ends.
#pragma once
#include <afx.h>

class CDlgScan2Scanning;

// Runs the scan: 1 when the procedure handed the wizard on itself, 0 when the caller must
// finish the page without results.
int RunScanProcedure(CDlgScan2Scanning& page);
// On the page's thread: tells the launcher the end of the scan, builds the result summary and
// shows the results page (results) or the home page.
void HandOnScanPages(CDlgScan2Scanning& page, bool results);
// In one-click mode: a stop when the launcher set "ABORTSCAN", then the status text to the
// launcher when it is told.
void CheckPeerAbortAndNotify(CDlgScan2Scanning& page, const CString& text);
