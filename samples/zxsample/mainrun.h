// Following a run of the main program from outside it: its main window, the last-scan record
// it keeps in the registry, the end of its download-and-install run, a picture of its window,
// and closing it as its user does.
#pragma once
#include <winuser.h>

#include <string>

namespace zxsample {

// The main window of the running main program, waited for up to timeoutMs (null: none came).
HWND WaitForMainWindow(unsigned timeoutMs);

// A value of the last-scan record ("TotalDrivers", "OutOfDate", ...); empty when not stored.
std::u16string LastScanValue(const char16_t* name);
// The leading number of a count text ("4 Drivers" gives 4); -1 when it holds none.
int CountOf(const std::u16string& text);

// Removes the last-scan record, so that the next scan's counts show when it has ended.
void ForgetLastScan();
// Waits until the scan's counts are stored; false after timeoutMs.
bool WaitForScanRecord(unsigned timeoutMs);
// Waits until the download-and-install run that the window started has ended: the window was
// disabled under the run's popup and takes input again. False after timeoutMs.
bool WaitForInstallRun(HWND window, unsigned timeoutMs);

// Saves the window, freshly painted, as a PNG file at the host path.
bool SaveWindowPicture(HWND window, const std::string& hostPath);
// Closes the window as its user does (a message box of its program answered with OK first),
// waiting until it is gone.
bool CloseMainWindow(HWND window, unsigned timeoutMs);

}  // namespace zxsample
