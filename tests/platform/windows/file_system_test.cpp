#include "platform/windows/windows_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/interface/error.h"
#include "platform/windows/text.h"
#include "platform/windows/windows_api.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

using platform::Error;
using platform::windows::MakeFileSystem;

std::vector<std::string> Names(const std::vector<std::unique_ptr<platform::File>>& items) {
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item->Name());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Names(const std::vector<std::unique_ptr<platform::Folder>>& items) {
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item->Name());
  std::sort(names.begin(), names.end());
  return names;
}

// A path deeper than 260 characters, built one folder at a time.
std::wstring DeepFolder(const ScratchFolder& scratch) {
  std::wstring path = Long(scratch.path());
  while (path.size() < 330) {
    path += L"\\" + std::wstring(40, L'd');
    MakeFolder(path);
  }
  return path;
}




TEST(FileLookup, FolderListsItsFilesAndSubFoldersWithUnicodeNames) {
  ScratchFolder scratch;
  WriteBytes(scratch / L"plain.txt", "x");
  WriteBytes(scratch / L"Gr\u00fc\u00dfe \u65e5\u672c.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  MakeFolder(scratch / L"{90140000-0011-0000-0000-0000000FF1CE}-C");
  MakeFolder(scratch / L"Caf\u00e9");
  const auto folder = MakeFileSystem()->GetFolder(scratch.Utf8());
  EXPECT_EQ(Names(folder->Files()), (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC.txt", "plain.txt"}));
  const auto subFolders = folder->SubFolders();
  EXPECT_EQ(Names(subFolders), (std::vector<std::string>{"Caf\xC3\xA9", "{90140000-0011-0000-0000-0000000FF1CE}-C"}));
  for (const auto& sub : subFolders) EXPECT_EQ(sub->Path(), scratch.Utf8() + "\\" + sub->Name());
}

// A name holding a lone surrogate, legal on NTFS, comes back as it is and can
// be deleted by it, in a folder and as a folder.
TEST(FileLookup, ANameWithALoneSurrogateIsFoundAndDeleted) {
  ScratchFolder scratch;
  const std::wstring lone = std::wstring(L"a") + static_cast<wchar_t>(0xD800) + L"b";
  EXPECT_EQ(platform::windows::Widen(platform::windows::Narrow(lone)), lone);
  if (!CreateDirectoryW((scratch / lone).c_str(), nullptr)) GTEST_SKIP() << "Wine 8 makes no such name";
  WriteBytes(scratch / (lone + L".txt"), "x");
  WriteBytes(scratch / (lone + L"\\inner.txt"), "x");
  const auto fso = MakeFileSystem();
  const auto folder = fso->GetFolder(scratch.Utf8());
  for (const auto& file : folder->Files()) fso->DeleteFile(scratch.Utf8() + "\\" + file->Name());
  for (const auto& sub : folder->SubFolders()) sub->Delete(true);
  EXPECT_FALSE(Exists(scratch / (lone + L".txt")));
  EXPECT_FALSE(Exists(scratch / lone));
}


TEST(FileDeletion, ForcedFileDeleteClearsReadOnlyHiddenAndSystem) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"Normal.dotm";
  WriteBytes(path, "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  const auto file = MakeFileSystem()->GetFile(Utf8(path));
  EXPECT_THROW(file->Delete(false), Error);
  EXPECT_TRUE(Exists(path));
  file->Delete(true);
  EXPECT_FALSE(Exists(path));
  // Hidden alone does not keep a file from an unforced deletion.
  WriteBytes(scratch / L"hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  MakeFileSystem()->DeleteFile(Utf8(scratch / L"hidden.txt"));
  EXPECT_FALSE(Exists(scratch / L"hidden.txt"));
}



// What stood at the copy's name goes as itself: a file sharing its content
// with another name, a read-only file, a link; what they led to stays.
TEST(FileCopy, ReplacesWhatStoodThereAndLeavesWhatItLedTo) {
  ScratchFolder scratch;
  const std::wstring source = scratch / L"kelvane2010.exe", outside = scratch / L"outside.txt";
  WriteBytes(source, "MZ new");
  WriteBytes(outside, "keep");
  ASSERT_TRUE(CreateHardLinkW((scratch / L"hard.exe").c_str(), outside.c_str(), nullptr));
  WriteBytes(scratch / L"read only.exe", "old", FILE_ATTRIBUTE_READONLY);
  // Wine shows a link to a file as the file itself, and deletes its target.
  const bool symbolic = !UnderWine() && MakeSymbolicLink(scratch / L"symbolic.exe", outside);
  const auto fso = MakeFileSystem();
  for (const wchar_t* name : {L"hard.exe", L"read only.exe", L"symbolic.exe", L"new.exe"}) {
    if (std::wstring(name) == L"symbolic.exe" && !symbolic) continue;
    fso->CopyFile(Utf8(source), Utf8(scratch / name));
    EXPECT_EQ(ReadBytes(scratch / name), "MZ new") << Utf8(name);
  }
  EXPECT_EQ(ReadBytes(outside), "keep");
  EXPECT_THROW(fso->CopyFile(Utf8(scratch / L"missing.exe"), Utf8(scratch / L"new.exe")), Error);
  EXPECT_EQ(ReadBytes(scratch / L"new.exe"), "MZ new") << "a missing source leaves the destination";
}

TEST(Folders, CreateFolderTakesAFolderThatIsThereButNotAFile) {
  ScratchFolder scratch;
  const auto fso = MakeFileSystem();
  fso->CreateFolder(Utf8(scratch / L"Kelvane 2010"));
  EXPECT_NO_THROW(fso->CreateFolder(Utf8(scratch / L"Kelvane 2010")));
  EXPECT_TRUE(GetFileAttributesW((scratch / L"Kelvane 2010").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  WriteBytes(scratch / L"file", "x");
  EXPECT_THROW(fso->CreateFolder(Utf8(scratch / L"file")), Error);
  EXPECT_THROW(fso->CreateFolder(Utf8(scratch / L"missing\\inner")), Error);
}

// The system keeps the request in the Session Manager's list, the path in
// the kernel's spelling.
TEST(FileDeletion, DeleteAtRestartIsHandedToTheSystem) {
  ScratchFolder scratch;
  WriteBytes(scratch / L"running.exe", "MZ");
  MakeFileSystem()->DeleteAtRestart(Utf8(scratch / L"running.exe"));
  std::wstring pending(65536, L'\0');
  DWORD size = static_cast<DWORD>(pending.size() * sizeof(wchar_t));
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                         L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending.data(), &size),
            ERROR_SUCCESS);
  EXPECT_NE(pending.find(L"\\??\\" + (scratch / L"running.exe") + L'\0'), std::wstring::npos);
}

// Only what really lies inside the system's Installer folder goes: not the
// folder itself, not a file elsewhere, not one reached through a link there.
TEST(FileDeletion, InstallerCacheIsDeletedOnlyInsideTheInstallerFolder) {
  wchar_t windows[MAX_PATH];
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring installer = std::wstring(windows) + L"\\Installer";
  const auto fso = MakeFileSystem();
  EXPECT_EQ(fso->InstallerFolder(), Utf8(installer));
  CreateDirectoryW(installer.c_str(), nullptr);
  ScratchFolder scratch;
  const std::wstring package = installer + L"\\kelvane" + std::to_wstring(GetCurrentProcessId());
  WriteBytes(package + L".msi", "cached", FILE_ATTRIBUTE_READONLY);
  MakeFolder(package);
  WriteBytes(package + L"\\icon.ico", "icon");
  WriteBytes(scratch / L"elsewhere.msi", "keep");
  const bool linked = MakeSymbolicLink(package + L"-link", scratch.path());
  fso->DeleteInstallerCache(Utf8(package + L".msi"));
  fso->DeleteInstallerCache(Utf8(package));
  EXPECT_FALSE(Exists(package + L".msi"));
  EXPECT_FALSE(Exists(package));
  for (const std::wstring& refused : {scratch / L"elsewhere.msi", installer, installer + L"\\..\\win.ini"}) {
    EXPECT_THROW(fso->DeleteInstallerCache(Utf8(refused)), Error) << Utf8(refused);
  }
  if (linked) {
    EXPECT_THROW(fso->DeleteInstallerCache(Utf8(package + L"-link\\elsewhere.msi")), Error);
    OnHost("rm -f \"$1\"", {package + L"-link"});
    RemoveDirectoryW((package + L"-link").c_str());
  }
  EXPECT_TRUE(Exists(scratch / L"elsewhere.msi"));
}

TEST(LongPaths, FoundListedAndDeletedBeyond260Characters) {
  ScratchFolder scratch;
  const std::wstring deep = DeepFolder(scratch);
  const std::wstring file = deep + L"\\Building Blocks.dotx";
  WriteBytes(file, "x", FILE_ATTRIBUTE_READONLY);
  const std::string plain = Utf8(file.substr(4));  // as the phases pass it: no prefix
  ASSERT_GT(plain.size(), 260u);
  const auto fso = MakeFileSystem();
  EXPECT_TRUE(fso->FileExists(plain));
  EXPECT_EQ(Names(fso->GetFolder(Utf8(deep.substr(4)))->Files()), std::vector<std::string>{"Building Blocks.dotx"});
  fso->GetFile(plain)->Delete(true);
  EXPECT_FALSE(Exists(file));

  WriteBytes(file, "x", FILE_ATTRIBUTE_READONLY);
  const std::wstring top = Long(scratch / std::wstring(40, L'd'));
  fso->GetFolder(Utf8(top.substr(4)))->Delete(true);
  EXPECT_FALSE(Exists(top));
}


}  // namespace
}  // namespace kelvane::testing
