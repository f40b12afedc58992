#include "app/kelvane.h"

#include <algorithm>

#include "app/error_box.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/phase_log.h"
#include "support/recording_platform.h"

namespace kelvane {
namespace {

using platform::Control;
using platform::Window;
using testing::AddWindowsEnvironment;
using testing::PhasesCalled;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

constexpr const char* kBatchFile = "C:\\Users\\Demo User\\AppData\\Local\\Temp\\deleteoffice.bat";

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

  testing::RecordingPlatform recorder;
  app::Kelvane tool{recorder.get()};
};

TEST_F(KelvaneTest, FirstRunShowsTheMainWindowAndChangesNothingUntilGo) {
  tool.Start();
  EXPECT_THAT(recorder.log(),
              ElementsAre("CreateObject WScript.Shell", "CreateObject Scripting.FileSystemObject",
                          "ExpandEnvironmentStrings %temp%", std::string("FileExists ") + kBatchFile, "show Kelvane"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Kelvane));
}

TEST_F(KelvaneTest, GoRunsTheSixPhasesInOrderBehindTheProgressWindow) {
  StartAndPressGo();
  EXPECT_THAT(PhasesCalled(recorder.log()),
              ElementsAre("StopService", "UninstallMSIs", "RemoveFiles", "RemoveRegKeys", "SetupReboot", "Reboot"));
  EXPECT_THAT(WindowEvents(), ElementsAre("show Kelvane", "hide Kelvane", "show Loading"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Loading));
  EXPECT_EQ(recorder.log().back(), "run shutdown -r -t 10 -f");
}

TEST_F(KelvaneTest, ResumedRunStartsTheBatchFileFinishesAndEndsOnTheCompletionWindow) {
  recorder.machine.AddFile(kBatchFile, "anything at all");
  tool.Start();

  EXPECT_THAT(PhasesCalled(recorder.log()), ElementsAre("RemoveFiles", "CleanUp"));
  EXPECT_THAT(WindowEvents(), ElementsAre("hide Kelvane", "show Loading", "hide Loading", "show Complete"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Complete));

  // The batch file is started quoted, before RemoveFiles, and waited for
  // before CleanUp deletes it.
  const auto& log = recorder.log();
  const auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
  const auto started = at(std::string("run \"") + kBatchFile + "\"");
  ASSERT_LT(started, static_cast<long>(log.size()));
  EXPECT_LT(started, at("ExpandEnvironmentStrings %CommonProgramFiles%"));
  EXPECT_LT(at("ExpandEnvironmentStrings %CommonProgramFiles%"), at("WaitForExit 60000"));
  EXPECT_LT(at("WaitForExit 60000"), at("progress Cleaning Up"));
  EXPECT_FALSE(recorder.machine.HasFile(kBatchFile));
}

TEST_F(KelvaneTest, BatchFileInAFolderWithBlanksIsStartedAsOneQuotedPath) {
  recorder.machine.environment["TEMP"] = "C:\\Users\\Anna Maria Schmidt\\AppData\\Local\\Temp";
  recorder.machine.AddFile("C:\\Users\\Anna Maria Schmidt\\AppData\\Local\\Temp\\deleteoffice.bat");
  tool.Start();
  EXPECT_THAT(recorder.Entries("run "),
              ElementsAre("\"C:\\Users\\Anna Maria Schmidt\\AppData\\Local\\Temp\\deleteoffice.bat\""));
}

TEST_F(KelvaneTest, AFailedWaitForTheBatchFileStillCleansUp) {
  recorder.machine.AddFile(kBatchFile);
  recorder.FailOn("WaitForExit");
  tool.Start();
  EXPECT_THAT(PhasesCalled(recorder.log()), ElementsAre("RemoveFiles", "CleanUp"));
  EXPECT_THAT(recorder.visible, ElementsAre(Window::Complete));
}

// A failure that reaches the driver ends the run in the error box; nothing
// after it runs.
TEST_F(KelvaneTest, FailuresThatEndTheRun) {
  struct Case {
    const char* operation;
    const char* argument;
    bool resumed;
    std::vector<std::string> phases;
  };
  const std::vector<Case> cases = {
      // Load step on a first run: the main window is never shown.
      {"CreateObject", "WScript.Shell", false, {}},
      {"FileExists", "", false, {}},
      {"ExpandEnvironmentStrings", "%temp%", false, {}},
      {"CreateObject", "Scripting.FileSystemObject", false, {}},
      // A refused batch file: neither RemoveFiles nor CleanUp runs.
      {"run", "", true, {}},
      // Set-up of RemoveFiles on a resumed run: CleanUp does not run.
      {"ExpandEnvironmentStrings", "%appdata%", true, {"RemoveFiles"}},
      // Set-up of RemoveFiles on a first run: only the first two phases ran.
      {"ExpandEnvironmentStrings", "%CommonProgramFiles%", false, {"StopService", "UninstallMSIs", "RemoveFiles"}},
      // The shortcut cannot be saved: no restart.
      {"Save", "", false, {"StopService", "UninstallMSIs", "RemoveFiles", "RemoveRegKeys", "SetupReboot"}},
      {"Show", "Loading", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.operation) + " " + c.argument);
    testing::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    if (c.resumed) run.machine.AddFile(kBatchFile);
    run.FailOn(c.operation, c.argument);
    app::Kelvane kelvane(run.get());
    kelvane.Start();
    if (!run.ended) kelvane.Clicked(Control::btnGo);

    EXPECT_TRUE(run.ended);
    EXPECT_THAT(run.Entries("error "), ElementsAre("Kelvane 2010 | Run-time error '0x80004005':\n\n" +
                                                   std::string(c.operation) + " failed"));
    EXPECT_EQ(run.log().back(), "end");
    EXPECT_THAT(PhasesCalled(run.log()), ::testing::ContainerEq(c.phases));
    EXPECT_THAT(run.Entries("run shutdown"), IsEmpty());
  }
}

