// The class library's named collections: arrays of strings, numbers and pointers, string
// and pointer lists, and maps keyed by strings or pointers, each with its run-time class.
// Members as in afxtempl.h. The serialisable ones store a count then their elements.
#pragma once
#include "afxtempl.h"

class CByteArray : public CArray<BYTE, BYTE> {
  DECLARE_SERIAL(CByteArray)
};
class CWordArray : public CArray<WORD, WORD> {
  DECLARE_SERIAL(CWordArray)
};
class CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)
};
class CUIntArray : public CArray<UINT, UINT> {
  DECLARE_DYNAMIC(CUIntArray)
};
class CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
};
class CObArray : public CArray<CObject*, CObject*> {
  DECLARE_DYNAMIC(CObArray)
};
class CStringArray : public CArray<CString, const CString&> {
  DECLARE_SERIAL(CStringArray)
};

class CStringList : public CList<CString, const CString&> {
  DECLARE_SERIAL(CStringList)
 public:
  using CList::CList;
};
class CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)
 public:
  using CList::CList;
};
class CObList : public CList<CObject*, CObject*> {
  DECLARE_DYNAMIC(CObList)
 public:
  using CList::CList;
};

class CMapStringToString : public CMap<CString, const CString&, CString, const CString&> {
  DECLARE_SERIAL(CMapStringToString)
};
class CMapStringToPtr : public CMap<CString, const CString&, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)
};
class CMapStringToOb : public CMap<CString, const CString&, CObject*, CObject*> {
  DECLARE_DYNAMIC(CMapStringToOb)
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)
};
