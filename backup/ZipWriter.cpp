// The zip archive writer: local headers written before the data and rewritten with the final
// CRC and sizes, a central directory kept in memory, zlib's raw deflate for the data.
#include "ZipWriter.h"

#include <zlib.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kBlockSize = 16384;
constexpr DWORD kOutputSize = 65536;
constexpr ULONGLONG kFormatLimit = 0xFFFFFFFFull;
constexpr std::size_t kMaxEntries = 0xFFFF;
constexpr WORD kVersionMadeBy = 0x0B17;  // Windows NTFS, version 2.3
constexpr WORD kVersionNeeded = 20;
constexpr WORD kFlagSizesFollow = 8;
constexpr WORD kFlagUtf8Name = 0x800;
constexpr WORD kStored = 0;
constexpr WORD kDeflated = 8;
constexpr int kDeflateLevel = 8;
constexpr WORD kTimeExtraId = 0x5455;  // "UT"
constexpr BYTE kTimesPresent = 7;      // modification, access and creation
constexpr ULONGLONG kUnixEpochUnits = 116444736000000000ull;
constexpr ULONGLONG kUnitsPerSecond = 10000000ull;

struct EntryRecord {
  std::string name;
  WORD flags = kFlagSizesFollow;
  WORD method = kDeflated;
  WORD dosTime = 0;
  WORD dosDate = 0;
  DWORD crc = 0;
  ULONGLONG compressed = 0;
  ULONGLONG size = 0;
  DWORD external = 0;
  ULONGLONG offset = 0;
  DWORD modified = 0;
  DWORD accessed = 0;
  DWORD created = 0;
};

struct WriterState {
  HANDLE file = INVALID_HANDLE_VALUE;
  ULONGLONG offset = 0;
  bool broken = false;  // a failed entry could not be taken out again
  std::vector<EntryRecord> entries;
  std::vector<Bytef> input = std::vector<Bytef>(kBlockSize);
  std::vector<Bytef> output = std::vector<Bytef>(kOutputSize);
  z_stream stream{};
  bool deflateReady = false;

