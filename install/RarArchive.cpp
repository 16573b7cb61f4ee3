// RAR archives through the RAR library: the listing, and the extraction with each target
// path made safe and checked to stay below the destination.
#include "RarArchive.h"

#include <memory>

#include "ArchivePaths.h"
#include "ExtractionBound.h"

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

template <class Act>
bool CRarArchive::Walk(unsigned mode, LPCTSTR failureText, Act act) {
  const auto readHeader = Bind<RARReadHeaderExFn>("RARReadHeaderEx");
  const auto process = Bind<RARProcessFileWFn>("RARProcessFileW");
  const auto close = Bind<RARCloseArchiveFn>("RARCloseArchive");
  if (readHeader == nullptr || process == nullptr || close == nullptr) {
    m_errorText = _T("Load Error: unrar.dll could not be loaded");
    return false;
  }
  HANDLE archive = Open(mode);
  if (archive == nullptr) return false;
  auto header = std::make_unique<RARHeaderDataEx>();
  int result;
  while ((result = readHeader(archive, header.get())) == ERAR_SUCCESS) {
    if ((result = act(*header, archive, process)) != ERAR_SUCCESS) break;
  }
  close(archive);
  if (result != ERAR_END_ARCHIVE) {
    m_errorText = failureText;
    return false;
  }
  return true;
}

bool CRarArchive::ListEntries(LPCTSTR path) {
  m_archivePath = path;
  m_entries.clear();
  return Walk(RAR_OM_LIST, _T("Read Error: the RAR archive is damaged"),
              [this](const RARHeaderDataEx& header, HANDLE archive, RARProcessFileWFn process) {
                m_entries.push_back({CString(header.FileNameW),
                                     (static_cast<ULONGLONG>(header.PackSizeHigh) << 32) | header.PackSize,
                                     (static_cast<ULONGLONG>(header.UnpSizeHigh) << 32) | header.UnpSize});
                return process(archive, RAR_SKIP, nullptr, nullptr);
              });
}

bool CRarArchive::ExtractAll() {
  const CString folder = WithTrailingBackslash(m_destination);
  m_skippedLinks.clear();
  m_passedBound = false;
  ULONGLONG packed = 0, unpacked = 0;
  for (const Entry& entry : m_entries) {
    packed += entry.packedSize;
    unpacked += entry.unpackedSize;
  }
  if (unpacked > ExtractionBound(packed, folder)) {
    m_passedBound = true;
    m_errorText = _T("Extract Error: the RAR archive unpacks to more than its destination may take");
    return false;
  }
  return Walk(RAR_OM_EXTRACT, _T("Extract Error: an entry of the RAR archive could not be extracted"),
              [this, &folder](const RARHeaderDataEx& header, HANDLE archive, RARProcessFileWFn process) {
                // A link is never made; it is passed over and named, and the rest goes on.
                if ((header.FileAttr & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                  m_skippedLinks.push_back(CString(header.FileNameW));
                  return process(archive, RAR_SKIP, nullptr, nullptr);
                }
                const CString relative = MakeSafeEntryName(header.FileNameW);
                CString target = folder + relative;
                // A name with nothing left inside the folder is refused, never passed over.
                if (relative.IsEmpty() || !IsPathInsideFolder(folder, target)) {
                  process(archive, RAR_SKIP, nullptr, nullptr);
                  return ERAR_ECREATE;
                }
                const int result = process(archive, RAR_EXTRACT, nullptr, target.GetBuffer());
                target.ReleaseBuffer();
                return result;
              });
}
