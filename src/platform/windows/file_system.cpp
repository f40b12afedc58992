#include "platform/windows/file_system.h"

#include <windows.h>
#undef DeleteFile

#include "platform/windows/file_items.h"
#include "platform/windows/folder_delete.h"
#include "platform/windows/long_path.h"
#include "platform/windows/text_stream.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

DWORD Attributes(const std::wstring& longPath) { return GetFileAttributesW(longPath.c_str()); }

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class WindowsFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    try {
      return IsFile(Attributes(LongPath(path)));
    } catch (const Error&) {
      return false;  // a path that cannot even be formed names no file
    }
  }

  std::unique_ptr<Folder> GetFolder(const std::string& path) override {
    std::wstring longPath = LongPath(path);
    if (!IsFolder(Attributes(longPath))) throw ErrorFromWin32(ERROR_PATH_NOT_FOUND);
    return MakeFolder(std::move(longPath));
  }

  std::unique_ptr<File> GetFile(const std::string& path) override {
    std::wstring longPath = LongPath(path);
    if (!IsFile(Attributes(longPath))) throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
    return MakeFile(std::move(longPath));
  }

  void DeleteFile(const std::string& path) override {
    const std::wstring longPath = LongPath(path);
    if (!IsFile(Attributes(longPath))) throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
    DeleteOneFile(longPath, false);
  }

  std::unique_ptr<TextStream> OpenTextFile(const std::string& path, std::int16_t ioMode, bool create) override {
    // Reading and appending are not used by the tool.
    if (ioMode != kForWriting) throw ErrorFromWin32(ERROR_NOT_SUPPORTED);
    return CreateAnsiTextFile(LongPath(path), create);
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<WindowsFileSystem>(); }

}  // namespace kelvane::platform::windows
