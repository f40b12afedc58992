#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/ascii_case.h"
#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"
#include "restart/reboot.h"
#include "restart/setup_reboot.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kShortcut = "C:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk";

// The shortcut starts a copy where only administrators can write, named as
// the executable is, whole and in Unicode; the record comes first.
TEST(SetupReboot, SavesOneShortcutWithStyleFourToACopyOfTheToolAfterTheRecord) {
  platform::recording::RecordingPlatform recorder;
  platform::recording::AddWindowsEnvironment(recorder.machine);
  recorder.machine.AddFile(kShortcut, "an older shortcut");
  const std::string longFolder = "C:\\Users\\Zoë Ελένη 山田\\" + std::string(240, 'd');
  recorder.machine.executablePath = longFolder + "\\kelvane2010 Ελ.exe";
  recorder.machine.AddFile(recorder.machine.executablePath, "MZ tool");
  restart::SetupReboot(recorder.get());

  const std::string copy = "C:\\Program Files\\Kelvane 2010\\kelvane2010 Ελ.exe";
  EXPECT_THAT(recorder.Progress(), ElementsAre("Finalizing some tasks before reboot.."));
  EXPECT_THAT(recorder.Entries("CopyFile "), ElementsAre(recorder.machine.executablePath + " | " + copy));
  EXPECT_EQ(recorder.machine.files.at(copy).content, "MZ tool");
  EXPECT_THAT(recorder.Entries("OpenTextFile "),
              ElementsAre("C:\\Program Files\\Kelvane 2010\\ResumeAfterRestart | 2 | true"));
  EXPECT_EQ(recorder.machine.files.at(kShortcut).content, copy + "|4");
  EXPECT_THAT(recorder.Entries("Save "), ElementsAre(kShortcut));
  const auto& log = recorder.log();
  EXPECT_LT(std::find(log.begin(), log.end(), "Close C:\\Program Files\\Kelvane 2010\\ResumeAfterRestart"),
            std::find(log.begin(), log.end(), std::string("CreateShortcut ") + kShortcut));

  // Started from that copy (it was run by hand, its path spelt in another
  // case), it is not copied onto itself.
  platform::recording::RecordingPlatform again;
  again.machine = recorder.machine;
  again.machine.executablePath = UpperAscii(copy);
  restart::SetupReboot(again.get());
  EXPECT_THAT(again.Entries("CopyFile "), IsEmpty());
  EXPECT_TRUE(SameIgnoringAsciiCase(again.machine.files.at(kShortcut).content, copy + "|4"))
      << again.machine.files.at(kShortcut).content;
}

TEST(SetupReboot, TheFirstFailureEndsThePhaseAndGoesToTheCaller) {
  using enum platform::Operation;
  for (const platform::Operation operation : {CreateObject, ExecutablePath, ExpandEnvironmentStrings, CreateFolder, CopyFile,
                                              OpenTextFile, WriteLine, CreateShortcut, SetTargetPath, SetWindowStyle, Save,
                                              SetProgressCaption}) {
    SCOPED_TRACE(platform::OperationName(operation));
    platform::recording::RecordingPlatform recorder;
    platform::recording::AddWindowsEnvironment(recorder.machine);
    recorder.FailOn(operation);
    EXPECT_THROW(restart::SetupReboot(recorder.get()), platform::Error);
    EXPECT_FALSE(recorder.machine.HasFile(kShortcut));
  }
}

TEST(SetupReboot, AMissingOrReadOnlyStartupFolderFails) {
  for (bool missing : {true, false}) {
    platform::recording::RecordingPlatform recorder;
    platform::recording::AddWindowsEnvironment(recorder.machine);
    if (missing) {
      recorder.machine.folders.erase("C:\\ProgramData\\Start Menu\\Programs\\Startup");
    } else {
      recorder.machine.folders["C:\\ProgramData\\Start Menu\\Programs\\Startup"] = true;
    }
    EXPECT_THROW(restart::SetupReboot(recorder.get()), platform::Error);
    // The folder is not created.
    EXPECT_EQ(recorder.machine.HasFolder("C:\\ProgramData\\Start Menu\\Programs\\Startup"), !missing);
  }
}

TEST(Reboot, CountsDownFiveSecondsReadsTheNameOnceAndStartsTheRestart) {
  platform::recording::RecordingPlatform recorder;
  restart::Reboot(recorder.get());
  EXPECT_THAT(recorder.log(),
              ElementsAre("progress Rebooting.", "repaint", "Sleep 1000", "progress Rebooting..", "repaint", "Sleep 1000",
                          "progress Rebooting...", "repaint", "Sleep 1000", "progress Rebooting....", "repaint",
                          "Sleep 1000", "progress Rebooting.....", "repaint", "Sleep 1000", "CreateObject WScript.Network",
                          "ComputerName", "RequestRestart 10 programs may save"));
}

TEST(Reboot, TheWaitForANameIsBoundedAndTheRestartFollowsRegardless) {
  for (const std::string cause : {"empty name", "no network object", "every read fails"}) {
    SCOPED_TRACE(cause);
    platform::recording::RecordingPlatform recorder;
    if (cause == "empty name") recorder.machine.computerName.clear();
    if (cause == "no network object") recorder.FailOn(platform::Operation::CreateObject, "WScript.Network");
    if (cause == "every read fails") recorder.FailOn(platform::Operation::ComputerName);
    restart::Reboot(recorder.get());
    const auto pauses = recorder.Entries("Sleep ");
    // The countdown's five pauses, then 25 reads 200 ms apart.
    ASSERT_EQ(pauses.size(), 5u + 24u);
    for (std::size_t i = 5; i < pauses.size(); ++i) EXPECT_EQ(pauses[i], "200") << i;
    EXPECT_EQ(recorder.log().back(), "RequestRestart 10 programs may save");
  }
}

TEST(Reboot, ANameThatArrivesLateEndsTheWaitAtOnce) {
  platform::recording::RecordingPlatform recorder;
  // The first three reads fail: a network that comes up during the wait.
  recorder.FailOn(platform::Operation::ComputerName, "", 3);
  restart::Reboot(recorder.get());
  EXPECT_EQ(recorder.Entries("ComputerName").size(), 4u);
  EXPECT_EQ(recorder.Entries("Sleep ").size(), 5u + 3u);
}

TEST(Reboot, FailuresAreSkippedAndThePausesStillFollow) {
  platform::recording::RecordingPlatform recorder;
  recorder.FailOn(platform::Operation::SetProgressCaption);
  recorder.FailOn(platform::Operation::CreateObject, "WScript.Shell");
  EXPECT_NO_THROW(restart::Reboot(recorder.get()));
  EXPECT_EQ(recorder.Entries("Sleep 1000").size(), 5u);
  EXPECT_THAT(recorder.Entries("run "), IsEmpty());
}

}  // namespace
}  // namespace kelvane
