// RAR archives through the RAR library: the listing, and the extraction with each target
// path made safe and checked to stay below the destination.
#include "RarArchive.h"

#include <memory>

#include "ArchivePaths.h"

CRarArchive::~CRarArchive() { FreeLibrary(); }

bool CRarArchive::LoadLibrary() {
  if (m_module == nullptr) m_module = LoadLibraryW(_T("unrar.dll"));
  if (m_module != nullptr) return true;
  m_errorText = _T("Load Error: unrar.dll could not be loaded");
  return false;
}

void CRarArchive::FreeLibrary() {
  if (m_module != nullptr) ::FreeLibrary(m_module);
  m_module = nullptr;
}

HANDLE CRarArchive::Open(unsigned mode) {
  const auto open = Bind<RAROpenArchiveExFn>("RAROpenArchiveEx");
  if (open == nullptr) {
    m_errorText = _T("Load Error: unrar.dll could not be loaded");
    return nullptr;
  }
  CStringA narrow(m_archivePath);
  CString wide(m_archivePath);
  RAROpenArchiveDataEx data = {};
  data.ArcName = narrow.GetBuffer();
  data.ArcNameW = wide.GetBuffer();
  data.OpenMode = mode;
  HANDLE archive = open(&data);
  if (archive == nullptr || data.OpenResult != ERAR_SUCCESS) {
    m_errorText = _T("Open Error: Failed to open RAR file");
    return nullptr;
  }
  return archive;
}

bool CRarArchive::ListEntries(LPCTSTR path) {
  m_archivePath = path;
  m_entries.clear();
  const auto readHeader = Bind<RARReadHeaderExFn>("RARReadHeaderEx");
  const auto process = Bind<RARProcessFileWFn>("RARProcessFileW");
  const auto close = Bind<RARCloseArchiveFn>("RARCloseArchive");
  if (readHeader == nullptr || process == nullptr || close == nullptr) {
    m_errorText = _T("Load Error: unrar.dll could not be loaded");
    return false;
  }
  HANDLE archive = Open(RAR_OM_LIST);
  if (archive == nullptr) return false;
  auto header = std::make_unique<RARHeaderDataEx>();
  int result;
  while ((result = readHeader(archive, header.get())) == ERAR_SUCCESS) {
    m_entries.push_back({CString(header->FileNameW),
                         (static_cast<ULONGLONG>(header->PackSizeHigh) << 32) | header->PackSize,
                         (static_cast<ULONGLONG>(header->UnpSizeHigh) << 32) | header->UnpSize});
    if ((result = process(archive, RAR_SKIP, nullptr, nullptr)) != ERAR_SUCCESS) break;
  }
  close(archive);
  if (result != ERAR_END_ARCHIVE) {
    m_errorText = _T("Read Error: the RAR archive is damaged");
    return false;
  }
  return true;
}

bool CRarArchive::ExtractAll() {
  const auto readHeader = Bind<RARReadHeaderExFn>("RARReadHeaderEx");
  const auto process = Bind<RARProcessFileWFn>("RARProcessFileW");
  const auto close = Bind<RARCloseArchiveFn>("RARCloseArchive");
  if (readHeader == nullptr || process == nullptr || close == nullptr) {
    m_errorText = _T("Load Error: unrar.dll could not be loaded");
    return false;
  }
  HANDLE archive = Open(RAR_OM_EXTRACT);
  if (archive == nullptr) return false;
  const CString folder = WithTrailingBackslash(m_destination);
  auto header = std::make_unique<RARHeaderDataEx>();
  int result;
  while ((result = readHeader(archive, header.get())) == ERAR_SUCCESS) {
    const CString relative = MakeSafeEntryName(header->FileNameW);
    CString target = folder + relative;
    if (relative.IsEmpty() || !IsPathInsideFolder(folder, target)) {
      result = process(archive, RAR_SKIP, nullptr, nullptr);
    } else {
      result = process(archive, RAR_EXTRACT, nullptr, target.GetBuffer());
      target.ReleaseBuffer();
    }
    if (result != ERAR_SUCCESS) break;
  }
  close(archive);
  if (result != ERAR_END_ARCHIVE) {
    m_errorText = _T("Extract Error: an entry of the RAR archive could not be extracted");
    return false;
  }
  return true;
}