  ~WriterState() {
    if (deflateReady) deflateEnd(&stream);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};

void Put16(std::string& bytes, unsigned value) {
  bytes.push_back(static_cast<char>(value & 0xFF));
  bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& bytes, ULONGLONG value) {
  Put16(bytes, static_cast<unsigned>(value & 0xFFFF));
  Put16(bytes, static_cast<unsigned>((value >> 16) & 0xFFFF));
}

// The fields the local header and the central entry share: flags, method, DOS time and date,
// CRC, sizes and the name's length.
void PutEntryFields(std::string& bytes, const EntryRecord& entry) {
  Put16(bytes, entry.flags);
  Put16(bytes, entry.method);
  Put16(bytes, entry.dosTime);
  Put16(bytes, entry.dosDate);
  Put32(bytes, entry.crc);
  Put32(bytes, entry.compressed);
  Put32(bytes, entry.size);
  Put16(bytes, static_cast<unsigned>(entry.name.size()));
}

std::string LocalHeader(const EntryRecord& entry) {
  std::string bytes("PK\x03\x04", 4);
  Put16(bytes, kVersionNeeded);
  PutEntryFields(bytes, entry);
  Put16(bytes, 17);
  bytes += entry.name;
  Put16(bytes, kTimeExtraId);
  Put16(bytes, 13);
  bytes.push_back(static_cast<char>(kTimesPresent));
  Put32(bytes, entry.modified);
  Put32(bytes, entry.accessed);
  Put32(bytes, entry.created);
  return bytes;
}

void AppendCentralEntry(std::string& bytes, const EntryRecord& entry) {
  bytes.append("PK\x01\x02", 4);
  Put16(bytes, kVersionMadeBy);
  Put16(bytes, kVersionNeeded);
  PutEntryFields(bytes, entry);
  Put16(bytes, 9);
  Put16(bytes, 0);  // comment
  Put16(bytes, 0);  // disk
  Put16(bytes, 0);  // internal attributes
  Put32(bytes, entry.external);
  Put32(bytes, entry.offset);
  bytes += entry.name;
  Put16(bytes, kTimeExtraId);
  Put16(bytes, 5);
  bytes.push_back(static_cast<char>(kTimesPresent));
  Put32(bytes, entry.modified);
}

bool Write(WriterState& state, const void* data, DWORD size) {
  DWORD put = 0;
  const bool ok = WriteFile(state.file, data, size, &put, nullptr) && put == size;
  state.offset += put;
  return ok;
}

bool MoveTo(HANDLE file, ULONGLONG offset) {
  LARGE_INTEGER distance{};
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

std::string Utf8(const CString& text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// A file time as seconds since 1970, held to what 32 bits carry.
DWORD UnixTime(const FILETIME& time) {
  const ULONGLONG units = static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  if (units <= kUnixEpochUnits) return 0;
  const ULONGLONG seconds = (units - kUnixEpochUnits) / kUnitsPerSecond;
  return seconds > kFormatLimit ? 0xFFFFFFFFu : static_cast<DWORD>(seconds);
}

// The last write time (UTC) as MS-DOS date and time, held to the years 1980 to 2107.
void SetDosTime(const FILETIME& written, EntryRecord& entry) {
  SYSTEMTIME time{};
  if (!FileTimeToSystemTime(&written, &time) || time.wYear < 1980) {
    time = SYSTEMTIME{1980, 1, 0, 1, 0, 0, 0, 0};
  } else if (time.wYear > 2107) {
    time = SYSTEMTIME{2107, 12, 0, 31, 23, 59, 58, 0};
  }
  entry.dosDate = static_cast<WORD>((time.wYear - 1980) << 9 | time.wMonth << 5 | time.wDay);
  entry.dosTime = static_cast<WORD>(time.wHour << 11 | time.wMinute << 5 | time.wSecond / 2);
}

// The low byte keeps the read-only, hidden, system, folder and archive bits; the high half
// a Unix mode: folder or file, owner read, owner write unless read-only.
DWORD ExternalAttributes(DWORD attributes) {
  const DWORD kept = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
  DWORD mode = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0x4000 : 0x8000;
  mode |= 0x0100;
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) mode |= 0x0080;
  return mode << 16 | kept;
}

// Copies or deflates the source into the archive, keeping the CRC and both sizes.
DWORD WriteData(WriterState& state, HANDLE source, EntryRecord& entry) {
  const bool deflated = entry.method == kDeflated;
  if (deflated) {
    const int init = state.deflateReady
                         ? deflateReset(&state.stream)
                         : deflateInit2(&state.stream, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (init != Z_OK) return kZipWriteFailed;
    state.deflateReady = true;
  }
  uLong crc = crc32(0, nullptr, 0);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(source, state.input.data(), kBlockSize, &got, nullptr)) return kZipWriteFailed;
    crc = crc32(crc, state.input.data(), got);
    entry.size += got;
    if (entry.size > kFormatLimit) return kZipTooLarge;
    if (!deflated) {
      if (got == 0) break;
      if (!Write(state, state.input.data(), got)) return kZipWriteFailed;
      entry.compressed += got;
      continue;
    }
    z_stream& stream = state.stream;
    stream.next_in = state.input.data();
    stream.avail_in = got;
    const int flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
    int status = Z_OK;
    do {
      stream.next_out = state.output.data();
      stream.avail_out = kOutputSize;
      status = deflate(&stream, flush);
      if (status == Z_STREAM_ERROR) return kZipWriteFailed;
      const DWORD have = kOutputSize - stream.avail_out;
      entry.compressed += have;
      if (entry.compressed > kFormatLimit) return kZipTooLarge;
      if (have != 0 && !Write(state, state.output.data(), have)) return kZipWriteFailed;
    } while (stream.avail_out == 0);
    if (flush == Z_FINISH) {
      if (status != Z_STREAM_END) return kZipWriteFailed;
      break;
    }
  }
  entry.crc = static_cast<DWORD>(crc);
  return kZipOk;
}

DWORD AddEntry(WriterState& state, LPCTSTR source, LPCTSTR name) {
  if (state.broken) return kZipWriteFailed;
  CString entryName = name != nullptr ? name : _T("");
  entryName.Replace(_T('\\'), _T('/'));
  EntryRecord entry;
  entry.name = Utf8(entryName);
  if (entry.name.empty() || entry.name.size() > static_cast<std::size_t>(kZipMaxNameBytes)) return kZipBadArgument;
  // A name beyond ASCII says it is UTF-8, so other readers do not take it for code page 437.
  for (const char byte : entry.name) {
    if (static_cast<unsigned char>(byte) >= 0x80) entry.flags |= kFlagUtf8Name;
  }
  if (state.entries.size() >= kMaxEntries) return kZipTooLarge;
  entry.method = IsStoredZipEntryName(entryName) ? kStored : kDeflated;

  HANDLE file = CreateFileW(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kZipCannotOpen;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) {
    CloseHandle(file);
    return kZipCannotOpen;
  }
  const ULONGLONG size = static_cast<ULONGLONG>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  if (size > kFormatLimit) {
    CloseHandle(file);
    return kZipTooLarge;
  }
  entry.external = ExternalAttributes(info.dwFileAttributes);
  SetDosTime(info.ftLastWriteTime, entry);
  entry.modified = UnixTime(info.ftLastWriteTime);
  entry.accessed = UnixTime(info.ftLastAccessTime);
  entry.created = UnixTime(info.ftCreationTime);
  entry.offset = state.offset;
  entry.compressed = entry.method == kStored ? size : 0;
  entry.size = size;

  const std::string header = LocalHeader(entry);
  entry.compressed = 0;
  entry.size = 0;
  DWORD result = Write(state, header.data(), static_cast<DWORD>(header.size())) ? WriteData(state, file, entry)
                                                                                 : kZipWriteFailed;
  CloseHandle(file);
  if (result == kZipOk && state.offset > kFormatLimit) result = kZipTooLarge;
  if (result == kZipOk) {
    // The sizes are known now: the header is written again without the "sizes follow" flag.
    entry.flags &= static_cast<WORD>(~kFlagSizesFollow);
    const std::string final = LocalHeader(entry);
    DWORD put = 0;
    if (!MoveTo(state.file, entry.offset) ||
        !WriteFile(state.file, final.data(), static_cast<DWORD>(final.size()), &put, nullptr) ||
        put != final.size() || !MoveTo(state.file, state.offset)) {
      result = kZipWriteFailed;
    }
  }
  if (result != kZipOk) {
    // The entry's bytes are cut off again.
    if (MoveTo(state.file, entry.offset) && SetEndOfFile(state.file)) state.offset = entry.offset;
    else state.broken = true;
    return result;
  }
  state.entries.push_back(std::move(entry));
  return kZipOk;
}

DWORD WriteDirectory(WriterState& state) {
  if (state.broken) return kZipWriteFailed;
  std::string bytes;
  for (const EntryRecord& entry : state.entries) AppendCentralEntry(bytes, entry);
  const ULONGLONG directorySize = bytes.size();
  bytes.append("PK\x05\x06", 4);
  Put16(bytes, 0);
  Put16(bytes, 0);
  Put16(bytes, static_cast<unsigned>(state.entries.size()));
  Put16(bytes, static_cast<unsigned>(state.entries.size()));
  Put32(bytes, directorySize);
  Put32(bytes, state.offset);
  Put16(bytes, 0);
  return Write(state, bytes.data(), static_cast<DWORD>(bytes.size())) ? kZipOk : kZipWriteFailed;
}

}  // namespace

