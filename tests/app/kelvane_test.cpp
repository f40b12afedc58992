#include "app/kelvane.h"

#include <algorithm>


#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/recording/recording_platform.h"
#include "platform/shared/error_box.h"
#include "support/phase_log.h"

namespace kelvane {
namespace {

using platform::Operation;
using platform::Control;
using platform::Window;
using platform::recording::AddWindowsEnvironment;
using testing::PhasesCalled;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

constexpr const char* kBatchFile = "C:\\Users\\Demo User\\AppData\\Local\\Temp\\deleteoffice.bat";
constexpr const char* kRecord = "C:\\Program Files\\Kelvane 2010\\ResumeAfterRestart";
constexpr const char* kCopy = "C:\\Program Files\\Kelvane 2010\\kelvane2010.exe";
constexpr const char* kShortcut = "C:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk";
constexpr const char* kProgramFolder = "C:\\Program Files\\Microsoft Office\\Office14";
// The record the demo user's Go leaves.
const std::string kOwnRecord = std::string("due\r\nUser: ") + platform::recording::MachineState{}.userSid + "\r\n";

// The run's operations before the inventory that measures its outcome.
std::vector<std::string> BeforeOutcome(const std::vector<std::string>& log) {
  return {log.begin(), std::find(log.begin(), log.end(), "hide Loading")};
}

class KelvaneTest : public ::testing::Test {
 protected:
  KelvaneTest() { AddWindowsEnvironment(recorder.machine); }

  void StartAndPressGo() {
    tool.Start();
    tool.Clicked(Control::btnGo);
  }

  std::vector<std::string> WindowEvents() const {
    std::vector<std::string> events;
    for (const auto& entry : recorder.log()) {
      if (entry.rfind("show ", 0) == 0 || entry.rfind("hide ", 0) == 0 || entry.rfind("error ", 0) == 0 ||
          entry == "end") {
        events.push_back(entry);
      }
    }
    return events;
  }