TEST_F(KelvaneTest, AFailedShortcutLeavesTheBatchFileSoTheNextStartResumes) {
  recorder.FailOn("Save");
  StartAndPressGo();
  ASSERT_TRUE(recorder.ended);
  ASSERT_TRUE(recorder.machine.HasFile(kBatchFile));

  testing::RecordingPlatform nextStart;
  nextStart.machine = recorder.machine;
  app::Kelvane(nextStart.get()).Start();
  EXPECT_THAT(PhasesCalled(nextStart.log()), ElementsAre("RemoveFiles", "CleanUp"));
  EXPECT_FALSE(nextStart.machine.HasFile(kBatchFile));
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
  recorder.FailOn("run");
  tool.Clicked(Control::Picture1);
  EXPECT_THAT(recorder.Entries("error "), ElementsAre("Kelvane 2010 | Run-time error '0x80004005':\n\nrun failed"));
  EXPECT_TRUE(recorder.ended);
}

TEST_F(KelvaneTest, FinishAndTheCloseBoxesEndTheTool) {
  for (const auto& end : {std::string("Finish"), std::string("close Complete"), std::string("close Kelvane")}) {
    SCOPED_TRACE(end);
    testing::RecordingPlatform run;
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
  recorder.FailOn("run");
  recorder.FailOn("ShowErrorBox");
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
  constexpr const char* kShortcut = "C:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk";
  for (const bool resumed : {false, true}) {
    SCOPED_TRACE(resumed ? "resumed run" : "first run");
    testing::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.elevation = platform::Elevation::Limited;
    if (resumed) run.machine.AddFile(kBatchFile);
    if (resumed) run.machine.AddFile(kShortcut);
    run.FailOn("StartElevated");
    app::Kelvane(run.get()).Start();
    EXPECT_THAT(run.log(), ElementsAre("StartElevated",
                                       "error Kelvane 2010 | Run-time error '0x80004005':\n\nStartElevated failed",
                                       "end"));
    EXPECT_EQ(run.machine.HasFile(kBatchFile), resumed);
    EXPECT_EQ(run.machine.HasFile(kShortcut), resumed);
  }
}

TEST_F(KelvaneTest, FullStandardAndUnknownTokensRunAsTheyAre) {
  for (const auto elevation : {platform::Elevation::Full, platform::Elevation::Standard, platform::Elevation::Unknown}) {
    testing::RecordingPlatform run;
    AddWindowsEnvironment(run.machine);
    run.machine.elevation = elevation;
    app::Kelvane(run.get()).Start();
    EXPECT_THAT(run.log(), ElementsAre("CreateObject WScript.Shell", "CreateObject Scripting.FileSystemObject",
                                       "ExpandEnvironmentStrings %temp%", std::string("FileExists ") + kBatchFile,
                                       "show Kelvane"));
  }
}

TEST(ErrorBoxText, ShowsSmallNumbersInDecimalAndHresultsInHex) {
  EXPECT_EQ(app::ErrorBoxText(platform::Error(424, "Object required")), "Run-time error '424':\n\nObject required");
  EXPECT_EQ(app::ErrorBoxText(platform::Error(static_cast<long>(0x80070005u), "Access is denied.")),
            "Run-time error '0x80070005':\n\nAccess is denied.");
}

}  // namespace
}  // namespace kelvane
