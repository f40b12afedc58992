#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/interface/error.h"
#include "platform/windows/folder_delete.h"
#include "platform/windows/windows_file_system.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

// REPARSE_DATA_BUFFER for a mount point (a junction), as Windows takes it.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  const std::wstring substitute = L"\\??\\" + target;
  const std::size_t substituteBytes = substitute.size() * sizeof(wchar_t);
  const std::size_t printBytes = target.size() * sizeof(wchar_t);
  const std::size_t pathBytes = substituteBytes + printBytes + 2 * sizeof(wchar_t);
  std::vector<unsigned char> buffer(8 + 8 + pathBytes, 0);
  const auto put16 = [&](std::size_t at, std::size_t value) {
    const auto word = static_cast<WORD>(value);
    std::memcpy(&buffer[at], &word, sizeof word);
  };
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(&buffer[0], &tag, sizeof tag);
  put16(4, 8 + pathBytes);
  put16(8, 0);
  put16(10, substituteBytes);
  put16(12, substituteBytes + sizeof(wchar_t));
  put16(14, printBytes);
  std::memcpy(&buffer[16], substitute.c_str(), substituteBytes);
  std::memcpy(&buffer[16 + substituteBytes + sizeof(wchar_t)], target.c_str(), printBytes);
  HANDLE handle = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  DWORD returned = 0;
  const BOOL ok = handle != INVALID_HANDLE_VALUE &&
                  DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                  nullptr, 0, &returned, nullptr);
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  if (!ok) RemoveDirectoryW(link.c_str());
  return ok && (GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The folders of the layout: laid out by make_link_fixture.sh under Wine,
// made here with junctions on Windows.
struct LinkLayout {
  std::wstring doomed;
  std::wstring outside;
};

bool PrepareLayout(const ScratchFolder& scratch, LinkLayout& layout) {
  const std::wstring fixture = scratch.path().substr(0, scratch.path().rfind(L'\\')) + L"\\kelvane-links";
  if (Exists(fixture + L"\\doomed\\junction")) {
    layout = {fixture + L"\\doomed", fixture + L"\\outside"};
    return true;
  }
  layout = {scratch / L"doomed", scratch / L"outside"};
  MakeFolder(layout.outside);
  MakeFolder(layout.outside + L"\\sub");
  WriteBytes(layout.outside + L"\\keep1.txt", "keep");
  WriteBytes(layout.outside + L"\\sub\\keep2.txt", "keep");
  MakeFolder(layout.doomed);
  MakeFolder(layout.doomed + L"\\inner");
  WriteBytes(layout.doomed + L"\\a.txt", "gone");
  WriteBytes(layout.doomed + L"\\inner\\b.txt", "gone");
  return MakeJunction(layout.doomed + L"\\junction", layout.outside) &&
         MakeJunction(layout.doomed + L"\\inner\\absolute link", layout.outside);
}

void ExpectOutsideIntact(const LinkLayout& layout) {
  EXPECT_EQ(ReadBytes(layout.outside + L"\\keep1.txt").substr(0, 4), "keep");
  EXPECT_EQ(ReadBytes(layout.outside + L"\\sub\\keep2.txt").substr(0, 4), "keep");
}

TEST(FolderDeletion, NeverFollowsAJunctionOrDirectoryLink) {
  ScratchFolder scratch;
  LinkLayout layout;
  if (!PrepareLayout(scratch, layout)) GTEST_SKIP() << "no way to make a directory link here";
  const auto folder = platform::windows::MakeFileSystem()->GetFolder(Utf8(layout.doomed));
  if (UnderWine()) {
    // Wine cannot remove a link to a non-empty folder (it answers 145, the
    // folder is not empty): the deletion goes on around it and then fails.
    EXPECT_THROW(folder->Delete(true), platform::Error);
  } else {
    folder->Delete(true);
    EXPECT_FALSE(Exists(layout.doomed));
  }
  ExpectOutsideIntact(layout);
  EXPECT_FALSE(Exists(layout.doomed + L"\\a.txt"));
  EXPECT_FALSE(Exists(layout.doomed + L"\\inner\\b.txt"));
}

TEST(FolderDeletion, ALinkDeletedAsAFolderTakesNothingBehindIt) {
  ScratchFolder scratch;
  LinkLayout layout;
  if (!PrepareLayout(scratch, layout)) GTEST_SKIP() << "no way to make a directory link here";
  const std::wstring junction = layout.doomed + L"\\junction";
  const auto link = platform::windows::MakeFileSystem()->GetFolder(Utf8(junction));
  if (UnderWine()) {
    // Wine lists the link as one but opens it as its target: it is refused
    // and stays.
    try {
      link->Delete(true);
      ADD_FAILURE() << "deleted through a link Wine opens as its target";
    } catch (const platform::Error& error) {
      EXPECT_EQ(error.number(), static_cast<long>(HRESULT_FROM_WIN32(ERROR_CANT_ACCESS_FILE)));
    }
    EXPECT_TRUE(Exists(junction));
  } else {
    link->Delete(true);
    EXPECT_FALSE(Exists(junction));
  }
  ExpectOutsideIntact(layout);
}

// Puts a link to the target where the folder was, as an attacker who can
// write the tree would.
bool SwapForLink(const std::wstring& folder, const std::wstring& movedTo, const std::wstring& target) {
  if (UnderWine()) return OnHost("mv \"$1\" \"$2\" && ln -s \"$3\" \"$1\"", {folder, movedTo, target});
  return MoveFileW(folder.c_str(), movedTo.c_str()) && MakeJunction(folder, target);
}

TEST(FolderDeletion, AFolderSwappedForALinkAfterTheListingIsNeverEntered) {
  ScratchFolder scratch;
  LinkLayout layout;
  if (!PrepareLayout(scratch, layout)) GTEST_SKIP() << "no way to make a directory link here";
  const std::wstring swap = scratch / L"swap", victim = swap + L"\\victim", moved = scratch / L"moved victim";
  MakeFolder(swap);
  MakeFolder(victim);
  WriteBytes(victim + L"\\v.txt", "gone");
  bool swapped = false;
  platform::windows::SetBeforeOpenHookForTests([&](const std::wstring& name) {
    if (name == L"victim") swapped = SwapForLink(victim, moved, layout.outside);
  });
  const auto folder = platform::windows::MakeFileSystem()->GetFolder(Utf8(swap));
  try {
    folder->Delete(true);
    EXPECT_FALSE(Exists(swap)) << "the link goes with the folder";
  } catch (const platform::Error&) {
    EXPECT_TRUE(UnderWine()) << "Wine cannot remove a link to a non-empty folder";
  }
  platform::windows::SetBeforeOpenHookForTests(nullptr);
  ASSERT_TRUE(swapped);
  ExpectOutsideIntact(layout);
  EXPECT_EQ(ReadBytes(moved + L"\\v.txt"), "gone");
  if (UnderWine()) OnHost("rm -f \"$1\"", {victim});
}

}  // namespace
}  // namespace kelvane::testing
