// The machine described in five display texts: computer, processor, main board, Windows
// edition and installed memory.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class CHardwareHash;

class ZXHELPER_API CSysInfo {
 public:
  CSysInfo();
  virtual ~CSysInfo();

  // Computes the five texts in order; computer and main board come from the inventory lists
  // of the given hardware hash object, which must have been collected before.
  void Fill(const CHardwareHash& inventory);
  // A text value under HKEY_LOCAL_MACHINE read with read access; empty when the key or the
  // value is absent.
  static CString ReadMachineText(LPCTSTR keyPath, LPCTSTR valueName);
  // The memory size with the language texts "IDS_PHY_MEM_GB_2", "IDS_PHY_MEM_MB_2" and
  // "IDS_PHY_MEM_KB_2" (section "QVX"), or the plain byte count below 1024 bytes.
  static CString FormatMemoryText(ULONGLONG bytes);

  CString m_strComputer;
  CString m_strProcessor;
  CString m_strMainBoard;
  CString m_strWindowsEdition;
  CString m_strMemory;
};