  platform::recording::RecordingPlatform recorder;
  app::Kelvane tool{recorder.get()};
};

TEST_F(KelvaneTest, FirstRunShowsTheMainWindowAndChangesNothingUntilGo) {
  tool.Start();
  EXPECT_THAT(recorder.log(),
              ElementsAre("CreateObject WScript.Shell", "CreateObject Scripting.FileSystemObject",
                          "ExpandEnvironmentStrings %ProgramFiles%", std::string("FileExists ") + kRecord,
                          "ExecutablePath", "show Kelvane"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Kelvane));
}

TEST_F(KelvaneTest, GoRunsTheSixPhasesInOrderBehindTheProgressWindow) {
  StartAndPressGo();
  EXPECT_THAT(PhasesCalled(recorder.log()),
              ElementsAre("StopService", "UninstallMSIs", "RemoveFiles", "RemoveRegKeys", "SetupReboot", "Reboot"));
  EXPECT_THAT(WindowEvents(), ElementsAre("show Kelvane", "hide Kelvane", "show Loading"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Loading));
  EXPECT_EQ(recorder.log().back(), "RequestRestart 10 programs may save");
}

TEST_F(KelvaneTest, ResumedRunRemovesTheProgramFolderItselfFinishesAndEndsOnTheCompletionWindow) {
  recorder.machine.AddFile(kRecord, kOwnRecord);
  recorder.machine.AddFile(kCopy, "MZ");
  recorder.machine.AddFile(kShortcut);
  recorder.machine.AddFile(std::string(kProgramFolder) + "\\WINWORD.EXE");
  recorder.machine.AddFile(kBatchFile, "@echo off");
  recorder.machine.filesInUse.insert(kCopy);  // the copy is the running program
  const std::string helper = "C:\\Program Files\\Kelvane 2010\\Helper\\helper.dll";
  recorder.machine.AddFile(helper);
  recorder.machine.filesInUse.insert(helper);
  tool.Start();

  EXPECT_THAT(PhasesCalled(BeforeOutcome(recorder.log())), ElementsAre("RemoveFiles", "CleanUp"));
  EXPECT_THAT(WindowEvents(), ElementsAre("hide Kelvane", "show Loading", "hide Loading", "show Complete"));
  EXPECT_THAT(recorder.Entries("label "), ElementsAre("Finished Successfully"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Complete));
  // Nothing is run: the program folder goes through the file system, before
  // the file phase, with the administrator's rights.
  EXPECT_THAT(recorder.Entries("run "), IsEmpty());
  EXPECT_THAT(recorder.Entries("Delete "), ::testing::Contains(std::string(kProgramFolder) + " | force"));
  EXPECT_FALSE(recorder.machine.HasFolder(kProgramFolder));
  for (const char* trace : {kRecord, kShortcut, kBatchFile}) EXPECT_FALSE(recorder.machine.HasFile(trace)) << trace;
  // What stays goes at the restart, each folder after what it holds.
  EXPECT_THAT(recorder.machine.deletionsAtRestart,
              ElementsAre(kCopy, helper, "C:\\Program Files\\Kelvane 2010\\Helper", "C:\\Program Files\\Kelvane 2010"));
}

// Anyone can write the temporary folder: a batch file planted there, even
// read-only so that nothing rewrites it, makes no start a resumed run, and is
// never run.
TEST_F(KelvaneTest, APlantedBatchFileWithoutTheRecordIsAFirstRunAndNeverRuns) {
  recorder.machine.AddFile(kBatchFile, "copy evil.exe C:\\Windows", true);
  StartAndPressGo();
  EXPECT_THAT(PhasesCalled(recorder.log()),
              ElementsAre("StopService", "UninstallMSIs", "RemoveFiles", "RemoveRegKeys", "SetupReboot", "Reboot"));
  EXPECT_THAT(recorder.Entries("run "), ElementsAre("net stop ose"));
}

// The Startup shortcut left behind with no record (the run finished, or the
// record was lost): the copy it starts removes the shortcut and itself, and
// shows nothing.
TEST_F(KelvaneTest, AStartFromTheCopyWithNoRecordRemovesTheShortcutAndShowsNothing) {
  recorder.machine.AddFile(kCopy, "MZ");
  recorder.machine.AddFile(kShortcut);
  recorder.machine.executablePath = kCopy;
  tool.Start();
  EXPECT_FALSE(recorder.machine.HasFile(kShortcut));
  EXPECT_FALSE(recorder.machine.HasFolder("C:\\Program Files\\Kelvane 2010"));
  EXPECT_THAT(WindowEvents(), ElementsAre("end"));
  EXPECT_THAT(PhasesCalled(recorder.log()), IsEmpty());
}

// A failure that reaches the driver ends the run in the error box; nothing
// after it runs.
TEST_F(KelvaneTest, FailuresThatEndTheRun) {
  struct Case {
    Operation operation;
    const char* argument;
    bool resumed;
    std::vector<std::string> phases;
  };
  const std::vector<Case> cases = {
      // Load step on a first run: the main window is never shown.
      {Operation::CreateObject, "WScript.Shell", false, {}},
      {Operation::FileExists, "", false, {}},
      {Operation::ExpandEnvironmentStrings, "%ProgramFiles%", false, {}},
      {Operation::CreateObject, "Scripting.FileSystemObject", false, {}},
      // Set-up of RemoveFiles on a resumed run: CleanUp does not run.
      {Operation::ExpandEnvironmentStrings, "%appdata%", true, {"RemoveFiles"}},
      // Set-up of RemoveFiles on a first run: only the first two phases ran.
      {Operation::ExpandEnvironmentStrings, "%CommonProgramFiles%", false, {"StopService", "UninstallMSIs", "RemoveFiles"}},
      // The shortcut cannot be saved, nor the tool copied: no restart.
      {Operation::Save, "", false, {"StopService", "UninstallMSIs", "RemoveFiles", "RemoveRegKeys", "SetupReboot"}},
      {Operation::CopyFile, "", false, {"StopService", "UninstallMSIs", "RemoveFiles", "RemoveRegKeys", "SetupReboot"}},
      {Operation::Show, "Loading", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(platform::OperationName(c.operation)) + " " + c.argument);
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    if (c.resumed) run.machine.AddFile(kRecord, kOwnRecord);
    run.FailOn(c.operation, c.argument);
    app::Kelvane kelvane(run.get());
    kelvane.Start();
    if (!run.ended) kelvane.Clicked(Control::btnGo);

    EXPECT_TRUE(run.ended);
    EXPECT_THAT(run.Entries("error "), ElementsAre("Kelvane 2010 | Run-time error '0x80004005':\n\n" +
                                                   std::string(platform::OperationName(c.operation)) + " failed"));
    EXPECT_EQ(run.log().back(), "end");
    EXPECT_THAT(PhasesCalled(run.log()), ::testing::ContainerEq(c.phases));
    EXPECT_THAT(run.Entries("run shutdown"), IsEmpty());
  }
}

TEST_F(KelvaneTest, AFailedShortcutLeavesTheRecordSoTheNextStartResumes) {
  recorder.machine.AddFile("C:\\Users\\Demo User\\Downloads\\kelvane2010.exe", "MZ");
  recorder.FailOn(Operation::Save);
  StartAndPressGo();
  ASSERT_TRUE(recorder.ended);
  ASSERT_TRUE(recorder.machine.HasFile(kRecord));

  platform::recording::RecordingPlatform nextStart;
  nextStart.machine = recorder.machine;
  app::Kelvane(nextStart.get()).Start();
  EXPECT_THAT(PhasesCalled(BeforeOutcome(nextStart.log())), ElementsAre("RemoveFiles", "CleanUp"));
  EXPECT_FALSE(nextStart.machine.HasFile(kRecord));
}

TEST_F(KelvaneTest, LinksOpenTheirAddressesMaximisedEachTimeAndNothingElse) {
  tool.Start();
  tool.Clicked(Control::Label2);
  tool.Clicked(Control::Label2);
  tool.Clicked(Control::Picture1);
  EXPECT_THAT(recorder.Entries("open "),
              ElementsAre("http://www.kelvane.example/downloads/kelvane2010.exe | 3",
                          "http://www.kelvane.example/downloads/kelvane2010.exe | 3",
                          "https://www.payments.example/cgi-bin/webscr?cmd=_s-xclick&hosted_button_id=KELVANE2010 | 3"));
  EXPECT_FALSE(recorder.ended);
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Kelvane));
}

