// Every injectable fault of the failure paths: where the run ends, and
// where it goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "platform/shared/fault_operation.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/faults.h"
#include "platform/sim/image/image_error.h"
#include "sim_test_image.h"

namespace kelvane::platform::sim {

// faults.ini itself, beside the fixture below of the same name.
using FaultsFile = Faults;

namespace {

namespace fs = std::filesystem;
using testing::TestImage;

const std::string kTemp = "C:\\Users\\Demo User\\AppData\\Local\\Temp";
const std::string kBatch = kTemp + "\\deleteoffice.bat";
const std::string kShortcut = "C:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk";
const std::string kShared = "C:\\Program Files\\Common Files\\Microsoft Shared";
const std::string kUninstall = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kDownloads = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads\\";
const std::string kProPlus = "Microsoft Office Professional Plus 2010";

bool Logged(const TestImage& image, const std::string& line) {
  const auto events = image.Events();
  return std::find(events.begin(), events.end(), line) != events.end();
}

bool RestartPending(const TestImage& image) {
  return image.ReadImageFile("machine.ini").find("PendingRestart=yes") != std::string::npos;
}

int Go(TestImage& image) { return image.Run({"start", "IMAGE", "--click", "btnGo"}); }

std::string ErrorEvent(const std::string& number, const std::string& description) {
  return "error\tKelvane 2010\tRun-time error '" + number + "':\\n\\n" + description;
}

class Faults : public ::testing::Test {
 protected:
  TestImage image;
};

// --- The driver ---------------------------------------------------------

TEST_F(Faults, AShellThatCannotBeCreatedEndsTheLoadStepBeforeAnyWindow) {
  image.WriteFaults("CreateObject=WScript.Shell\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_EQ(image.Events(), (std::vector<std::string>{"logon", ErrorEvent("0x80040154", "Class not registered"), "exit"}));
}

// The record is written before the shortcut: without it there is no
// shortcut, no restart, and the next start is a first run.
TEST_F(Faults, AResumeRecordThatCannotBeWrittenEndsTheRunWithoutARestart) {
  image.WriteFaults("OpenTextFile=C:\\Program Files\\Kelvane 2010\\ResumeAfterRestart\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(Logged(image, ErrorEvent("0x80070005", "Access is denied.")));
  EXPECT_FALSE(image.Exists(kShortcut));
  EXPECT_FALSE(RestartPending(image));
  image.WriteFaults("");
  image.ClearEvents();
  ASSERT_EQ(image.Run({"start", "IMAGE"}), 0);
  EXPECT_TRUE(Logged(image, "window\tshow\tKelvane"));
}

TEST_F(Faults, AWindowThatCannotBeShownEndsTheRemovalBeforeItBegins) {
  image.WriteFaults("Show=Loading\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(Logged(image, ErrorEvent("0x80004005", "Unspecified error")));
  EXPECT_TRUE(image.Events("run").empty());
  EXPECT_EQ(image.Events().back(), "exit");
}

TEST_F(Faults, AnAddressThatCannotBeOpenedEndsTheTool) {
  image.WriteFaults("run=http://www.kelvane.example/downloads/kelvane2010.exe\n");
  ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "Label2", "--click", "btnGo"}), 0);
  EXPECT_TRUE(Logged(image, ErrorEvent("0x80070483", "No application is associated with the specified file for this operation.")));
  EXPECT_EQ(image.Events().back(), "exit");
  EXPECT_TRUE(image.Events("run").empty());
}

// --- Pre-restart file removal -------------------------------------------

TEST_F(Faults, ASetUpFailureOfTheFilePhaseEndsTheRunAfterTheInstallerPhases) {
  image.WriteFaults("ExpandEnvironmentStrings=%appdata%\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(Logged(image, "run\tnet stop ose"));
  EXPECT_TRUE(Logged(image, "uninstall\t" + kProPlus));
  EXPECT_TRUE(Logged(image, ErrorEvent("0x80004005", "Unspecified error")));
  EXPECT_TRUE(image.Exists(kShared + "\\Office14"));
  EXPECT_FALSE(image.Exists(kBatch));
  EXPECT_FALSE(image.Exists(kShortcut));
  EXPECT_FALSE(RestartPending(image));
  image.WriteFaults("");
  image.ClearEvents();
  ASSERT_EQ(image.Run({"start", "IMAGE"}), 0);  // no input: the user leaves it
  EXPECT_TRUE(Logged(image, "window\tshow\tKelvane"));
}

TEST_F(Faults, AFileInUseStaysAndTheRemovalGoesOn) {
  image.WriteFaults("Delete=" + kShared + "\\OFFICE14\\MSO.DLL\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(image.Exists(kShared + "\\OFFICE14\\MSO.DLL"));
  EXPECT_FALSE(image.Exists(kShared + "\\OFFICE14\\Cultures"));
  EXPECT_FALSE(image.Exists(kShared + "\\Source Engine"));
  EXPECT_TRUE(RestartPending(image));
}

// The batch file decides nothing: the record alone makes the next log-on
// finish the removal.
TEST_F(Faults, ABatchFileThatCannotBeWrittenChangesNothingForTheResumedRun) {
  image.WriteFaults("OpenTextFile=" + kBatch + "\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_FALSE(image.Exists(kBatch));
  EXPECT_TRUE(RestartPending(image));
  image.ClearEvents();
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
  EXPECT_TRUE(Logged(image, "window\tshow\tComplete"));
  EXPECT_FALSE(image.Exists("C:\\Program Files\\Microsoft Office\\Office14"));
}

TEST_F(Faults, AWriteThatFailsLeavesAnIncompleteBatchFile) {
  image.WriteFaults("WriteLine=@echo off\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_EQ(fs::file_size(image.Host(kBatch)), 54u);  // the second line only
  EXPECT_TRUE(RestartPending(image));
}

// --- Post-restart clean-up ----------------------------------------------

TEST_F(Faults, ABatchFileThatDeleteFileKeepsGoesInTheSweep) {
  ASSERT_EQ(Go(image), 0);
  image.WriteFaults("DeleteFile=" + kBatch + "\n");
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
  EXPECT_TRUE(Logged(image, "progress\tRemoving deleteoffice.bat"));
  EXPECT_FALSE(image.Exists(kBatch));
  EXPECT_FALSE(image.Exists(kShortcut));
}

// The shortcut that stays starts nothing: its copy is gone.
TEST_F(Faults, AReadOnlyShortcutStaysAndStartsNothingNextTime) {
  ASSERT_EQ(Go(image), 0);
  fs::permissions(image.Host("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Kelvane.lnk"),
                  fs::perms::owner_write, fs::perm_options::remove);
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
  EXPECT_TRUE(image.Exists(kShortcut));
  EXPECT_FALSE(image.Exists(kBatch));
  image.ClearEvents();
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "close:Kelvane"}), 0);
  EXPECT_EQ(image.Events(), (std::vector<std::string>{"logon"}));
}

TEST_F(Faults, ATemporaryFolderThatCannotBeLookedUpIsNotSwept) {
  ASSERT_EQ(Go(image), 0);
  image.WriteFaults("GetFolderToEmpty=" + kTemp + "\\\n");
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
  EXPECT_FALSE(image.Exists(kBatch));
  EXPECT_FALSE(image.Exists(kShortcut));
  EXPECT_TRUE(image.Exists(kTemp + "\\Outlook Logging\\Firstrun.log"));
  EXPECT_TRUE(Logged(image, "window\tshow\tComplete"));
}

TEST_F(Faults, AnItemInUseInTheTemporaryFolderIsAnnouncedAndStays) {
  ASSERT_EQ(Go(image), 0);
  image.WriteFaults("Delete=" + kTemp + "\\Outlook Logging\\Firstrun.log\n");
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
  EXPECT_TRUE(Logged(image, "progress\tRemoving Outlook Logging"));
  EXPECT_TRUE(image.Exists(kTemp + "\\Outlook Logging\\Firstrun.log"));
  EXPECT_FALSE(image.Exists(kTemp + "\\Low"));
  EXPECT_FALSE(image.Exists(kTemp + "\\~WRL0001.tmp"));  // read-only, swept with force
}

// --- Registry removal ---------------------------------------------------

TEST_F(Faults, ARegistryProviderThatCannotBeBoundDeletesNoKey) {
  image.WriteFaults("GetObject=winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(Logged(image, "progress\tRemoving RegKeyHKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"));
  EXPECT_TRUE(image.HasKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"));
  EXPECT_TRUE(image.HasKey(kDownloads + "{90140000-0011-0000-0000-0000000FF1CE}-C"));
  EXPECT_TRUE(RestartPending(image));
}

TEST_F(Faults, AnEnumerationThatFailsSkipsItsStepOnly) {
  image.WriteFaults("EnumKey=" + kUninstall + "\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(image.HasKey(kUninstall + "{90140000-0015-0409-0000-0000000FF1CE}"));
  EXPECT_TRUE(image.HasKey(kUninstall + "0FF1CE.Office14.PROPLUS"));
  EXPECT_FALSE(image.HasKey(kDownloads + "{90140000-0011-0000-0000-0000000FF1CE}-C"));
  EXPECT_FALSE(image.HasKey("HKEY_CLASSES_ROOT\\Installer\\Features\\00004109110000000000000000F01FEC"));
}

TEST_F(Faults, ADeletionThatCannotBeMadeAbandonsItsTreeAndTheNextNameGoesOn) {
  image.WriteFaults("DeleteKey=" + kDownloads + "{90140000-0011-0000-0000-0000000FF1CE}-C\\Sources\\ProPlus14\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(image.HasKey(kDownloads + "{90140000-0011-0000-0000-0000000FF1CE}-C\\Sources\\ProPlus14"));
  EXPECT_FALSE(image.HasKey(kDownloads + "{90140000-002C-0409-0000-0000000FF1CE}-C"));
  EXPECT_FALSE(image.HasKey(kUninstall + "{90140000-0015-0409-0000-0000000FF1CE}"));
}

TEST_F(Faults, AKeyTheProviderRefusesKeepsItsParentsAndTheWalkGoesOn) {
  image.WriteFaults("DeleteKeyDenied=HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose\\Security\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(image.HasKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose\\Security"));
  EXPECT_FALSE(image.HasKey(
      "HKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL"));
}

// --- Service stop and products ------------------------------------------

TEST_F(Faults, AServiceStopThatCannotBeStartedChangesNothingElse) {
  image.WriteFaults("run=net stop ose\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_NE(image.ReadImageFile("machine.ini").find("ose=running"), std::string::npos);
  EXPECT_TRUE(Logged(image, "uninstall\t" + kProPlus));
  EXPECT_TRUE(RestartPending(image));
}

TEST_F(Faults, ProductServicesThatCannotBeBoundUninstallNothing) {
  image.WriteFaults("GetObject=winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(image.Events("uninstall").empty());
  EXPECT_NE(image.ReadImageFile("products.ini").find(kProPlus), std::string::npos);
  EXPECT_TRUE(RestartPending(image));
}

TEST_F(Faults, AFailingQueryUninstallsNothing) {
  image.WriteFaults("ExecQuery=Select * from Win32_Product\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(image.Events("uninstall").empty());
  EXPECT_TRUE(RestartPending(image));
}

TEST_F(Faults, AnUninstallationThatFailsLeavesItsProductAndTheWalkGoesOn) {
  image.WriteFaults("Uninstall=" + kProPlus + "\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_NE(image.ReadImageFile("products.ini").find(kProPlus), std::string::npos);
  EXPECT_TRUE(Logged(image, "uninstall\tMicrosoft Office Proofing (English) 2010"));
}

TEST_F(Faults, AFailureStatusLeavesItsProductAndAProductWithoutANameGoesByItsCode) {
  image.WriteImageFile("products.ini",
                       "[{90140000-0011-0000-0000-0000000FF1CE}]\nName=" + kProPlus + "\nUninstallFails=1603\n\n"
                       "[{90140000-0116-0409-1000-0000000FF1CE}]\n\n"
                       "[{90140000-002C-0409-0000-0000000FF1CE}]\nName=Microsoft Office Proofing (English) 2010\n");
  ASSERT_EQ(Go(image), 0);
  const std::string products = image.ReadImageFile("products.ini");
  EXPECT_NE(products.find("UninstallFails=1603"), std::string::npos);
  EXPECT_EQ(products.find("{90140000-0116-0409-1000-0000000FF1CE}"), std::string::npos);
  EXPECT_EQ(products.find("Proofing"), std::string::npos);
  EXPECT_EQ(image.Events("uninstall"), (std::vector<std::string>{"uninstall\t{90140000-0116-0409-1000-0000000FF1CE}",
                                                                "uninstall\tMicrosoft Office Proofing (English) 2010"}));
}

// --- Resume shortcut and restart ----------------------------------------

TEST_F(Faults, AShortcutThatCannotBeSavedEndsTheRunWithoutARestart) {
  fs::permissions(image.Host("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"),
                  fs::perms::owner_write, fs::perm_options::remove);
  ASSERT_EQ(Go(image), 0);
  EXPECT_TRUE(Logged(image, ErrorEvent("0x80070005", "Access is denied.")));
  EXPECT_FALSE(RestartPending(image));
  EXPECT_TRUE(image.Events("progress\tRebooting").empty());
  EXPECT_TRUE(image.Exists(kBatch));
  image.ClearEvents();
  ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "Finish"}), 0);  // the next start resumes
  EXPECT_TRUE(Logged(image, "window\tshow\tComplete"));
}

TEST_F(Faults, AShortcutObjectThatCannotBeCreatedEndsTheRunToo) {
  image.WriteFaults("CreateShortcut=" + kShortcut + "\n");
  ASSERT_EQ(Go(image), 0);
  EXPECT_EQ(image.Events().back(), "exit");
  EXPECT_FALSE(RestartPending(image));
}

// No network object, or one whose name stays empty: each on a machine of
// its own, so that both starts take the first run's path to the countdown.
TEST_F(Faults, AComputerNameThatCanNeverBeReadStillLetsTheRestartGo) {
  for (const bool noNetworkObject : {true, false}) {
    TestImage fresh;
    std::string machine = fresh.ReadImageFile("machine.ini");
    machine.replace(machine.find("ComputerName=DEMO-PC"), 20, "ComputerName=");
    fresh.WriteImageFile("machine.ini", machine);
    fresh.WriteFaults(noNetworkObject ? "CreateObject=WScript.Network\n" : "");
    ASSERT_EQ(Go(fresh), 0);
    EXPECT_TRUE(Logged(fresh, "restart request\t10 s\tprograms may save\tordered")) << noNetworkObject;
    EXPECT_TRUE(RestartPending(fresh)) << noNetworkObject;
  }
}

// Windows refuses a restart that lets programs save while other users are
// signed in; their sessions are never forced, and the person is told.
TEST_F(Faults, ARestartRefusedForOtherUsersIsToldAndLeavesTheResumedRunForTheNextRestart) {
  std::string machine = image.ReadImageFile("machine.ini");
  machine.insert(machine.find("\n") + 1, "OtherUsersSignedIn=yes\n");
  image.WriteImageFile("machine.ini", machine);
  ASSERT_EQ(Go(image), 0);
  EXPECT_FALSE(RestartPending(image));
  EXPECT_TRUE(Logged(image, "restart request\t10 s\tprograms may save\trefused: other users signed in"));
  const auto boxes = image.Events("error");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Other users are signed in"), std::string::npos) << boxes[0];
  EXPECT_TRUE(image.Exists(kShortcut));
}

// --- The table of operations ---------------------------------------------

// A count fails only the first calls that match in a run, as FailOn's does.
TEST(FaultTable, ACountFailsOnlyTheFirstCallsThatMatch) {
  const FaultsFile faults = FaultsFile::Parse("Delete:2=C:\\Temp\\a.txt\n", "faults.ini");
  EXPECT_FALSE(faults.FailsOn(Operation::Delete, "C:\\Temp\\b.txt"));
  for (bool fails : {true, true, false}) EXPECT_EQ(faults.FailsOn(Operation::Delete, "c:\\temp\\A.TXT"), fails);
  for (const char* bad : {"Delete:0=x\n", "Delete:=x\n", "Delete:two=x\n", "Delete:-1=x\n"}) {
    EXPECT_THROW(FaultsFile::Parse(bad, "faults.ini"), ImageError) << bad;
  }
}

// faults.ini takes exactly the operations the simulated machine's page
// lists in its table, and refuses the others by name.
TEST(FaultTable, TheDocsListEveryOperationFaultsIniTakes) {
  const std::string page = ReadWholeFile(KELVANE_DOCS "/simulated-machine.md");
  const auto start = page.find("## faults.ini");
  const std::string section = page.substr(start, page.find("\n## ", start) - start);
  std::set<std::string> listed;
  const std::regex row(R"(\n\| ([^|]*)\|)"), name("`(\\w+)`");
  for (std::sregex_iterator r(section.begin(), section.end(), row), end; r != end; ++r) {
    const std::string keys = (*r)[1];
    for (std::sregex_iterator n(keys.begin(), keys.end(), name); n != end; ++n) listed.insert((*n)[1]);
  }
  // An uninstallation's status is no failure of an operation, but faults.ini's too.
  std::set<std::string> simulated{"UninstallStatus"};
  EXPECT_NO_THROW(FaultsFile::Parse("UninstallStatus=*:1612\n", "faults.ini"));
  EXPECT_THROW(FaultsFile::Parse("UninstallStatus=1612\n", "faults.ini"), ImageError);
  for (const OperationEntry& entry : Operations()) {
    if (FaultsFile::Takes(entry.operation)) simulated.insert(std::string(entry.name));
    const std::string line = std::string(entry.name) + "=*\n";
    if (FaultsFile::Takes(entry.operation)) {
      EXPECT_NO_THROW(FaultsFile::Parse(line, "faults.ini")) << entry.name;
    } else {
      EXPECT_THROW(FaultsFile::Parse(line, "faults.ini"), ImageError) << entry.name;
    }
  }
  EXPECT_EQ(listed, simulated);
}

}  // namespace
}  // namespace kelvane::platform::sim
