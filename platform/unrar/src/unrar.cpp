// The RAR library's calls on libarchive. Archives are read from their host files, every
// volume of a set in turn; entries are written through the platform's file calls, so targets
// lie in the machine root. An entry is extracted whole or fails.
#include "unrar.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"
#include "stringapiset.h"
#include "volumes.h"
#include "zx/pathmap.h"

namespace {

// libarchive converts entry names through the thread's locale; this library's calls run in a
// UTF-8 one, so a name in any script comes through.
class Utf8Locale {
 public:
  Utf8Locale() : previous_(uselocale(Utf8())) {}
  ~Utf8Locale() { uselocale(previous_); }
  Utf8Locale(const Utf8Locale&) = delete;
  Utf8Locale& operator=(const Utf8Locale&) = delete;

 private:
  // Made once, freed when the library is unloaded.
  struct Handle {
    locale_t value = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    ~Handle() {
      if (value != static_cast<locale_t>(nullptr)) freelocale(value);
    }
  };
  static locale_t Utf8() {
    static const Handle utf8;
    return utf8.value != static_cast<locale_t>(nullptr) ? utf8.value : LC_GLOBAL_LOCALE;
  }
  locale_t previous_;
};

struct RarArchive {
  archive* reader = nullptr;
  archive_entry* entry = nullptr;  // the entry whose header was read last
  bool pending = false;             // its data not yet skipped or extracted
  std::u16string name;
  zx::unrar::SetHeaders headers;  // packed sizes, and whether a volume of the set is missing
  std::size_t index = 0;          // of the entry whose header was read last, plus one
};

std::u16string Widen(const char* text, UINT codePage) {
  if (text == nullptr || *text == 0) return {};
  const int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(codePage, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length) - 1);
  return wide;
}

std::string Narrow(const std::u16string& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

template <std::size_t N, class Char>
void CopyText(Char (&target)[N], const std::basic_string<Char>& text) {
  const std::size_t count = std::min(text.size(), N - 1);
  std::copy_n(text.data(), count, target);
  target[count] = 0;
}

bool IsSeparator(char16_t ch) { return ch == u'\\' || ch == u'/'; }

// The entry's name relative to the destination, or false when it names a drive, a root or
// a ".." step.
bool RelativeName(const std::u16string& name, std::u16string& relative) {
  if (name.empty() || IsSeparator(name[0]) || name.find(u':') != std::u16string::npos) return false;
  relative.clear();
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    const std::u16string step = name.substr(start, end - start);
    if (step == u"..") return false;
    if (!step.empty() && step != u".") {
      if (!relative.empty()) relative += u'\\';
      relative += step;
    }
    start = end + 1;
  }
  return !relative.empty();
}

bool CreateFolders(const std::u16string& path) {
  for (std::size_t i = 3; i <= path.size(); ++i) {
    if (i < path.size() && !IsSeparator(path[i])) continue;
    const std::u16string part = path.substr(0, i);
    const DWORD attributes = GetFileAttributesW(part.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
      continue;
    }
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return true;
}

int Skip(RarArchive& rar) {
  rar.pending = false;
  return archive_read_data_skip(rar.reader) == ARCHIVE_OK ? ERAR_SUCCESS : ERAR_BAD_DATA;
}

// Whether the entry is anything but a file or a folder: a symbolic or hard link, or a special file.
bool IsLink(const RarArchive& rar) {
  const mode_t type = archive_entry_filetype(rar.entry);
  return (type != AE_IFREG && type != AE_IFDIR) || archive_entry_hardlink(rar.entry) != nullptr;
}

// Reads the entry's data into the target (or nowhere when testing). Data that end before the
// size the header gives, or run on past it, are damaged.
int WriteData(RarArchive& rar, HANDLE file) {
  const void* block = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  la_int64_t end = 0;
  for (;;) {
    const int status = archive_read_data_block(rar.reader, &block, &size, &offset);
    if (status == ARCHIVE_EOF) {
      const bool whole = !archive_entry_size_is_set(rar.entry) || end == archive_entry_size(rar.entry);
      return whole ? ERAR_SUCCESS : ERAR_BAD_DATA;
    }
    if (status < ARCHIVE_WARN) return ERAR_BAD_DATA;
    end = std::max<la_int64_t>(end, offset + static_cast<la_int64_t>(size));
    if (archive_entry_size_is_set(rar.entry) && end > archive_entry_size(rar.entry)) return ERAR_BAD_DATA;
    if (file == nullptr) continue;
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    DWORD written = 0;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
        !WriteFile(file, block, static_cast<DWORD>(size), &written, nullptr) || written != size) {
      return ERAR_EWRITE;
    }
  }
}