TEST_F(KelvaneTest, AnAddressThatCannotBeOpenedEndsTheRunInTheErrorBox) {
  tool.Start();
  recorder.FailOn(Operation::run);
  tool.Clicked(Control::Picture1);
  EXPECT_THAT(recorder.Entries("error "), ElementsAre("Kelvane 2010 | Run-time error '0x80004005':\n\nrun failed"));
  EXPECT_TRUE(recorder.ended);
}

// Where nothing that runs as the user can open it, the address is shown for
// the person to open; the elevated tool never opens it itself.
TEST_F(KelvaneTest, AnAddressThatCannotBeOpenedAsTheUserIsShownAndTheWindowStays) {
  tool.Start();
  recorder.machine.desktopShellGone = true;
  tool.Clicked(Control::Label2);
  EXPECT_THAT(recorder.Entries("error "),
              ElementsAre(std::string("Kelvane 2010 | ") + platform::kOpenItYourselfText +
                          "http://www.kelvane.example/downloads/kelvane2010.exe"));
  EXPECT_FALSE(recorder.ended);
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Kelvane));
}

TEST_F(KelvaneTest, FinishAndTheCloseBoxesEndTheTool) {
  for (const auto& end : {std::string("Finish"), std::string("close Complete"), std::string("close Kelvane")}) {
    SCOPED_TRACE(end);
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    app::Kelvane kelvane(run.get());
    kelvane.Start();
    if (end == "Finish") kelvane.Clicked(Control::Finish);
    if (end == "close Complete") kelvane.CloseRequested(Window::Complete);
    if (end == "close Kelvane") kelvane.CloseRequested(Window::Kelvane);
    EXPECT_TRUE(run.ended);
    EXPECT_THAT(run.Entries("error "), IsEmpty());
    EXPECT_THAT(PhasesCalled(run.log()), IsEmpty());
  }
}

// Loading has no close box: a close request for it changes nothing.
TEST_F(KelvaneTest, ACloseRequestForLoadingIsIgnored) {
  app::Kelvane kelvane(recorder.get());
  kelvane.Start();
  kelvane.CloseRequested(Window::Loading);
  EXPECT_FALSE(recorder.ended);
  EXPECT_THAT(recorder.Entries("error "), IsEmpty());
}

