#include <gtest/gtest.h>

#include "files/remove_files.h"
#include "platform/interface/error.h"
#include "platform/windows/windows_file_system.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

using platform::kForWriting;
using platform::windows::MakeFileSystem;

TEST(BatchFile, TheTwoLinesAreSixtyFiveAnsiBytesWithCrLf) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"deleteoffice.bat";
  WriteBytes(path, std::string(200, 'o'));  // longer old content must not survive
  const auto stream = MakeFileSystem()->OpenTextFile(Utf8(path), kForWriting, true);
  stream->WriteLine(files::kBatchLine1);
  stream->WriteLine(files::kBatchLine2);
  stream->Close();
  EXPECT_EQ(ReadBytes(path),
            "@echo off\r\n"
            "rd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\"\r\n");
  EXPECT_EQ(ReadBytes(path).size(), 65u);
}

// A link planted under the batch file's name, to a file outside: the link
// goes as a link, the outside file keeps its content, and the batch file is
// made new. Wine shows a symbolic link as its target and cannot remove it
// safely: there the call fails and the outside file is kept all the same.
TEST(BatchFile, ALinkPlantedUnderItsNameIsNeverWrittenThrough) {
  ScratchFolder scratch;
  const std::wstring outside = scratch / L"outside.txt", path = scratch / L"deleteoffice.bat";
  WriteBytes(outside, "precious");
  for (const bool symbolic : {false, true}) {
    ASSERT_TRUE(symbolic ? MakeSymbolicLink(path, outside) : CreateHardLinkW(path.c_str(), outside.c_str(), nullptr));
    try {
      const auto stream = MakeFileSystem()->OpenTextFile(Utf8(path), kForWriting, true);
      stream->WriteLine(files::kBatchLine1);
      stream->WriteLine(files::kBatchLine2);
      stream->Close();
      EXPECT_EQ(ReadBytes(path).size(), 65u);
    } catch (const platform::Error&) {
      EXPECT_TRUE(symbolic && UnderWine());
      OnHost("rm -f \"$1\"", {path});
    }
    EXPECT_EQ(ReadBytes(outside), "precious") << symbolic;
    DeleteFileW(path.c_str());
  }
}

TEST(BatchFile, TextIsWrittenInTheAnsiCodePageNotUtf8) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"ansi.txt";
  const auto stream = MakeFileSystem()->OpenTextFile(Utf8(path), kForWriting, true);
  stream->WriteLine("caf\xC3\xA9");  // UTF-8 in the core
  stream->Close();
  char expected[8] = {};
  const wchar_t wide[] = L"caf\u00e9";
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 4, expected, 8, nullptr, nullptr), 4);
  EXPECT_EQ(ReadBytes(path), std::string(expected, 4) + "\r\n");
}

TEST(BatchFile, FailsAfterClose) {
  ScratchFolder scratch;
  const auto stream = MakeFileSystem()->OpenTextFile(Utf8(scratch / L"x.bat"), kForWriting, true);
  stream->Close();
  EXPECT_THROW(stream->WriteLine("late"), platform::Error);
}

}  // namespace
}  // namespace kelvane::testing
