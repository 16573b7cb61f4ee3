// CSysInfo: the five texts that describe the machine.
#include "SysInfo.h"

#include <windows.h>

#include "HardwareHash.h"
#include "IniReader.h"
#include "Registry.h"

namespace {

constexpr REGSAM kReadAccess = 0x20019;
constexpr ULONGLONG kKiB = 1024;
constexpr ULONGLONG kMiB = kKiB * 1024;
constexpr ULONGLONG kGiB = kMiB * 1024;

// Manufacturer (value 1) and model or product (value 0) of an inventory list, joined by a
// blank; a missing half leaves no stray blank.
CString MakerAndModel(const CKeyValuePairArray& list) {
  if (list.GetSize() < 2) return CString();
  CString maker = list[1].strValue;
  CString model = list[0].strValue;
  maker.Trim();
  model.Trim();
  if (maker.IsEmpty() || model.IsEmpty()) return maker + model;
  return maker + _T(" ") + model;
}

CString FormatWithText(LPCTSTR stringId, double value) {
  CString text;
  text.Format(GetLangString(stringId, _T("QVX")), value);
  return text;
}

}  // namespace

CSysInfo::CSysInfo() = default;
CSysInfo::~CSysInfo() = default;

void CSysInfo::Fill(const CHardwareHash& inventory) {
  m_strComputer = MakerAndModel(inventory.m_arrComputerSystem);
  m_strProcessor = ReadMachineText(_T("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"), _T("ProcessorNameString"));
  m_strMainBoard = MakerAndModel(inventory.m_arrBaseBoard);
  m_strWindowsEdition = ReadMachineText(_T("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"), _T("ProductName"));
  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  m_strMemory = GlobalMemoryStatusEx(&memory) ? FormatMemoryText(memory.ullTotalPhys) : CString();
}

CString CSysInfo::ReadMachineText(LPCTSTR keyPath, LPCTSTR valueName) {
  CRegistry registry;
  registry.m_dwAccess = kReadAccess;
  CString text;
  if (!registry.Open(HKEY_LOCAL_MACHINE, keyPath) || !registry.ReadString(valueName, text)) text.Empty();
  return text;
}

CString CSysInfo::FormatMemoryText(ULONGLONG bytes) {
  if (bytes >= kGiB) return FormatWithText(_T("IDS_PHY_MEM_GB_2"), static_cast<double>(bytes) / kGiB);
  if (bytes < kKiB) {
    CString text;
    text.Format(_T("%llu"), bytes);
    return text;
  }
  if (bytes < kMiB) return FormatWithText(_T("IDS_PHY_MEM_KB_2"), static_cast<double>(bytes) / kKiB);
  return FormatWithText(_T("IDS_PHY_MEM_MB_2"), static_cast<double>(bytes) / kMiB);
}