TEST_F(KelvaneTest, AnErrorBoxThatCannotBeShownStillEndsTheTool) {
  recorder.FailOn(Operation::run);
  recorder.FailOn(Operation::ShowErrorBox);
  app::Kelvane kelvane(recorder.get());
  kelvane.Start();
  kelvane.Clicked(Control::Picture1);
  EXPECT_THAT(recorder.Entries("error "), SizeIs(1));
  EXPECT_TRUE(recorder.ended);
}

// An administrator's filtered token starts the tool again with full rights;
// declined, the tool ends in the error box before the load step has looked
// at anything. Every other token runs as it is.
TEST_F(KelvaneTest, ALimitedTokenStartsTheToolAgainElevatedAndEnds) {
  recorder.machine.elevation = platform::Elevation::Limited;
  tool.Start();
  EXPECT_THAT(recorder.log(), ElementsAre("StartElevated", "end"));
}

TEST_F(KelvaneTest, DecliningElevationChangesNothingSoAResumedRunAsksAgain) {
  for (const bool resumed : {false, true}) {
    SCOPED_TRACE(resumed ? "resumed run" : "first run");
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.elevation = platform::Elevation::Limited;
    if (resumed) run.machine.AddFile(kRecord);
    if (resumed) run.machine.AddFile(kShortcut);
    run.FailOn(Operation::StartElevated);
    app::Kelvane(run.get()).Start();
    EXPECT_THAT(run.log(), ElementsAre("StartElevated",
                                       "error Kelvane 2010 | Run-time error '0x80004005':\n\nStartElevated failed",
                                       "end"));
    EXPECT_EQ(run.machine.HasFile(kRecord), resumed);
    EXPECT_EQ(run.machine.HasFile(kShortcut), resumed);
  }
}

TEST_F(KelvaneTest, FullStandardAndUnknownTokensRunAsTheyAre) {
  for (const auto elevation : {platform::Elevation::Full, platform::Elevation::Standard, platform::Elevation::Unknown}) {
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.elevation = elevation;
    app::Kelvane(run.get()).Start();
    EXPECT_THAT(run.log(), ElementsAre("CreateObject WScript.Shell", "CreateObject Scripting.FileSystemObject",
                                       "ExpandEnvironmentStrings %ProgramFiles%",
                                       std::string("FileExists ") + kRecord, "ExecutablePath", "show Kelvane"));
  }
}

// Unattended, on the recording machine: every phase in one pass with no
// window for /quiet and nothing left for a log-on; the exit code is what the
// inventory finds afterwards, and what is in use goes at the restart.
TEST(Unattended, OnePassWithoutAWindowEndsByWhatRemains) {
  struct Case {
    std::vector<std::string> arguments;
    bool fileInUse, keyRefused;
    int exitCode;
    std::vector<std::string> windows;
  };
  const std::string inUse = std::string(kProgramFolder) + "\\WINWORD.EXE";
  for (const Case& c : {Case{{"/quiet", "/norestart"}, false, false, 0, {}},
                        Case{{"/quiet", "/norestart"}, true, false, 3010, {}},
                        Case{{"/passive", "/norestart"}, false, true, 1603, {"Loading"}}}) {
    platform::recording::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.arguments = c.arguments;
    run.machine.AddFile(inUse);
    if (c.fileInUse) run.machine.filesInUse.insert(inUse);
    run.machine.AddKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\Word");
    if (c.keyRefused) run.machine.refusedKeys.insert("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\Word");
    app::Kelvane tool{run.get()};
    tool.Start();
    SCOPED_TRACE(c.arguments.front() + " exits " + std::to_string(c.exitCode));
    EXPECT_THAT(run.Entries("run "), ElementsAre("net stop ose"));
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, c.exitCode);
    std::vector<std::string> shown;
    for (const auto& entry : run.Entries("show ")) shown.push_back(entry);
    EXPECT_EQ(shown, c.windows);
    EXPECT_FALSE(run.machine.HasFile(kShortcut));
    EXPECT_FALSE(run.machine.HasFile(kBatchFile));
    EXPECT_EQ(run.machine.HasFile(inUse), c.fileInUse);
    EXPECT_EQ(run.machine.HasKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"), c.keyRefused);
    const std::vector<std::string> handed = c.fileInUse ? std::vector<std::string>{inUse, kProgramFolder}
                                                        : std::vector<std::string>{};
    EXPECT_EQ(run.machine.deletionsAtRestart, handed);
  }
}

}  // namespace
}  // namespace kelvane
