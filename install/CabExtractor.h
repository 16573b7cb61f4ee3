// CCabExtractor: unpacks a cabinet file through the cabinet library ("Cabinet.dll", bound by
// name) into a folder. Every file lands below the output folder, whatever its name says.
#pragma once
#include <afx.h>
#include <fdi.h>
#include <windows.h>

#include <set>

class CCabExtractor {
 public:
  // Error codes of the extractor (beside the cabinet library's own in the error block).
  enum Error {
    kErrorNone = 0,
    kErrorTargetFile = 8,       // a target file could not be created, or its name is refused
    kErrorLibrary = 1000,       // Cabinet.dll or one of its entry points is missing
    kErrorArguments = 1001,     // empty output folder, cabinet folder or name, or a broken encoding
    kErrorEncodedName = 1002,   // the cabinet's file name is an encoded wide path
    kErrorEncodedNotNt = 1003,  // an encoded wide folder on a system without wide file functions
    kErrorOutputTooLong = 1005,
    kErrorOutputBound = 1006,   // the files would write more than the extraction bound allows
  };

  CCabExtractor() = default;
  ~CCabExtractor();
  CCabExtractor(const CCabExtractor&) = delete;
  CCabExtractor& operator=(const CCabExtractor&) = delete;

  // Binds the library once and makes the decompression context. False with the error set.
  bool Init();
  // Extracts every file of the cabinet (and of the cabinets that continue it) below the
  // output folder. Narrow texts are Windows-1252; the output folder and the cabinet's folder
  // may be encoded wide paths (EncodedWidePath.h), the cabinet's name may not. False when
  // anything failed, also when an entry's name leaves nothing inside the folder or names a
  // file another entry wrote; a file that could not be written whole is removed again. A next
  // cabinet the library cannot go on in leaves its FDI error as the error code. A set whose
  // files would write more than the extraction bound (ExtractionBound.h) is refused before
  // anything is written (kErrorOutputBound).
  bool ExtractCabinet(LPCSTR outputFolder, LPCSTR cabinetPath);

  int GetErrorCode() const { return m_error; }
  // The cabinet library's error of the last copy (FDIERROR).
  int GetCabinetError() const { return m_erf.erfOper; }
  bool HasError() const { return m_errorFlag; }
  void Cancel() { m_cancel = true; }

 private:
  static INT_PTR Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION note);
  // Copies the cabinet and the cabinets that continue it; false when the library failed.
  bool CopySet(CStringA name, CStringA folder);
  INT_PTR OpenTarget(PFDINOTIFICATION note);
  INT_PTR CloseTarget(PFDINOTIFICATION note);
  void DiscardTarget();
  void Fail(int error);

  HMODULE m_module = nullptr;
  FDICreateFn m_create = nullptr;
  FDICopyFn m_copy = nullptr;
  FDIIsCabinetFn m_isCabinet = nullptr;
  FDIDestroyFn m_destroy = nullptr;
  HFDI m_context = nullptr;
  ERF m_erf = {};
  int m_error = kErrorNone;
  bool m_errorFlag = false;
  bool m_cancel = false;
  CString m_outputFolder;
  CStringA m_nextCabinet;
  HANDLE m_target = INVALID_HANDLE_VALUE;  // the file being written
  CString m_targetPath;
  std::set<CString> m_targets;  // every target written, in lower case
  bool m_counting = false;      // the walk that only adds up the sizes
  ULONGLONG m_unpacked = 0;     // what the set's files would write
  ULONGLONG m_packed = 0;       // the set's cabinet files
};
