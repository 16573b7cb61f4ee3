// CRarArchive: lists and extracts RAR archives through the RAR library ("unrar.dll", bound
// by name at each call). Every entry lands below the destination folder.
#pragma once
#include <afx.h>
#include <unrar.h>
#include <windows.h>

#include <vector>

class CRarArchive {
 public:
  struct Entry {
    CString name;
    ULONGLONG packedSize;
    ULONGLONG unpackedSize;
  };

  CRarArchive() = default;
  ~CRarArchive();
  CRarArchive(const CRarArchive&) = delete;
  CRarArchive& operator=(const CRarArchive&) = delete;

  // False with the error text "Load Error: unrar.dll could not be loaded".
  bool LoadLibrary();
  void FreeLibrary();
  // Reads the entry list; false when the archive cannot be opened ("Open Error: Failed to
  // open RAR file") or its headers are damaged ("Read Error: the RAR archive is damaged").
  bool ListEntries(LPCTSTR path);
  void SetDestination(LPCTSTR folder) { m_destination = folder; }
  // Extracts every entry of the listed archive (all volumes of a set) below the destination
  // folder. False at the first entry that fails or is refused: a link, a name that leads
  // nowhere inside the folder, data shorter than the entry's header says.
  bool ExtractAll();

  const CString& GetErrorText() const { return m_errorText; }
  const std::vector<Entry>& GetEntries() const { return m_entries; }

 private:
  HANDLE Open(unsigned mode);
  // Opens the archive in mode and hands each header to act, which answers the result of
  // processing that entry; false with failureText unless the walk reached the archive's end.
  template <class Act>
  bool Walk(unsigned mode, LPCTSTR failureText, Act act);
  template <class Fn>
  Fn Bind(const char* name) const {
    return m_module != nullptr ? reinterpret_cast<Fn>(GetProcAddress(m_module, name)) : nullptr;
  }

  HMODULE m_module = nullptr;
  CString m_errorText;
  CString m_archivePath;
  CString m_destination;
  std::vector<Entry> m_entries;
};
