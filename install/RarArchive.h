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
  // folder. Links are never made: they are passed over and named in GetSkippedLinks(). False
  // at the first entry that fails or is refused (a name that leads nowhere inside the folder,
  // data shorter than the entry's header says), and before anything is written when the
  // listed entries would unpack past the extraction bound (ExtractionBound.h).
  bool ExtractAll();
  // The names of the link entries the last extraction passed over.
  const std::vector<CString>& GetSkippedLinks() const { return m_skippedLinks; }
  // Whether the last extraction was refused for passing the bound.
  bool PassedBound() const { return m_passedBound; }

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
  std::vector<CString> m_skippedLinks;
  bool m_passedBound = false;
};
