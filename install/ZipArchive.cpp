// The zip extraction wrapper over minizip: the archive is read through a Win32 file handle,
// names are read in the encoding their writer used and made safe, targets are checked to stay
// below the base folder and never taken by two entries, bzip2, LZMA and xz entries are decoded
// by our own decoders (libbz2, liblzma), entries of other methods are refused, and a target
// that cannot be written whole is removed.
#include "ZipArchive.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "ArchivePaths.h"
#include "ZipEntryDecoder.h"
#include "ZipDirectoryPatches.h"
#include "ZipEntryName.h"

namespace {

thread_local DWORD g_lastError = 0;  // one worker extracts or packs at a time; kept per thread

DWORD SetResult(DWORD result) { return SetZipLastError(result); }

constexpr DWORD kBufferSize = 65536;

constexpr DWORD kWindowSize = 262144;

// A stretch of the archive's bytes held in memory.
struct Window {
  LONGLONG start = 0;
  DWORD length = 0;
  std::vector<char> bytes;
};

struct ReaderState {
  HANDLE file = INVALID_HANDLE_VALUE;
  bool failed = false;
  // The archive is read through two windows of its bytes, so that the reader's many small
  // reads and seeks, which alternate between the central directory and the entries' data,
  // cost no call to the file system while they stay inside them.
  LONGLONG fileSize = 0;
  LONGLONG position = 0;
  Window windows[2];
  ZipDirectoryPatches patches;  // zip64 values and methods laid over what the reader reads
  int recent = 0;  // the window read from last
  unzFile archive = nullptr;
  uLong entries = 0;
  long current = -1;
  CString baseFolder;
  std::unique_ptr<char[]> buffer;
  std::unique_ptr<CZipEntryDecoder> decoder;  // the open entry's decoder when minizip hands it raw
  // The last described entry, so that extracting the entry just described reads it once; it
  // is left open after describing, ready to be read.
  int describedIndex = -1;
  bool entryOpen = false;
  ZipItemInfo described = {};
  unz_file_info64 describedInfo = {};
  CString lastFolder;  // the folder the last file was written into, known to exist
  // Every target written, in lower case, with the entry written there: a second entry never
  // overwrites the file of another.
  std::map<CString, int> targets;
  std::vector<char> nameBuffer = std::vector<char>(65536);
  std::vector<unsigned char> extraBuffer = std::vector<unsigned char>(65536);
};

// minizip's file functions over the state's handle.
voidpf OpenSource(voidpf opaque, const void*, int) { return opaque; }
// Moves a window to start at the reader's position; false when reading fails.
bool FillWindow(ReaderState& state, Window& window) {
  LARGE_INTEGER distance{};
  distance.QuadPart = state.position;
  DWORD got = 0;
  if (window.bytes.empty()) window.bytes.resize(kWindowSize);
  if (!SetFilePointerEx(state.file, distance, nullptr, FILE_BEGIN) ||
      !ReadFile(state.file, window.bytes.data(), kWindowSize, &got, nullptr)) {
    state.failed = true;
    window.length = 0;
    return false;
  }
  window.start = state.position;
  window.length = got;
  return true;
}

// The window holding the reader's position, filling the one used less lately when neither
// does; null at the end of the archive or when reading fails.
Window* WindowAtPosition(ReaderState& state) {
  for (int i : {state.recent, 1 - state.recent}) {
    const Window& window = state.windows[i];
    if (state.position >= window.start && state.position - window.start < window.length) {
      state.recent = i;
      return &state.windows[i];
    }
  }
  if (state.position >= state.fileSize) return nullptr;
  state.recent = 1 - state.recent;
  Window& window = state.windows[state.recent];
  return FillWindow(state, window) && window.length != 0 ? &window : nullptr;
}

uLong ReadSource(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* state = static_cast<ReaderState*>(stream);
  auto* target = static_cast<char*>(buffer);
  uLong copied = 0;
  while (copied < size) {
    const Window* window = WindowAtPosition(*state);
    if (window == nullptr) break;
    const LONGLONG offset = state->position - window->start;
    const uLong count = std::min<uLong>(size - copied, static_cast<uLong>(window->length - offset));
    std::memcpy(target + copied, window->bytes.data() + offset, count);
    ApplyZipPatches(state->patches.bytes, state->position, target + copied, count);
    copied += count;
    state->position += count;
  }
  return copied;
}
uLong WriteSource(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T TellSource(voidpf, voidpf stream) { return static_cast<ZPOS64_T>(static_cast<ReaderState*>(stream)->position); }
long SeekSource(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* state = static_cast<ReaderState*>(stream);
  const LONGLONG base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                        : origin == ZLIB_FILEFUNC_SEEK_END ? state->fileSize
                                                           : state->position;
  const LONGLONG target = base + static_cast<LONGLONG>(offset);
  if (target < 0) {
    state->failed = true;
    return -1;
  }
  state->position = target;
  return 0;
}
int CloseSource(voidpf, voidpf) { return 0; }
int ErrorSource(voidpf, voidpf stream) { return static_cast<ReaderState*>(stream)->failed ? 1 : 0; }

ReaderState* StateOf(HZIP zip, DWORD& result) {
  if (zip == nullptr) {
    result = kZipBadArgument;
    return nullptr;
  }
  if (zip->nKind != kZipHandleExtract) {
    result = kZipWrongHandle;
    return nullptr;
  }
  result = kZipOk;
  return static_cast<ReaderState*>(zip->pState);
}

FILETIME FromUnixTime(std::uint32_t seconds) {
  const ULONGLONG ticks = static_cast<ULONGLONG>(seconds) * 10000000ULL + 116444736000000000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

FILETIME FromDosTime(uLong dosDate) {
  FILETIME local{}, utc{};
  if (DosTimeToFileTime(static_cast<WORD>(dosDate >> 16), static_cast<WORD>(dosDate), local)) {
    LocalFileTimeToFileTime(&local, &utc);
  }
  return utc;
}

// Stored and deflated entries, which minizip decodes, and those whose raw bytes it hands to a
// decoder of ours; no Debian library behind the reader takes any other method.
bool CanDecode(const unz_file_info64& info) {
  return info.compression_method == 0 || info.compression_method == Z_DEFLATED ||
         ZipEntryDecoderTakes(info.compression_method);
}

// Opens the current entry for reading: decoded by minizip, or raw for a decoder of ours.
bool OpenEntry(ReaderState& state, const unz_file_info64& info) {
  const bool raw = ZipEntryDecoderTakes(info.compression_method);
  if (unzOpenCurrentFile2(state.archive, nullptr, nullptr, raw ? 1 : 0) != UNZ_OK) return false;
  state.entryOpen = true;
  state.decoder = raw ? MakeZipEntryDecoder(info.compression_method, info.flag, info.uncompressed_size) : nullptr;
  return true;
}

// The next decoded bytes of the open entry: the count, 0 at its end, negative on failure.
int ReadEntry(ReaderState& state, char* buffer, unsigned size) {
  if (!state.decoder) return unzReadCurrentFile(state.archive, buffer, size);
  return state.decoder->Read([&state](char* raw, unsigned count) { return unzReadCurrentFile(state.archive, raw, count); },
                           buffer, size);
}

DWORD Clamped(ZPOS64_T size) { return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(size); }

constexpr int kUnixHost = 3;
bool IsSymbolicLink(const unz_file_info64& info) {
  return (info.version >> 8) == kUnixHost && ((info.external_fa >> 16) & 0xF000) == 0xA000;
}

DWORD Attributes(const unz_file_info64& info) {
  const unsigned host = info.version >> 8;
  if (host == 0 || host == 7 || host == 11 || host == 14) return info.external_fa & 0x37;
  DWORD attributes = 0x20;
  if (info.external_fa & 0x40000000) attributes |= 0x10;
  if ((info.external_fa & 0x800000) == 0) attributes |= 0x01;
  return attributes;
}

// Reads the "UT" extended timestamp block of an extra field into the times it carries.
void ApplyExtendedTimes(const unsigned char* extra, std::size_t length, ZipItemInfo& item) {
  std::size_t offset = 0;
  while (offset + 4 <= length) {
    const unsigned id = extra[offset] | extra[offset + 1] << 8;
    const std::size_t size = extra[offset + 2] | extra[offset + 3] << 8;
    const unsigned char* data = extra + offset + 4;
    offset += 4 + size;
    if (offset > length) return;
    if (id != 0x5455 || size < 1) continue;
    const unsigned flags = data[0];
    std::size_t at = 1;
    FILETIME* targets[] = {&item.mtime, &item.atime, &item.ctime};
    for (unsigned bit = 0; bit < 3; ++bit) {
      if ((flags & (1u << bit)) == 0) continue;
      if (at + 4 > size) return;
      const std::uint32_t seconds = data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
                                    static_cast<std::uint32_t>(data[at + 3]) << 24;
      *targets[bit] = FromUnixTime(seconds);
      at += 4;
    }
  }
}

// Closes the entry left open by describing it.
void CloseEntry(ReaderState& state) {
  if (state.entryOpen) unzCloseCurrentFile(state.archive);
  state.entryOpen = false;
}

// Steps the reader to entry `index` (re-walking from the start when it lies behind).
bool GoToEntry(ReaderState& state, long index) {
  if (state.current < 0 || index < state.current) {
    if (unzGoToFirstFile(state.archive) != UNZ_OK) return false;
    state.current = 0;
  }
  while (state.current < index) {
    if (unzGoToNextFile(state.archive) != UNZ_OK) return false;
    ++state.current;
  }
  return true;
}

// Describes the current entry; the local header and its extra field are read too.
DWORD Describe(ReaderState& state, int index, ZipItemInfo& item, unz_file_info64& info) {
  if (index == state.describedIndex) {
    item = state.described;
    info = state.describedInfo;
    return kZipOk;
  }
  state.describedIndex = -1;
  CloseEntry(state);
  std::memset(&item, 0, sizeof item);
  item.index = index;
  if (!GoToEntry(state, index)) return kZipBadLocalHeader;
  if (unzGetCurrentFileInfo64(state.archive, &info, state.nameBuffer.data(), state.nameBuffer.size(),
                              state.extraBuffer.data(), state.extraBuffer.size(), nullptr, 0) != UNZ_OK) {
    return kZipBadLocalHeader;
  }
  // The reader was shown bzip2 for a method of ours.
  const auto method = state.patches.methods.find(static_cast<ULONGLONG>(index));
  if (method != state.patches.methods.end()) info.compression_method = method->second;
  const std::size_t nameLength = std::min<std::size_t>(info.size_filename, state.nameBuffer.size());
  const std::size_t extraLength = std::min<std::size_t>(info.size_file_extra, state.extraBuffer.size());
  const CString name = DecodeZipEntryName(state.nameBuffer.data(), nameLength, info.flag, state.extraBuffer.data(), extraLength);
  const CString safe = MakeSafeEntryName(name);
  const int copied = std::min(safe.GetLength(), MAX_PATH - 1);
  std::memcpy(item.name, safe.GetString(), static_cast<std::size_t>(copied) * sizeof(WCHAR));
  item.attr = Attributes(info);
  // A name ending in a separator is a folder, whatever its attributes say.
  if (!name.IsEmpty() && (name[name.GetLength() - 1] == _T('/') || name[name.GetLength() - 1] == _T('\\')))
    item.attr |= 0x10;
  item.mtime = item.atime = item.ctime = FromDosTime(info.dosDate);
  item.comp_size = Clamped(info.compressed_size);
  item.unc_size = Clamped(info.uncompressed_size);
  // The local extra field comes with the opened entry, which stays open for extracting it.
  // An entry the reader cannot decode is only described, with the times of its central
  // extra field.
  if (!CanDecode(info)) {
    ApplyExtendedTimes(state.extraBuffer.data(), extraLength, item);
  } else if ((info.flag & 1) == 0) {
    if (!OpenEntry(state, info)) return kZipBadLocalHeader;
    unsigned char extra[1024];
    const int extraLength = unzGetLocalExtrafield(state.archive, extra, sizeof extra);
    if (extraLength < 0) {
      CloseEntry(state);
      return kZipBadExtraData;
    }
    ApplyExtendedTimes(extra, static_cast<std::size_t>(extraLength), item);
  }
  state.describedIndex = index;
  state.described = item;
  state.describedInfo = info;
  return kZipOk;
}

// Writes the opened entry into the target file; the file is removed again on failure. An
// entry whose data end before its size does is damaged (the reader checks the CRC only of
// whole entries it decoded itself; the CRC of an entry our decoders decode is checked here).
DWORD WriteEntry(ReaderState& state, const CString& target, const ZipItemInfo& item, const unz_file_info64& info) {
  const ZPOS64_T size = info.uncompressed_size;
  uLong crc = crc32(0, nullptr, 0);
  HANDLE file = CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            (item.attr & 0x27) | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kZipCannotOpen;
  if (!state.buffer) state.buffer = std::make_unique<char[]>(kBufferSize);
  DWORD result = kZipOk;
  ZPOS64_T total = 0;
  for (;;) {
    const int got = ReadEntry(state, state.buffer.get(), kBufferSize);
    if (got < 0) {
      result = kZipDecompressFailed;
      break;
    }
    if (got == 0) {
      if (total != size || (state.decoder && crc != info.crc)) result = kZipDecompressFailed;
      break;
    }
    // Data running on past the declared size are damage, and never written.
    if (static_cast<ZPOS64_T>(got) > size - total) {
      result = kZipDecompressFailed;
      break;
    }
    total += static_cast<ZPOS64_T>(got);
    if (state.decoder) crc = crc32(crc, reinterpret_cast<const Bytef*>(state.buffer.get()), static_cast<uInt>(got));
    DWORD written = 0;
    if (!WriteFile(file, state.buffer.get(), static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got)) {
      result = kZipWriteFailed;
      break;
    }
  }
  // The CRC is checked when the entry is closed.
  state.entryOpen = false;
  if (unzCloseCurrentFile(state.archive) != UNZ_OK && result == kZipOk) result = kZipDecompressFailed;
  if (result == kZipOk) SetFileTime(file, &item.ctime, &item.atime, &item.mtime);
  CloseHandle(file);
  if (result != kZipOk) {
    SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(target);
  }
  return result;
}

}  // namespace

DWORD ZipLastError() { return g_lastError; }

DWORD SetZipLastError(DWORD result) {
  g_lastError = result;
  return result;
}

HZIP ZipArchiveOpen(LPCTSTR path) {
  auto state = std::make_unique<ReaderState>();
  state->file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size{};
  if (state->file == INVALID_HANDLE_VALUE || !GetFileSizeEx(state->file, &size)) {
    if (state->file != INVALID_HANDLE_VALUE) CloseHandle(state->file);
    SetResult(kZipCannotOpen);
    return nullptr;
  }
  state->fileSize = size.QuadPart;
  ReaderState* reader = state.get();
  state->patches = FindZipDirectoryPatches(
      [reader](LONGLONG offset, void* buffer, DWORD count) {
        reader->position = offset;
        return ReadSource(nullptr, reader, buffer, count) == count;
      },
      state->fileSize);
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenSource;
  functions.zread_file = ReadSource;
  functions.zwrite_file = WriteSource;
  functions.ztell64_file = TellSource;
  functions.zseek64_file = SeekSource;
  functions.zclose_file = CloseSource;
  functions.zerror_file = ErrorSource;
  functions.opaque = state.get();
  state->archive = unzOpen2_64("archive", &functions);
  unz_global_info64 global{};
  if (state->archive == nullptr || unzGetGlobalInfo64(state->archive, &global) != UNZ_OK) {
    if (state->archive != nullptr) unzClose(state->archive);
    CloseHandle(state->file);
    SetResult(kZipCannotOpen);
    return nullptr;
  }
  state->entries = static_cast<uLong>(global.number_entry);
  WCHAR current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  state->baseFolder = WithTrailingBackslash(current);
  SetResult(kZipOk);
  return new ZipHandle{kZipHandleExtract, state.release()};
}

DWORD ZipArchiveGetItem(HZIP zip, ZipItemInfo* item, int index) {
  DWORD result;
  ReaderState* state = StateOf(zip, result);
  if (state == nullptr) return SetResult(result);
  if (item == nullptr || index < -1 || index >= static_cast<long>(state->entries)) return SetResult(kZipBadArgument);
  if (index == -1) {
    std::memset(item, 0, sizeof *item);
    item->index = static_cast<int>(state->entries);
    return SetResult(kZipOk);
  }
  unz_file_info64 info{};
  return SetResult(Describe(*state, index, *item, info));
}

DWORD ZipArchiveSetBaseFolder(HZIP zip, LPCTSTR folder) {
  DWORD result;
  ReaderState* state = StateOf(zip, result);
  if (state == nullptr) return SetResult(result);
  if (folder == nullptr) return SetResult(kZipBadArgument);
  const CString base = WithTrailingBackslash(CString(folder).Left(MAX_PATH - 2));
  if (base != state->baseFolder) state->lastFolder.Empty();
  state->baseFolder = base;
  return SetResult(kZipOk);
}

DWORD ZipArchiveExtractItem(HZIP zip, LPCTSTR name, int index) {
  DWORD result;
  ReaderState* state = StateOf(zip, result);
  if (state == nullptr) return SetResult(result);
  if (index < 0 || index >= static_cast<long>(state->entries)) return SetResult(kZipBadArgument);
  ZipItemInfo item;
  unz_file_info64 info{};
  result = Describe(*state, index, item, info);
  if (result != kZipOk) return SetResult(result);
  // A link is never made: it could lead a later entry out of the base folder.
  if (IsSymbolicLink(info)) return SetResult(kZipCannotOpen);
  const CString relative = MakeSafeEntryName(name != nullptr && *name != 0 ? name : item.name);
  const CString target = state->baseFolder + relative;
  if (relative.IsEmpty() || !IsPathInsideFolder(state->baseFolder, target)) {
    // Nothing of the name is left to write (a bare ".." or a drive root).
    return SetResult((item.attr & 0x10) != 0 ? kZipOk : kZipCannotOpen);
  }
  if ((item.attr & 0x10) != 0) {
    return SetResult(CreateFolderPath(target) ? kZipOk : kZipCannotOpen);
  }
  if (info.flag & 1) return SetResult(kZipEncrypted);
  if (!CanDecode(info)) return SetResult(kZipUnsupportedMethod);
  CString key = target;
  key.MakeLower();
  const auto taken = state->targets.find(key);
  if (taken != state->targets.end() && taken->second != index) return SetResult(kZipCannotOpen);
  const CString folder = target.Left(target.ReverseFind(_T('\\')) + 1);
  if (folder != state->lastFolder) {
    if (!CreateFolderPath(folder)) return SetResult(kZipCannotOpen);
    state->lastFolder = folder;
  }
  if (!state->entryOpen && !OpenEntry(*state, info)) return SetResult(kZipBadLocalHeader);
  result = WriteEntry(*state, target, item, info);
  if (result == kZipOk) state->targets[key] = index;
  return SetResult(result);
}

DWORD ZipArchiveGetUnpackedTotal(HZIP zip, ULONGLONG* total) {
  DWORD result;
  ReaderState* state = StateOf(zip, result);
  if (state == nullptr) return SetResult(result);
  if (total == nullptr) return SetResult(kZipBadArgument);
  *total = 0;
  state->describedIndex = -1;
  CloseEntry(*state);
  for (long index = 0; index < static_cast<long>(state->entries); ++index) {
    unz_file_info64 info{};
    if (!GoToEntry(*state, index) ||
        unzGetCurrentFileInfo64(state->archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
      return SetResult(kZipBadLocalHeader);
    *total = info.uncompressed_size > ~0ULL - *total ? ~0ULL : *total + info.uncompressed_size;
  }
  return SetResult(kZipOk);
}

DWORD ZipArchiveClose(HZIP zip) {
  DWORD result;
  ReaderState* state = StateOf(zip, result);
  if (state == nullptr) return SetResult(result);
  unzClose(state->archive);
  CloseHandle(state->file);
  delete state;
  delete zip;
  return SetResult(kZipOk);
}