HZIP ZipArchiveCreate(LPCTSTR path) {
  auto state = std::make_unique<WriterState>();
  state->file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (state->file == INVALID_HANDLE_VALUE) {
    SetZipLastError(kZipCannotOpen);
    return nullptr;
  }
  SetZipLastError(kZipOk);
  return new ZipHandle{kZipHandleWrite, state.release()};
}

DWORD ZipArchiveAddFile(HZIP zip, LPCTSTR source, LPCTSTR name) {
  if (zip == nullptr) return SetZipLastError(kZipBadArgument);
  if (zip->nKind != kZipHandleWrite) return SetZipLastError(kZipWrongHandle);
  return SetZipLastError(AddEntry(*static_cast<WriterState*>(zip->pState), source, name));
}

DWORD ZipArchiveCloseWriter(HZIP zip) {
  if (zip == nullptr) return SetZipLastError(kZipBadArgument);
  if (zip->nKind != kZipHandleWrite) return SetZipLastError(kZipWrongHandle);
  std::unique_ptr<WriterState> state(static_cast<WriterState*>(zip->pState));
  delete zip;
  DWORD result = WriteDirectory(*state);
  if (!CloseHandle(state->file)) result = kZipWriteFailed;
  state->file = INVALID_HANDLE_VALUE;
  return SetZipLastError(result);
}

bool IsStoredZipEntryName(const CString& name) {
  static const LPCTSTR kStoredKinds[] = {_T(".Z"),   _T(".zip"), _T(".zoo"), _T(".arc"),
                                         _T(".lzh"), _T(".arj"), _T(".gz"),  _T(".tgz")};
  const int dot = name.ReverseFind(_T('.'));
  if (dot < 0) return false;
  const CString extension = name.Mid(dot);
  for (LPCTSTR kind : kStoredKinds) {
    if (extension.CompareNoCase(kind) == 0) return true;
  }
  return false;
}
