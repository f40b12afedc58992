#include "platform/windows/file_items.h"

#include "platform/windows/folder_delete.h"
#include "platform/windows/long_path.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

// The name as the disk spells it, whatever the spelling the item was looked
// up by; a volume or share root has only the path's.
std::string NameOf(const Listed& listed, const std::wstring& longPath) {
  return Narrow(listed.folder ? listed.entry.name : LeafName(longPath));
}

void DeleteListed(const Listed& listed, bool force) {
  if (!listed.folder) throw ErrorFromWin32(ERROR_ACCESS_DENIED);  // a volume or share root
  DeleteEntry(listed.folder->get(), listed.entry, force);
}

class WindowsFile final : public File {
 public:
  WindowsFile(Listed listed, std::wstring longPath) : listed_(std::move(listed)), path_(std::move(longPath)) {}
  std::string Name() override { return NameOf(listed_, path_); }
  void Delete(bool force) override { DeleteListed(listed_, force); }

 private:
  Listed listed_;
  std::wstring path_;
};

class WindowsFolder final : public Folder {
 public:
  WindowsFolder(Listed listed, std::wstring longPath, std::shared_ptr<UniqueHandle> listing = nullptr)
      : listed_(std::move(listed)), path_(std::move(longPath)), listing_(std::move(listing)) {}
  std::string Name() override { return NameOf(listed_, path_); }
  std::string Path() override { return DisplayPath(path_); }

  std::vector<std::unique_ptr<Folder>> SubFolders() override {
    std::vector<std::unique_ptr<Folder>> folders;
    for (const DirectoryEntry& entry : ListFolder(Listing()->get())) {
      if (entry.IsFolder()) folders.push_back(MakeFolder({listing_, entry}, ChildPath(entry)));
    }
    return folders;
  }

  std::vector<std::unique_ptr<File>> Files() override {
    std::vector<std::unique_ptr<File>> files;
    for (const DirectoryEntry& entry : ListFolder(Listing()->get())) {
      if (!entry.IsFolder()) files.push_back(MakeFile({listing_, entry}, ChildPath(entry)));
    }
    return files;
  }

  void Delete(bool force) override { DeleteListed(listed_, force); }

 private:
  // The folder's own handle, opened from its parent's without following a
  // link: a link is never listed through, and a folder replaced since its
  // parent listed it is not listed either.
  const std::shared_ptr<UniqueHandle>& Listing() {
    if (listing_) return listing_;
    if (!listed_.folder) {
      listing_ = std::make_shared<UniqueHandle>(OpenFolderForListing(path_));
      return listing_;
    }
    if (listed_.entry.IsLink()) throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
    UniqueHandle handle = OpenInFolder(listed_.folder->get(), listed_.entry.name, kListAccess, true, false);
    const HandleFacts facts = QueryFacts(handle.get());
    if (facts.IsLink()) throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
    if (facts.fileId != listed_.entry.fileId || !facts.IsFolder()) throw ErrorFromWin32(ERROR_FILE_INVALID);
    listing_ = std::make_shared<UniqueHandle>(std::move(handle));
    return listing_;
  }
  std::wstring ChildPath(const DirectoryEntry& entry) const {
    return path_ + (path_.back() == L'\\' ? L"" : L"\\") + entry.name;
  }

  Listed listed_;
  std::wstring path_;
  std::shared_ptr<UniqueHandle> listing_;
};

}  // namespace

std::unique_ptr<Folder> MakeFolder(Listed listed, std::wstring longPath) {
  return std::make_unique<WindowsFolder>(std::move(listed), std::move(longPath));
}

std::unique_ptr<Folder> MakeOpenFolder(UniqueHandle listing, std::wstring longPath) {
  return std::make_unique<WindowsFolder>(Listed{}, std::move(longPath),
                                         std::make_shared<UniqueHandle>(std::move(listing)));
}

std::unique_ptr<File> MakeFile(Listed listed, std::wstring longPath) {
  return std::make_unique<WindowsFile>(std::move(listed), std::move(longPath));
}

}  // namespace kelvane::platform::windows
