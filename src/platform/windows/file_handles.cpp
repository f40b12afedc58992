#include "platform/windows/file_handles.h"

#include <winternl.h>

#include "platform/windows/win_error.h"

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apcRoutine, PVOID apcContext,
                                               PIO_STATUS_BLOCK ioStatus, PVOID information, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace kelvane::platform::windows {

namespace {

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006L);
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000FL);

// FileDispositionInfoEx and its flags (Windows 10 1607 and later), which the
// headers only declare for a target version they never reach.
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosixSemantics = 0x2;
struct DispositionInfoEx {
  DWORD flags;
};

Error ErrorFromNtStatus(NTSTATUS status) { return ErrorFromWin32(RtlNtStatusToDosError(status)); }

UNICODE_STRING Counted(const std::wstring& text) {
  UNICODE_STRING counted;
  counted.Buffer = const_cast<wchar_t*>(text.c_str());
  counted.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  counted.MaximumLength = counted.Length;
  return counted;
}

// Reads one batch of entries into the list; false when there are no more.
bool QueryBatch(HANDLE folder, UNICODE_STRING* mask, bool first, std::vector<DirectoryEntry>& entries) {
  std::vector<LONGLONG> buffer(8192);  // 64 KiB, aligned for the records
  IO_STATUS_BLOCK status{};
  const NTSTATUS result = NtQueryDirectoryFile(
      folder, nullptr, nullptr, nullptr, &status, buffer.data(), static_cast<ULONG>(buffer.size() * sizeof(LONGLONG)),
      static_cast<FILE_INFORMATION_CLASS>(FileIdBothDirectoryInformation), mask != nullptr, mask, first);
  if (result == kNoMoreFiles || result == kNoSuchFile) return false;
  if (!NT_SUCCESS(result)) throw ErrorFromNtStatus(result);
  const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
  for (;;) {
    const auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
    std::wstring name(record->FileName, record->FileNameLength / sizeof(wchar_t));
    if (name != L"." && name != L"..") entries.push_back({std::move(name), record->FileAttributes, record->FileId.QuadPart});
    if (record->NextEntryOffset == 0) return true;
    at += record->NextEntryOffset;
  }
}

// The last error of a call that failed; never ERROR_SUCCESS, which the
// callers would take for a deletion done.
DWORD FailureCode() {
  const DWORD code = GetLastError();
  return code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code;
}

DWORD SetDeleteDisposition(HANDLE handle) {
  // POSIX semantics take the name away at once, even while others hold the
  // file open, so the folder above can go too.
  DispositionInfoEx posix{kDispositionDelete | kDispositionPosixSemantics};
  if (SetFileInformationByHandle(handle, kFileDispositionInfoEx, &posix, sizeof posix)) return ERROR_SUCCESS;
  const DWORD code = FailureCode();
  if (code != ERROR_INVALID_PARAMETER && code != ERROR_INVALID_FUNCTION && code != ERROR_NOT_SUPPORTED) return code;
  FILE_DISPOSITION_INFO legacy{TRUE};  // systems before Windows 10 1709, and file systems without it
  if (SetFileInformationByHandle(handle, FileDispositionInfo, &legacy, sizeof legacy)) return ERROR_SUCCESS;
  return FailureCode();
}

DWORD Attributes(HANDLE handle) {
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) throw LastWin32Error();
  return basic.FileAttributes;
}

bool SetAttributes(HANDLE handle, DWORD attributes) {
  FILE_BASIC_INFO basic{};  // times of zero stay as they are
  attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
  basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;  // zero would mean "unchanged"
  return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != 0;
}

}  // namespace

UniqueHandle OpenFolderForListing(const std::wstring& longPath) {
  const HANDLE folder = CreateFileW(longPath.c_str(), kListAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) throw LastWin32Error();
  return UniqueHandle(folder);
}

UniqueHandle OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, bool shareDelete,
                          bool ignoreCase) {
  UNICODE_STRING objectName = Counted(name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &objectName, ignoreCase ? OBJ_CASE_INSENSITIVE : 0, folder, nullptr);
  IO_STATUS_BLOCK status{};
  HANDLE handle = nullptr;
  const ULONG share = FILE_SHARE_READ | FILE_SHARE_WRITE | (shareDelete ? FILE_SHARE_DELETE : 0);
  const NTSTATUS result =
      NtCreateFile(&handle, access, &attributes, &status, nullptr, 0, share, FILE_OPEN,
                   FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (!NT_SUCCESS(result)) throw ErrorFromNtStatus(result);
  return UniqueHandle(handle);
}

UniqueHandle CreateInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access) {
  UNICODE_STRING objectName = Counted(name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK status{};
  HANDLE handle = nullptr;
  const NTSTATUS result = NtCreateFile(&handle, access, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL,
                                       FILE_SHARE_READ, FILE_CREATE,
                                       FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT,
                                       nullptr, 0);
  if (!NT_SUCCESS(result)) throw ErrorFromNtStatus(result);
  return UniqueHandle(handle);
}

std::vector<DirectoryEntry> ListFolder(HANDLE folder) {
  std::vector<DirectoryEntry> entries;
  for (bool first = true; QueryBatch(folder, nullptr, first, entries); first = false) {
  }
  return entries;
}

bool FindInFolder(HANDLE freshFolder, const std::wstring& name, DirectoryEntry& entry) {
  // A folder handle keeps the first name it was queried with; a fresh one is
  // needed. Wildcards cannot stand in a name, so only an equal name counts.
  std::wstring mask = name;
  UNICODE_STRING counted = Counted(mask);
  std::vector<DirectoryEntry> found;
  if (!QueryBatch(freshFolder, &counted, true, found) || found.empty()) return false;
  if (CompareStringOrdinal(found[0].name.c_str(), -1, name.c_str(), -1, TRUE) != CSTR_EQUAL) return false;
  entry = std::move(found[0]);
  return true;
}

HandleFacts QueryFacts(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle, &information)) throw LastWin32Error();
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) throw LastWin32Error();
  const auto id = (static_cast<std::int64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  return {tag.FileAttributes, tag.ReparseTag, id, information.nNumberOfLinks};
}

std::wstring HandleName(HANDLE handle) {
  std::vector<DWORD> buffer(1 + 1024);  // the length, then the name
  for (;;) {
    const auto bytes = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
    if (GetFileInformationByHandleEx(handle, FileNameInfo, buffer.data(), bytes)) break;
    if (GetLastError() != ERROR_MORE_DATA) throw LastWin32Error();
    buffer.resize(buffer.size() * 2);
  }
  const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buffer.data());
  return std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t));
}

void DeleteThroughHandle(HANDLE handle, bool force) {
  DWORD code = SetDeleteDisposition(handle);
  if (code == ERROR_SUCCESS) return;
  if (!force || code != ERROR_ACCESS_DENIED) throw ErrorFromWin32(code);
  const DWORD attributes = Attributes(handle);
  if (!(attributes & FILE_ATTRIBUTE_READONLY)) throw ErrorFromWin32(code);
  const bool otherNames = QueryFacts(handle).links > 1;
  if (!SetAttributes(handle, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) throw LastWin32Error();
  code = SetDeleteDisposition(handle);
  if (code != ERROR_SUCCESS || otherNames) SetAttributes(handle, attributes);
  if (code != ERROR_SUCCESS) throw ErrorFromWin32(code);
}

}  // namespace kelvane::platform::windows
