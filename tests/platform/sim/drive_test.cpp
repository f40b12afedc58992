// The file system object and the shell behave on the image's real files as
// they do on Windows.
#include <gtest/gtest.h>

#include "platform/sim/image/atomic_write.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_objects.h"
#include "sim_test_image.h"

namespace kelvane::platform::sim {
namespace {

namespace fs = std::filesystem;
using testing::TestImage;

const std::string kTemp = "C:\\Users\\Demo User\\AppData\\Local\\Temp";

class DriveTest : public ::testing::Test {
 protected:
  DriveTest() : image(false), machine(image.path()), objects(machine) {}

  long ErrorNumber(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const platform::Error& error) {
      return error.number();
    }
    return 0;
  }

  TestImage image;
  Machine machine;
  SimObjects objects;
};

TEST_F(DriveTest, NamesMatchWithoutRegardToCaseAndNewNamesKeepTheirCase) {
  auto fso = objects.CreateFileSystem();
  auto stream = fso->OpenTextFile("c:\\USERS\\demo user\\appdata\\LOCAL\\temp\\New File.TXT", platform::kForWriting, true);
  stream->WriteLine("one");
  stream->Close();
  EXPECT_TRUE(fs::exists(image.Host(kTemp + "\\New File.TXT")));
  EXPECT_TRUE(fso->FileExists(kTemp + "\\NEW FILE.txt"));
  EXPECT_EQ(fso->GetFolder("c:\\users\\\\demo user")->Path(), "C:\\Users\\Demo User");  // as the disk spells it
}

TEST_F(DriveTest, WriteLineWritesAnsiTextEndedByCrLf) {
  auto fso = objects.CreateFileSystem();
  auto stream = fso->OpenTextFile(kTemp + "\\a.bat", platform::kForWriting, true);
  stream->WriteLine("@echo off");
  stream->WriteLine("caf\xC3\xA9");
  stream->Close();
  EXPECT_EQ(ReadWholeFile(image.Host(kTemp + "\\a.bat")), "@echo off\r\ncaf\xE9\r\n");
}

TEST_F(DriveTest, FoldersAndFilesEnumerateSortedWithoutRegardToCase) {
  for (const char* name : {"b.txt", "A.txt", "c.txt"}) image.MakeFile(kTemp + "\\" + name);
  for (const char* name : {"zeta", "Beta", "alpha"}) fs::create_directories(image.Host(kTemp + "\\" + name));
  auto folder = objects.CreateFileSystem()->GetFolder(kTemp);
  std::vector<std::string> files;
  for (const auto& file : folder->Files()) files.push_back(file->Name());
  std::vector<std::string> folders;
  for (const auto& sub : folder->SubFolders()) folders.push_back(sub->Name());
  EXPECT_EQ(files, (std::vector<std::string>{"A.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(folders, (std::vector<std::string>{"alpha", "Beta", "zeta"}));
}

TEST_F(DriveTest, OtherDrivesAreEmpty) {
  auto fso = objects.CreateFileSystem();
  EXPECT_FALSE(fso->FileExists("D:\\Users\\Demo User\\Downloads\\kelvane2010.exe"));
  EXPECT_TRUE(fso->FileExists("C:\\Users\\Demo User\\Downloads\\kelvane2010.exe"));
}

TEST_F(DriveTest, LookupsPassThroughTheStartMenuJunction) {
  auto fso = objects.CreateFileSystem();
  auto startup = fso->GetFolder("C:\\ProgramData\\Start Menu\\Programs\\Startup");
  EXPECT_EQ(startup->Path(), "C:\\ProgramData\\Start Menu\\Programs\\Startup");
  EXPECT_TRUE(fso->FileExists("C:\\ProgramData\\Start Menu\\Programs\\Accessories\\Notepad.lnk"));
}

TEST_F(DriveTest, ExpansionLeavesUnknownReferencesAsTheyStand) {
  auto shell = objects.CreateShell();
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%temp%"), kTemp);
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%NoSuchThing%\\x"), "%NoSuchThing%\\x");
  EXPECT_EQ(shell->ExpandEnvironmentStrings("100%%ProgramFiles%"), "100%C:\\Program Files");
}

TEST_F(DriveTest, TheBatchInterpreterRemovesFoldersAndReportsWhatItDoesNotKnow) {
  image.MakeFile("C:\\Program Files\\Microsoft Office\\Office14\\WINWORD.EXE", "x", true);
  image.MakeFile(kTemp + "\\go.bat",
                 "@echo off\r\nrd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\"\r\ndel /F x\r\n");
  objects.CreateShell()->run("\"" + kTemp + "\\go.bat\"");
  EXPECT_FALSE(fs::exists(image.Host("C:\\Program Files\\Microsoft Office\\Office14")));
  EXPECT_TRUE(fs::exists(image.Host("C:\\Program Files\\Microsoft Office")));
  EXPECT_EQ(image.Events("cmd"), (std::vector<std::string>{"cmd\tnot recognised\tdel /F x"}));
}

TEST_F(DriveTest, CommandsTheMachineDoesNotHaveFailAsWindowsDoes) {
  auto shell = objects.CreateShell();
  EXPECT_EQ(ErrorNumber([&] { shell->run("format c:"); }), static_cast<long>(0x80070002));
  EXPECT_TRUE(image.Events("run").empty());
}

}  // namespace
}  // namespace kelvane::platform::sim
