#include "platform/windows/file_items.h"

#include "platform/windows/directory_listing.h"
#include "platform/windows/folder_delete.h"
#include "platform/windows/long_path.h"
#include "platform/windows/text.h"

namespace kelvane::platform::windows {

namespace {

class WindowsFile final : public File {
 public:
  explicit WindowsFile(std::wstring longPath) : path_(std::move(longPath)) {}
  std::string Name() override { return Narrow(LeafName(path_)); }
  void Delete(bool force) override { DeleteOneFile(path_, force); }

 private:
  std::wstring path_;
};

class WindowsFolder final : public Folder {
 public:
  explicit WindowsFolder(std::wstring longPath) : path_(std::move(longPath)) {}
  std::string Name() override { return Narrow(LeafName(path_)); }
  std::string Path() override { return DisplayPath(path_); }

  std::vector<std::unique_ptr<Folder>> SubFolders() override {
    std::vector<std::unique_ptr<Folder>> folders;
    for (const DirectoryEntry& entry : ListDirectory(path_)) {
      if (entry.IsFolder()) folders.push_back(MakeFolder(Child(entry)));
    }
    return folders;
  }

  std::vector<std::unique_ptr<File>> Files() override {
    std::vector<std::unique_ptr<File>> files;
    for (const DirectoryEntry& entry : ListDirectory(path_)) {
      if (!entry.IsFolder()) files.push_back(MakeFile(Child(entry)));
    }
    return files;
  }

  void Delete(bool force) override { DeleteFolderTree(path_, force); }

 private:
  std::wstring Child(const DirectoryEntry& entry) const {
    return path_ + (path_.back() == L'\\' ? L"" : L"\\") + entry.name;
  }
  std::wstring path_;
};

}  // namespace

std::unique_ptr<Folder> MakeFolder(std::wstring longPath) { return std::make_unique<WindowsFolder>(std::move(longPath)); }

std::unique_ptr<File> MakeFile(std::wstring longPath) { return std::make_unique<WindowsFile>(std::move(longPath)); }

}  // namespace kelvane::platform::windows