int Extract(RarArchive& rar, const std::u16string& target) {
  rar.pending = false;
  if (archive_entry_filetype(rar.entry) == AE_IFDIR) {
    archive_read_data_skip(rar.reader);
    return CreateFolders(target) ? ERAR_SUCCESS : ERAR_ECREATE;
  }
  if (IsLink(rar)) {
    // Links are never made: they could lead a later entry out of the destination.
    archive_read_data_skip(rar.reader);
    return ERAR_ECREATE;
  }
  const std::size_t slash = target.find_last_of(u"\\/");
  if (slash != std::u16string::npos && !CreateFolders(target.substr(0, slash))) return ERAR_ECREATE;
  HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    archive_read_data_skip(rar.reader);
    return ERAR_ECREATE;
  }
  const int result = WriteData(rar, file);
  CloseHandle(file);
  if (result != ERAR_SUCCESS) DeleteFileW(target.c_str());
  return result;
}

int Process(HANDLE handle, int operation, const std::u16string& destPath, const std::u16string& destName) {
  auto* rar = static_cast<RarArchive*>(handle);
  if (rar == nullptr || !rar->pending) return ERAR_BAD_ARCHIVE;
  const Utf8Locale locale;
  if (operation == RAR_SKIP) return Skip(*rar);
  if (operation == RAR_TEST) {
    rar->pending = false;
    return WriteData(*rar, nullptr);
  }
  if (operation != RAR_EXTRACT) return ERAR_UNKNOWN;
  if (!destName.empty()) return Extract(*rar, destName);
  std::u16string relative;
  if (!RelativeName(rar->name, relative)) {
    Skip(*rar);
    return ERAR_ECREATE;
  }
  std::u16string target = destPath;
  if (!target.empty() && !IsSeparator(target.back())) target += u'\\';
  return Extract(*rar, target + relative);
}

// Reads the next header into the archive's entry; fills the common fields.
int NextHeader(RarArchive& rar) {
  if (rar.pending) Skip(rar);
  const int status = archive_read_next_header(rar.reader, &rar.entry);
  // The end of the volumes at hand is not the end of a set whose next volume is missing.
  if (status == ARCHIVE_EOF) return rar.headers.incomplete ? ERAR_EOPEN : ERAR_END_ARCHIVE;
  if (status < ARCHIVE_WARN) return ERAR_BAD_DATA;
  // A name that does not convert is damage, never an entry passed over.
  rar.name = Widen(archive_entry_pathname_utf8(rar.entry), CP_UTF8);
  if (rar.name.empty()) return ERAR_BAD_DATA;
  ++rar.index;
  rar.pending = true;
  return ERAR_SUCCESS;
}

}  // namespace

