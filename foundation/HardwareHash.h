// Hardware inventory over WMI (BIOS, baseboard, computer system, memory, adapter addresses)
// and the machine hash derived from it: a decimal text that names this machine.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>

#include <memory>

#include "HelperApi.h"

class CSHA1;

struct tagKeyValuePairStr {
  CString strKey;
  CString strValue;
};
using CKeyValuePairArray = CArray<tagKeyValuePairStr, const tagKeyValuePairStr&>;

class ZXHELPER_API CHardwareHash {
 public:
  // The WMI classes in the order a class index counts them.
  enum WmiClass { WMI_BIOS = 0, WMI_BASEBOARD, WMI_NETWORKADAPTER, WMI_COMPUTERSYSTEM, WMI_PHYSICALMEMORY, WMI_CLASS_COUNT };

  CHardwareHash();
  virtual ~CHardwareHash();
  CHardwareHash(const CHardwareHash&) = delete;
  CHardwareHash& operator=(const CHardwareHash&) = delete;

  // Empties the list, adds one pair per property (name trimmed, value empty) and fills the
  // values over WMI. FALSE when WMI could not be asked; the values then stay empty.
  BOOL QueryWmiClass(int propertyCount, CKeyValuePairArray& list, int classIndex, const CString* propertyNames);
  // Fills the adapter filter list and the adapter address list. An address list in which WMI
  // named no address is left empty, so that readers turn to m_arrMacAddresses.
  void CollectAdapterAddresses();
  // Collects the inventory afresh and answers the machine hash text ("%lld").
  CString ComputeHash();
  // CRC-64/WE of the text lower-cased and trimmed, over its UTF-16LE bytes (the two bytes of
  // the terminator for an empty text).
  static ULONGLONG Crc64(const CString& text);

  CKeyValuePairArray m_arrBios;              // list 0
  CKeyValuePairArray m_arrBaseBoard;         // list 1
  CKeyValuePairArray m_arrComputerSystem;    // list 2
  CKeyValuePairArray m_arrPhysicalMemory;    // list 3
  CKeyValuePairArray m_arrAdapterAddresses;  // list 4
  CKeyValuePairArray m_arrAdapterFilter;     // list 5
  // The addresses the system's own sources gave when WMI named none (as the hash used them).
  CStringArray m_arrMacAddresses;

 private:
  std::unique_ptr<CSHA1> m_pDigest;
};
