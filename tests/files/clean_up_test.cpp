#include "files/clean_up.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/recording/recording_platform.h"

namespace kelvane {
namespace {

using platform::Operation;
using platform::recording::AddWindowsEnvironment;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kTemp = "C:\\Users\\Demo User\\AppData\\Local\\Temp\\";
constexpr const char* kShortcut = "C:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk";
constexpr const char* kRecord = "C:\\Program Files\\Kelvane 2010\\ResumeAfterRestart";

class CleanUpTest : public ::testing::Test {
 protected:
  CleanUpTest() {
    AddWindowsEnvironment(recorder.machine);
    recorder.machine.AddFile(std::string(kTemp) + "deleteoffice.bat");
    recorder.machine.AddFile(kShortcut);
    recorder.machine.AddFile(kRecord);
    recorder.machine.AddFile("C:\\Program Files\\Kelvane 2010\\kelvane2010.exe", "MZ");
  }
  std::string Temp(const std::string& name) const { return kTemp + name; }
  platform::recording::RecordingPlatform recorder;
};

TEST_F(CleanUpTest, DeletesItsTracesThenSweepsSubfoldersBeforeFiles) {
  recorder.machine.AddFile(Temp("b folder\\inner\\x.tmp"));
  recorder.machine.AddFolder(Temp("A folder"));
  recorder.machine.AddFile(Temp("one.tmp"));
  recorder.machine.AddFile(Temp("Three.log"), "", true);
  recorder.machine.AddFile(Temp("two.txt"));
  files::CleanUp(recorder.get());

  EXPECT_THAT(recorder.Progress(), ElementsAre("Cleaning Up", "Removing A folder", "Removing b folder",
                                               "Removing one.tmp", "Removing Three.log", "Removing two.txt"));
  // The user's own things with the user's rights, the machine's with the
  // administrator's.
  EXPECT_THAT(recorder.EntriesWithRights("DeleteFile "),
              ElementsAre("user " + Temp("deleteoffice.bat"), std::string("admin ") + kShortcut,
                          std::string("admin ") + kRecord));
  EXPECT_THAT(recorder.EntriesWithRights("Delete "),
              ElementsAre("admin C:\\Program Files\\Kelvane 2010 | force", "user " + Temp("A folder") + " | force",
                          "user " + Temp("b folder") + " | force", "user " + Temp("one.tmp") + " | force",
                          "user " + Temp("Three.log") + " | force", "user " + Temp("two.txt") + " | force"));
  EXPECT_FALSE(recorder.machine.HasFile(kShortcut));
  EXPECT_FALSE(recorder.machine.HasFolder("C:\\Program Files\\Kelvane 2010"));
  // The folder itself stays, emptied.
  EXPECT_TRUE(recorder.machine.HasFolder(kTemp));
  for (const auto& [path, file] : recorder.machine.files) EXPECT_NE(path.rfind(kTemp, 0), 0u) << path;
}

TEST_F(CleanUpTest, ReadOnlyTracesSurviveTheUnforcedDeleteAndTheBatchFileGoesInTheSweep) {
  recorder.machine.files[Temp("deleteoffice.bat")].readOnly = true;
  recorder.machine.files[kShortcut].readOnly = true;
  files::CleanUp(recorder.get());
  EXPECT_FALSE(recorder.machine.HasFile(Temp("deleteoffice.bat")));
  EXPECT_TRUE(recorder.machine.HasFile(kShortcut));
  EXPECT_THAT(recorder.Progress(), ElementsAre("Cleaning Up", "Removing deleteoffice.bat"));
}

TEST_F(CleanUpTest, ItemsInUseAreAnnouncedAndStayWhileTheSweepGoesOn) {
  recorder.machine.AddFile(Temp("busy\\held.dat"));
  recorder.machine.AddFile(Temp("busy\\free.dat"));
  recorder.machine.AddFile(Temp("held.log"));
  recorder.machine.AddFile(Temp("last.tmp"));
  recorder.FailOn(Operation::Delete, Temp("busy\\held.dat"));
  recorder.FailOn(Operation::Delete, Temp("held.log"));
  files::CleanUp(recorder.get());
  EXPECT_THAT(recorder.Progress(), ElementsAre("Cleaning Up", "Removing busy", "Removing held.log", "Removing last.tmp"));
  EXPECT_TRUE(recorder.machine.HasFile(Temp("busy\\held.dat")));
  EXPECT_FALSE(recorder.machine.HasFile(Temp("busy\\free.dat")));
  EXPECT_TRUE(recorder.machine.HasFile(Temp("held.log")));
  EXPECT_FALSE(recorder.machine.HasFile(Temp("last.tmp")));
}

// Where the user's own rights cannot be had, nothing of the user's is
// deleted with the administrator's instead.
TEST_F(CleanUpTest, WithoutTheUsersRightsTheUsersThingsStay) {
  recorder.machine.AddFile(Temp("one.tmp"));
  recorder.FailOn(Operation::ImpersonateUser);
  files::CleanUp(recorder.get());
  EXPECT_TRUE(recorder.machine.HasFile(Temp("deleteoffice.bat")));
  EXPECT_TRUE(recorder.machine.HasFile(Temp("one.tmp")));
  EXPECT_FALSE(recorder.machine.HasFile(kShortcut));
  EXPECT_FALSE(recorder.machine.HasFile(kRecord));
}

TEST_F(CleanUpTest, WithItsTracesAlreadyGoneBothSweepsStillRun) {
  recorder.machine.files.clear();
  recorder.machine.AddFolder(Temp("sub"));
  recorder.machine.AddFile(Temp("file.tmp"));
  files::CleanUp(recorder.get());
  EXPECT_THAT(recorder.Progress(), ElementsAre("Cleaning Up", "Removing sub", "Removing file.tmp"));
}

TEST_F(CleanUpTest, OnlyKelvaneLnkInTheCommonStartupFolderIsItsShortcut) {
  recorder.machine.AddFile("C:\\ProgramData\\Start Menu\\Programs\\Startup\\Other.lnk");
  recorder.machine.AddFile("C:\\Users\\Demo User\\Desktop\\Kelvane.lnk");
  files::CleanUp(recorder.get());
  EXPECT_TRUE(recorder.machine.HasFile("C:\\ProgramData\\Start Menu\\Programs\\Startup\\Other.lnk"));
  EXPECT_TRUE(recorder.machine.HasFile("C:\\Users\\Demo User\\Desktop\\Kelvane.lnk"));
}

TEST_F(CleanUpTest, WithoutAFileSystemObjectNothingIsDeletedAndTheLineReadsCleaningUp) {
  recorder.FailOn(Operation::CreateObject, "Scripting.FileSystemObject");
  files::CleanUp(recorder.get());
  EXPECT_THAT(recorder.Progress(), ElementsAre("Cleaning Up"));
  EXPECT_TRUE(recorder.machine.HasFile(Temp("deleteoffice.bat")));
  EXPECT_TRUE(recorder.machine.HasFile(kShortcut));
}

// A path that cannot be built is never used in part: no relative
// "deleteoffice.bat" or "\Kelvane.lnk" is deleted in whatever folder is current.
TEST_F(CleanUpTest, PathsThatCannotBeBuiltAreNotUsed) {
  recorder.FailOn(Operation::ExpandEnvironmentStrings);
  files::CleanUp(recorder.get());
  EXPECT_THAT(recorder.Entries("DeleteFile "), IsEmpty());
  EXPECT_THAT(recorder.Entries("GetFolderToEmpty "), IsEmpty());
  EXPECT_THAT(recorder.Progress(), ElementsAre("Cleaning Up"));
}

// Roots by their spelling, and every folder that is not the user's own, as
// the file system refuses them.
TEST_F(CleanUpTest, ATemporaryFolderSetToARootOrAFolderNotTheUsersOwnIsNeverSwept) {
  for (const std::string root :
       {"C:\\", "C:", "C:\\\\", "C:\\.", "C:\\Windows\\..", "C:/Windows/..", "\\\\server\\share", "\\\\?\\C:\\",
        "\\\\.\\C:\\Temp", "C:\\Windows", "C:\\Windows\\System32", "C:\\Windows\\Installer", "C:\\Program Files\\",
        "C:\\Program Files\\Common Files", "C:\\Users", "C:\\Users\\Public\\Documents", "C:\\Users\\Demo User",
        "C:\\Users\\Demo User\\Documents", "C:\\Users\\Anna", "C:\\ProgramData",
        "\\\\server\\profiles\\demo\\Temp", "\\\\localhost\\C$\\Users\\Demo User\\Temp"}) {
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.environment["TEMP"] = root;
    run.machine.AddFile("C:\\Windows\\explorer.exe");
    run.machine.AddFile("C:\\deleteoffice.bat");
    files::CleanUp(run.get());
    EXPECT_TRUE(run.machine.HasFile("C:\\Windows\\explorer.exe")) << root;
    EXPECT_THAT(run.Entries("Delete "), IsEmpty()) << root;
  }
}

// A folder that is not named in full would be found relative to the current
// folder, which at log-on is the system folder.
TEST_F(CleanUpTest, ATemporaryFolderNotNamedInFullIsNeverSwept) {
  for (const std::string temp : {"%USERPROFILE%\\AppData\\Local\\Temp", "Temp", "\\Temp", "C:Temp", "\\"}) {
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.environment["TEMP"] = temp;
    files::CleanUp(run.get());
    EXPECT_THAT(run.Entries("GetFolderToEmpty "), IsEmpty()) << temp;
  }
}

}  // namespace
}  // namespace kelvane