extern "C" HANDLE RAROpenArchiveEx(RAROpenArchiveDataEx* data) {
  if (data == nullptr) return nullptr;
  const Utf8Locale locale;
  const std::u16string path = data->ArcNameW != nullptr && *data->ArcNameW != 0 ? std::u16string(data->ArcNameW)
                                                                                 : Widen(data->ArcName, CP_ACP);
  std::string host;
  if (path.empty() || !zx::path::WindowsToHost(path, host)) {
    data->OpenResult = ERAR_EOPEN;
    return nullptr;
  }
  auto* rar = new RarArchive;
  rar->reader = archive_read_new();
  archive_read_support_format_rar(rar->reader);
  archive_read_support_format_rar5(rar->reader);
  // Names without RAR's Unicode form are MS-DOS text, as RAR for Windows writes them.
  archive_read_set_format_option(rar->reader, "rar", "hdrcharset", "CP437");
  const std::vector<std::string> volumes = zx::unrar::VolumeNames(host);
  std::vector<const char*> files;
  for (const std::string& volume : volumes) files.push_back(volume.c_str());
  files.push_back(nullptr);
  if (!zx::unrar::ReadSetHeaders(volumes, rar->headers)) rar->headers = zx::unrar::SetHeaders{};
  if (archive_read_open_filenames(rar->reader, files.data(), 65536) != ARCHIVE_OK) {
    const int error = archive_errno(rar->reader);
    data->OpenResult = error == ENOENT || error == EACCES ? ERAR_EOPEN : ERAR_BAD_ARCHIVE;
    archive_read_free(rar->reader);
    delete rar;
    return nullptr;
  }
  data->OpenResult = ERAR_SUCCESS;
  data->Flags = 0;
  return rar;
}

extern "C" int RARCloseArchive(HANDLE handle) {
  auto* rar = static_cast<RarArchive*>(handle);
  if (rar == nullptr) return ERAR_ECLOSE;
  const Utf8Locale locale;
  archive_read_free(rar->reader);
  delete rar;
  return ERAR_SUCCESS;
}

extern "C" int RARReadHeaderEx(HANDLE handle, RARHeaderDataEx* header) {
  auto* rar = static_cast<RarArchive*>(handle);
  if (rar == nullptr || header == nullptr) return ERAR_BAD_ARCHIVE;
  const Utf8Locale locale;
  const int result = NextHeader(*rar);
  if (result != ERAR_SUCCESS) return result;
  std::memset(header, 0, sizeof *header);
  CopyText(header->FileNameW, rar->name);
  CopyText(header->FileName, Narrow(rar->name));
  const auto size = static_cast<std::uint64_t>(archive_entry_size(rar->entry));
  header->UnpSize = static_cast<unsigned>(size);
  header->UnpSizeHigh = static_cast<unsigned>(size >> 32);
  // The packed size from the headers; where they could not be walked, the unpacked size.
  const std::vector<std::uint64_t>& packedSizes = rar->headers.packedSizes;
  const std::uint64_t packed = rar->index <= packedSizes.size() ? packedSizes[rar->index - 1] : size;
  header->PackSize = static_cast<unsigned>(packed);
  header->PackSizeHigh = static_cast<unsigned>(packed >> 32);
  const bool folder = archive_entry_filetype(rar->entry) == AE_IFDIR;
  header->Flags = folder ? RHDF_DIRECTORY : 0;
  header->FileAttr = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (IsLink(*rar)) header->FileAttr |= FILE_ATTRIBUTE_REPARSE_POINT;
  return ERAR_SUCCESS;
}

extern "C" int RARReadHeader(HANDLE handle, RARHeaderData* header) {
  RARHeaderDataEx extended;
  const int result = RARReadHeaderEx(handle, &extended);
  if (result != ERAR_SUCCESS || header == nullptr) return result;
  std::memset(header, 0, sizeof *header);
  CopyText(header->FileName, std::string(extended.FileName));
  header->Flags = extended.Flags;
  header->PackSize = extended.PackSize;
  header->UnpSize = extended.UnpSize;
  header->FileAttr = extended.FileAttr;
  return ERAR_SUCCESS;
}

extern "C" int RARProcessFile(HANDLE handle, int operation, char* destPath, char* destName) {
  return Process(handle, operation, Widen(destPath, CP_ACP), Widen(destName, CP_ACP));
}

extern "C" int RARProcessFileW(HANDLE handle, int operation, WCHAR* destPath, WCHAR* destName) {
  return Process(handle, operation, destPath != nullptr ? std::u16string(destPath) : std::u16string(),
                 destName != nullptr ? std::u16string(destName) : std::u16string());
}
