// The memory record and the drives of the machine for feedback documents and reports.
#include "SystemReport.h"

#include <fileapi.h>
#include <sysinfoapi.h>

namespace {

CString Decimal(ULONGLONG value) {
  CString text;
  text.Format(_T("%llu"), value);
  return text;
}

bool Child(CMarkup& xml, LPCTSTR name, const CString& value) { return xml.AppendElement(name, value, true); }

}  // namespace

BOOL AppendMemoryInfo(CMarkup& xml, bool asChild) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!::GlobalMemoryStatusEx(&status) || !xml.AppendElement(_T("memory_info"), nullptr, asChild)) return FALSE;
  if (asChild) xml.EnterElement();
  const bool written = Child(xml, _T("total_phy"), Decimal(status.ullTotalPhys)) &&
                       Child(xml, _T("avail_phy"), Decimal(status.ullAvailPhys)) &&
                       Child(xml, _T("total_page_file"), Decimal(status.ullTotalPageFile)) &&
                       Child(xml, _T("avail_page_file"), Decimal(status.ullAvailPageFile));
  if (asChild) xml.LeaveElement();
  return written ? TRUE : FALSE;
}

void AppendDriveInfo(CMarkup& xml) {
  WCHAR systemFolder[MAX_PATH] = {};
  if (::GetSystemDirectoryW(systemFolder, MAX_PATH) >= 2) Child(xml, _T("system_driver"), CString(systemFolder, 2));

  const DWORD drives = ::GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if ((drives & (1u << letter)) == 0) continue;
    CString root;
    root.Format(_T("%c:\\"), static_cast<TCHAR>(_T('A') + letter));
    const UINT type = ::GetDriveTypeW(root);
    if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) continue;
    if (!::GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) continue;
    ULARGE_INTEGER available{}, total{}, free{};
    if (!::GetDiskFreeSpaceExW(root, &available, &total, &free)) continue;
    xml.AppendElement(_T("drive_info"), nullptr, true);
    xml.EnterElement();
    Child(xml, _T("drive_name"), root);
    Child(xml, _T("total_size_in_bytes"), Decimal(total.QuadPart));
    Child(xml, _T("free_space_in_bytes"), Decimal(free.QuadPart));
    Child(xml, _T("used_space_in_bytes"), Decimal(total.QuadPart - free.QuadPart));
    xml.LeaveElement();
  }
}
