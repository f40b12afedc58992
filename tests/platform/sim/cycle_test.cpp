// The whole cycle on the demo machine, through kelvane-sim's commands.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>

#include "app/command_line.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/machine.h"
#include "sim_test_image.h"

namespace kelvane::platform::sim {
namespace {

using testing::TestImage;
using Lines = std::vector<std::string>;

const std::string kOffice14 = "C:\\Program Files\\Microsoft Office\\Office14";
const std::string kBatch = "C:\\Users\\Demo User\\AppData\\Local\\Temp\\deleteoffice.bat";
const std::string kShortcut = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Kelvane.lnk";
const std::string kToolFolder = "C:\\Program Files\\Kelvane 2010";

// Where each of the lines stands in the log; the test fails on a missing one.
std::vector<std::size_t> Positions(const Lines& events, const Lines& wanted) {
  std::vector<std::size_t> positions;
  for (const auto& line : wanted) {
    std::size_t at = 0;
    while (at < events.size() && events[at] != line) ++at;
    EXPECT_LT(at, events.size()) << "missing event: " << line;
    positions.push_back(at);
  }
  return positions;
}

// The cycle on the image leaves no trace, and what must survive does, in the
// edition's view: its Program Files and its HKLM\SOFTWARE keys.
void ExpectCleanCycleKeepingSurvivors(TestImage& image, const std::string& programFiles = "C:\\Program Files",
                                      const std::string& software = "HKEY_LOCAL_MACHINE\\SOFTWARE") {
  const auto inView = [&](std::string name) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"C:\\Program Files", programFiles},
                                   {"HKEY_LOCAL_MACHINE\\SOFTWARE", software}}) {
      if (name.rfind(from, 0) == 0) name = to + name.substr(from.size());
    }
    return name;
  };
  EXPECT_EQ(image.Run({"report", "IMAGE"}), 1);
  EXPECT_GT(image.Traces().size(), 25u);
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0) << image.err();
  EXPECT_EQ(image.Run({"report", "IMAGE"}), 0) << image.out();
  for (const char* survivor : {
           "C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE12\\MSO.DLL",
           "C:\\Program Files\\Common Files\\Microsoft Shared\\VBA\\VBA7\\VBE7.DLL",
           "C:\\Program Files\\Microsoft Office\\Office12\\GRAPH.EXE",
           "C:\\Program Files\\7-Zip\\7z.exe",
           "C:\\ProgramData\\Start Menu\\Programs\\7-Zip\\7-Zip File Manager.lnk",
           "C:\\ProgramData\\Start Menu\\Programs\\Accessories\\Notepad.lnk",
           "C:\\MSOCache\\All Users\\{90140000-002A-0000-1000-0000000FF1CE}-c\\keep.txt",
           "C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-D\\keep.txt",
           "C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}\\keep.txt",
           "C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\My Letter.dotx",
           "C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Document Building Blocks\\1033\\14\\Building Blocks.dotx",
           "C:\\Users\\Demo User\\Documents\\Budget 2011.xlsx",
           "C:\\Users\\Demo User\\Documents\\Quarterly Report.docx",
           "C:\\Users\\Demo User\\Documents\\Talks\\Launch.pptx",
           "C:\\Users\\Demo User\\Downloads\\kelvane2010.exe",
           "C:\\Users\\Demo User\\AppData\\Local\\Temp",
       }) {
    EXPECT_TRUE(image.Exists(inView(survivor))) << inView(survivor);
  }
  EXPECT_TRUE(std::filesystem::is_empty(image.Host("C:\\Users\\Demo User\\AppData\\Local\\Temp")));
  for (const char* key : {
           "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\12.0\\Common\\General",
           "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Common\\LanguageResources",
           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\12.0\\Common\\InstallRoot",
           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads\\{90140000-0011-0000-0000-0000000FF1CE}",
           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{91140000-0011-0000-0000-0000000ff1ce}",
           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{23170F69-40C1-2701-0920-000001000000}",
           "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\osppsvc",
           "HKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\C:|Program Files|Microsoft Office|Office14|ADDINS|MSOSEC.DLL",
           "HKEY_CLASSES_ROOT\\Installer\\Products\\96F071321C0410729002000010000000",
           "HKEY_CLASSES_ROOT\\Installer\\Products\\00004109610090400000000000F01FEc",
       }) {
    EXPECT_TRUE(image.HasKey(inView(key))) << inView(key);
  }
  EXPECT_NE(image.ReadImageFile("products.ini").find("Name=7-Zip 9.20"), std::string::npos);
  EXPECT_NE(image.ReadImageFile("machine.ini").find("ose=stopped"), std::string::npos);
  // Windows' own, in the native view.
  EXPECT_TRUE(image.Exists("C:\\Program Files\\Common Files\\Microsoft Shared\\ink\\TabTip.exe"));
}

TEST(DemoCycle, LeavesNoTraceAndEverythingThatMustSurvive) {
  TestImage image;
  ExpectCleanCycleKeepingSurvivors(image);
}

// Either edition on 64-bit Windows goes with the same program, the other
// view untouched but for Office 2010.
TEST(DemoCycle, BothEditionsOnSixtyFourBitWindowsGoAndTheirSurvivorsStay) {
  TestImage sixtyFour(true, std::filesystem::temp_directory_path(), {"--x64"});
  ExpectCleanCycleKeepingSurvivors(sixtyFour);
  TestImage thirtyTwo(true, std::filesystem::temp_directory_path(), {"--x64", "--edition", "32"});
  ExpectCleanCycleKeepingSurvivors(thirtyTwo, "C:\\Program Files (x86)", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node");
  EXPECT_TRUE(thirtyTwo.Exists("C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe"));
  EXPECT_TRUE(thirtyTwo.Exists("C:\\Program Files\\Internet Explorer\\iexplore.exe"));
}



// Every file's bytes, key's values and product's name on the image, by name.
std::map<std::string, std::string> Contents(const TestImage& image) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(image.path() / "drive_c")) {
    if (entry.is_regular_file() && !entry.is_symlink()) contents[entry.path().string()] = ReadWholeFile(entry.path());
  }
  Machine machine(image.path());
  const std::function<void(const RegistryKey&, const std::string&)> walk = [&](const auto& key, const auto& name) {
    auto& text = contents["key " + name];
    for (const auto& value : key.values) text += value + "\n";
    for (const auto& [subkeyName, subkey] : key.subkeys) walk(*subkey, name + "\\" + subkeyName);
  };
  for (const auto& root : machine.registry().roots()) walk(*root, root->name);
  for (const auto& product : machine.products()) contents[product.code] = product.name.value_or("");
  return contents;
}

TEST(DemoCycle, ANewerOfficeBesideItKeepsEveryTraceAndTheSharedServiceByteForByte) {
  TestImage image;
  const auto plain = Contents(image);
  std::filesystem::remove_all(image.path());
  ASSERT_EQ(image.Run({"init", "IMAGE", "--demo", "--with-newer-office"}), 0);
  std::map<std::string, std::string> newer;
  for (const auto& [name, content] : Contents(image)) {
    const bool shared = name.find("Source Engine") != std::string::npos || name.find("Services\\ose") != std::string::npos ||
                        name.ends_with("Templates/Normal.dotm") || name.ends_with("Templates/NormalEmail.dotm") ||
                        name.ends_with("1033/Building Blocks.dotx");
    // Office 2010's upgrade code lists Office 2016 too: that key loses
    // Office 2010's value, not the newer one's, which the removal's own
    // tests hold.
    if (name.find("UpgradeCodes\\1011C000000000000000000000F01FEC") != std::string::npos) continue;
    if (shared || !plain.count(name) || plain.at(name) != content) newer[name] = content;
  }
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0);
  EXPECT_EQ(image.Run({"report", "IMAGE"}), 0) << image.out();
  const auto after = Contents(image);
  for (const auto& [name, content] : newer) EXPECT_TRUE(after.count(name) && after.at(name) == content) << name;
  EXPECT_GT(newer.size(), 38u);  // the products, their files, keys, cache, the service and the templates
  EXPECT_TRUE(image.Events("progress\tRemoving C:\\Program Files\\Common Files\\Microsoft Shared\\Source").empty());
}

// The docs' list of what the tool removes is the inventory's answer on the
// demo image, as it stands now.
TEST(DemoCycle, TheDocsListWhatTheInventoryFindsOnTheDemoImage) {
  TestImage image;
  ASSERT_EQ(image.Run({"report", "IMAGE"}), 1);
  const std::string page = ReadWholeFile(KELVANE_DOCS "/removal.md");
  const auto start = page.find("```\n", page.find("# What it removes")) + 4;
  EXPECT_EQ(page.substr(start, page.find("```", start) - start), image.out());
}

// The usage message and README's tables of switches and exit codes say the same.
TEST(DemoCycle, TheUsageTextNamesEverySwitchAndExitCodeOfTheReadme) {
  const std::string readme = ReadWholeFile(KELVANE_README);
  const std::string usage = app::kUsageText;
  std::size_t rows = 0;
  for (std::size_t at = readme.find("\n| `/"); at != std::string::npos; at = readme.find("\n| `/", at + 1), ++rows) {
    const std::string name = readme.substr(at + 4, readme.find('`', at + 4) - at - 4);
    EXPECT_NE(usage.find(name.substr(0, name.find(' '))), std::string::npos) << name;
  }
  EXPECT_GE(rows, 6u);
  const auto table = readme.find("| exit code |");
  ASSERT_NE(table, std::string::npos);
  for (std::size_t at = readme.find("\n| ", table + 1); at != std::string::npos && std::isdigit(readme[at + 3]);
       at = readme.find("\n| ", at + 1)) {
    const std::string code = readme.substr(at + 3, readme.find(' ', at + 3) - at - 3);
    EXPECT_NE(usage.find(code + " "), std::string::npos) << code;
  }
}

TEST(DemoCycle, EventsFollowTheWalkThrough) {
  TestImage image;
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0);
  const Lines events = image.Events();
  const auto positions = Positions(
      events, {"logon", "window\tshow\tKelvane", "window\thide\tKelvane", "window\tshow\tLoading",
               "progress\tStopping The Office Source Engine service", "run\tnet stop ose",
               "progress\tUninstalling MSI: Microsoft Office Professional Plus 2010",
               "uninstall\tMicrosoft Office Professional Plus 2010",
               "progress\tRemoving C:\\Program Files\\Common Files\\Microsoft Shared\\Office14",
               "progress\tRemoving: C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C",
               "progress\tRemoving RegKeyHKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0",
               "progress\tFinalizing some tasks before reboot..",
               "shortcut\tC:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk\t" + kToolFolder +
                   "\\kelvane2010.exe\t4",
               "progress\tRebooting.", "progress\tRebooting.....", "restart request\t10 s\tprograms may save\tordered", "restart",
               "progress\tCleaning Up", "window\thide\tLoading",
               "window\tshow\tComplete", "exit"});
  for (std::size_t i = 1; i < positions.size(); ++i) EXPECT_LT(positions[i - 1], positions[i]) << i;
  EXPECT_EQ(events.back(), "exit");
  // The resumed run runs nothing: not the batch file, which anyone can plant.
  EXPECT_EQ(image.Events("run"), (Lines{"run\tnet stop ose"}));
}

TEST(DemoCycle, TheResumedRunRemovesOffice14AndTheToolsCopyAfterTheRestart) {
  TestImage image;
  ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "btnGo"}), 0);
  EXPECT_TRUE(image.Exists(kOffice14 + "\\WINWORD.EXE"));
  EXPECT_FALSE(image.Exists(kOffice14 + "\\1033"));  // the product's own uninstallation took that
  EXPECT_EQ(ReadWholeFile(image.Host(kBatch)).size(), 65u);
  EXPECT_TRUE(image.Exists(kShortcut));
  EXPECT_EQ(ReadWholeFile(image.Host(kToolFolder + "\\kelvane2010.exe")), "MZ kelvane2010");
  EXPECT_TRUE(image.Exists(kToolFolder + "\\ResumeAfterRestart"));
  EXPECT_NE(image.ReadImageFile("machine.ini").find("PendingRestart=yes"), std::string::npos);
  EXPECT_EQ(image.Events().back(), "restart request\t10 s\tprograms may save\tordered");
  EXPECT_EQ(image.Events("progress").back(), "progress\tRebooting.....");

  ASSERT_EQ(image.Run({"boot", "IMAGE"}), 0);  // nobody clicks Finish
  EXPECT_FALSE(image.Exists(kOffice14));
  EXPECT_FALSE(image.Exists(kBatch));
  EXPECT_FALSE(image.Exists(kShortcut));
  EXPECT_FALSE(image.Exists(kToolFolder));
  EXPECT_EQ(image.Events().back(), "window\tshow\tComplete");
  EXPECT_EQ(image.Events("label"), Lines{"label\tlblComplete\tFinished Successfully"});
  EXPECT_EQ(image.ReadImageFile("machine.ini").find("PendingRestart"), std::string::npos);
}

// The label tells what the inventory found after the last phase; Done then
// names what remains.
TEST(DemoCycle, AnUncleanRunSaysSoAndNamesWhatRemainsOnceDoneIsPressed) {
  TestImage image;
  image.WriteFaults("DeleteKeyDenied=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0\n");
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0);
  EXPECT_EQ(image.Events("label"), Lines{"label\tlblComplete\tSome items could not be removed"});
  const Lines boxes = image.Events("error");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0"), std::string::npos) << boxes[0];
}

// The shortcut lies in the common Startup folder: whoever logs on first
// starts it, and the run is still the demo user's.
TEST(DemoCycle, AnotherUsersLogOnChangesNothingOfTheirsAndFinishesOnlyWhatAnAdministratorMay) {
  for (const bool administrator : {false, true}) {
    SCOPED_TRACE(administrator ? "another administrator" : "another standard user");
    TestImage image;
    const std::string other = "C:\\Users\\Guest\\AppData\\";
    const Lines theirs = {other + "Roaming\\Microsoft\\Templates\\Normal.dotm", other + "Local\\Temp\\deleteoffice.bat",
                          other + "Local\\Temp\\work.tmp"};
    for (const auto& file : theirs) image.MakeFile(file, "theirs");
    ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "btnGo"}), 0);
    image.ClearEvents();
    std::vector<std::string> boot{"boot", "IMAGE", "--user", "Guest", "--click", "Finish"};
    if (administrator) boot.push_back("--admin");
    ASSERT_EQ(image.Run(boot), 0) << image.err();
    EXPECT_EQ(image.out().find("No Startup shortcut"), std::string::npos);  // the shortcut started the copy
    for (const auto& file : theirs) EXPECT_EQ(ReadWholeFile(image.Host(file)), "theirs") << file;
    EXPECT_EQ(image.Exists(kToolFolder + "\\ResumeAfterRestart"), !administrator);
    EXPECT_EQ(image.Exists(kShortcut), !administrator);
    EXPECT_EQ(image.Exists(kOffice14), !administrator);
    EXPECT_TRUE(image.Exists(kBatch));  // the demo user's own
    EXPECT_EQ(image.Events("window\tshow"), (administrator ? Lines{"window\tshow\tLoading", "window\tshow\tComplete"} : Lines{}));
    if (administrator) {
      EXPECT_EQ(image.Traces(), (Lines{"batch file\t" + kBatch}));
      continue;
    }
    ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
    EXPECT_EQ(image.Run({"report", "IMAGE"}), 0) << image.out();
    for (const auto& file : theirs) EXPECT_TRUE(image.Exists(file)) << file;
  }
}

// A product one user installed for himself is his own: its uninstallation
// would run with the administrator's rights.
TEST(DemoCycle, APerUserProductIsNeverUninstalled) {
  TestImage image;
  image.WriteImageFile("products.ini", image.ReadImageFile("products.ini") +
                                           "\n[{90140000-0011-0000-0000-0000000FF1CE}-user]\n"
                                           "Name=Microsoft Office Planted Add-in\nPerUser=yes\n");
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0);
  const std::string saved = image.ReadImageFile("products.ini");
  EXPECT_NE(saved.find("Name=Microsoft Office Planted Add-in\nPerUser=yes\n"), std::string::npos) << saved;
  EXPECT_TRUE(image.Events("uninstall\tMicrosoft Office Planted").empty());
}

TEST(DemoCycle, ASecondBootStartsNothing) {
  TestImage image;
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0);
  image.ClearEvents();
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Finish"}), 0);
  EXPECT_EQ(image.Events(), (Lines{"logon"}));
  EXPECT_NE(image.err().find("Finish not done"), std::string::npos);
}

TEST(DemoCycle, ClosingTheMainWindowEndsTheToolAndChangesNothing) {
  TestImage image;
  const std::string before = image.ReadImageFile("registry.reg");
  ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "Label2", "--click", "close:Kelvane", "--click", "btnGo"}), 0);
  EXPECT_EQ(image.Events(), (Lines{"logon", "window\tshow\tKelvane",
                                   "open\thttp://www.kelvane.example/downloads/kelvane2010.exe\t3", "exit"}));
  EXPECT_EQ(image.ReadImageFile("registry.reg"), before);
  EXPECT_NE(image.err().find("btnGo not done"), std::string::npos);
}

TEST(DemoCycle, TheDonationPictureOpensItsPageAndLeavesTheWindow) {
  TestImage image;
  ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "btnGo"}), 0);
  ASSERT_EQ(image.Run({"boot", "IMAGE", "--click", "Picture1", "--click", "Picture1", "--click", "close:Complete"}), 0);
  const auto opened = image.Events("open");
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], "open\thttps://www.payments.example/cgi-bin/webscr?cmd=_s-xclick&hosted_button_id=KELVANE2010\t3");
  EXPECT_EQ(image.Events().back(), "exit");
}

TEST(DemoCycle, EachClickOnLabel2OpensItsAddressAgain) {
  TestImage image;
  ASSERT_EQ(image.Run({"start", "IMAGE", "--click", "Label2", "--click", "Label2", "--click", "close:Kelvane"}), 0);
  EXPECT_EQ(image.Events("open"), (Lines(2, "open\thttp://www.kelvane.example/downloads/kelvane2010.exe\t3")));
}

// Unattended, as a deployment system runs it: the exit code, the image, the
// log and the restart, for each way it can go.
struct UnattendedRun {
  std::string exitCode;
  std::string log;
  bool restartPending;
};

UnattendedRun RunUnattended(TestImage& image, const std::string& arguments) {
  image.Run({"start", "IMAGE", "--args", arguments + " /log C:\\kv.log"});
  const auto at = image.out().find("exit code: ");
  const auto log = image.Host("C:\\kv.log");
  return {at == std::string::npos ? "" : image.out().substr(at + 11, image.out().find('\n', at) - at - 11),
          std::filesystem::exists(log) ? ReadWholeFile(log) : "",
          image.ReadImageFile("machine.ini").find("PendingRestart=yes") != std::string::npos};
}

bool Has(const std::string& log, const std::string& line) { return log.find(line) != std::string::npos; }

std::size_t Count(const std::string& log, const std::string& line) {
  std::size_t count = 0;
  for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
  return count;
}

TEST(Unattended, RemovesInOnePassHandsWhatIsInUseToTheRestartAndRestartsAsAsked) {
  const std::string inUse = kOffice14 + "\\WINWORD.EXE";
  struct Case {
    std::string arguments;
    bool fileInUse;
    std::string exitCode;
    bool restart;
    bool otherUsersSignedIn = false;  // only a forced restart closes their sessions
  };
  for (const Case& c : std::vector<Case>{{"/quiet", false, "0", false},
                                         {"/quiet", true, "1641", true},
                                         {"-QUIET /NoRestart", true, "3010", false},
                                         {"/quiet /forcerestart", false, "1641", true},
                                         {"/passive /norestart", false, "0", false},
                                         {"/quiet", true, "3010", false, true},
                                         {"/quiet /forcerestart", true, "1641", true, true}}) {
    SCOPED_TRACE(c.arguments + (c.otherUsersSignedIn ? " beside other users" : ""));
    TestImage image;
    if (c.fileInUse) image.WriteFaults("Delete=" + inUse + "\n");
    if (c.otherUsersSignedIn) {
      std::string ini = image.ReadImageFile("machine.ini");
      image.WriteImageFile("machine.ini", ini.insert(ini.find("\n") + 1, "OtherUsersSignedIn=yes\n"));
    }
    const UnattendedRun run = RunUnattended(image, c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.restartPending, c.restart);
    EXPECT_TRUE(Has(run.log, "\tuninstall\tMicrosoft Office Professional Plus 2010: status 0"));
    EXPECT_TRUE(Has(run.log, "\tprogress\tRemoving RegKeyHKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"));
    EXPECT_TRUE(Has(run.log, "\texit\t" + c.exitCode + "\r\n"));
    EXPECT_EQ(Has(run.log, "\tdelete at restart\t" + inUse), c.fileInUse);
    EXPECT_EQ(Has(run.log, "\tskipped\tDelete\t" + kOffice14 + "\t0x80070020 "), c.fileInUse);
    // One pass: nothing left for a log-on, nothing in the user's Startup
    // folder or temporary folder, and a window only for /passive.
    EXPECT_FALSE(image.Exists(kShortcut));
    EXPECT_FALSE(image.Exists(kBatch));
    EXPECT_FALSE(image.Exists(kToolFolder));
    EXPECT_TRUE(image.Exists("C:\\Users\\Demo User\\AppData\\Local\\Temp\\~WRL0001.tmp"));
    EXPECT_EQ(image.Events("window").empty(), c.arguments.find("passive") == std::string::npos);
    image.WriteFaults("");
    ASSERT_EQ(image.Run({"boot", "IMAGE"}), 0);
    EXPECT_EQ(image.Run({"report", "IMAGE"}), 0) << image.out();
  }
  // What was handed to the restart counts without any log: none asked for,
  // and the system's temporary folder refusing one.
  TestImage unlogged;
  unlogged.WriteFaults("Delete=" + inUse + "\nOpenLog=*\n");
  unlogged.Run({"start", "IMAGE", "--args", "/quiet /norestart"});
  EXPECT_NE(unlogged.out().find("exit code: 3010\n"), std::string::npos) << unlogged.out();
}

// Office 2010's cached package is gone and the Installer answers 1612: what it
// could not remove, the tool removes from the Installer's own records, for
// that product only, and leaves everything another product names.
TEST(Unattended, WhatTheInstallerCouldNotRemoveGoesFromItsOwnRecordsAndNothingElse) {
  const std::string userData = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\";
  const std::string proPlus = "00004109110000000000000000F01FEC", sevenZip = "96F071321C0410729002000010000000";
  TestImage image;
  const auto values = [&](const std::string& key) {
    std::string text;
    Machine machine(image.path());
    if (const RegistryKey* found = machine.registry().Find(key)) {
      for (const auto& line : found->values) text += line + "\n";
    }
    return text;
  };
  const std::string properties = values(userData + "Products\\" + proPlus + "\\InstallProperties");
  const auto at = properties.find("C:\\\\Windows\\\\Installer\\\\");
  ASSERT_NE(at, std::string::npos) << properties;
  const std::string cachedPackage = "C:\\Windows\\Installer\\" + properties.substr(at + 24, properties.find('"', at) - at - 24);
  ASSERT_TRUE(image.Exists(cachedPackage));
  Machine before(image.path());
  const RegistryKey* componentKeys = before.registry().Find(userData + "Components");
  ASSERT_NE(componentKeys, nullptr);
  Lines components;
  for (const auto& entry : componentKeys->subkeys) components.push_back(entry.second->name);

  // An earlier run's orphan: Project 2010, no longer installed, beside the
  // Access Database Engine, which is kept.
  const std::string orphanKey = userData + "Components\\0A1B2C3D4E5F60718293A4B5C6D7E8F9";
  const std::string project = "00004109B30000000000000000F01FEC", engine = "000041091D0090400000000000F01FEC";
  {
    Machine machine(image.path());
    machine.registry().Create(orphanKey)->values = {"\"" + project + "\"=\"C:\\\\x\"", "\"" + engine + "\"=\"C:\\\\y\""};
    machine.Save();
  }
  image.WriteFaults("UninstallStatus=Microsoft Office Professional Plus 2010:1612\n");
  const UnattendedRun run = RunUnattended(image, "/quiet /norestart");
  EXPECT_EQ(run.exitCode, "0") << run.log;
  EXPECT_TRUE(Has(run.log, "\tuninstall\tMicrosoft Office Professional Plus 2010: status 1612"));
  EXPECT_TRUE(Has(run.log, "\tscrubbed\tMicrosoft Office Professional Plus 2010"));
  EXPECT_FALSE(image.HasKey(userData + "Products\\" + proPlus));
  EXPECT_FALSE(image.HasKey("HKEY_CLASSES_ROOT\\Installer\\Products\\" + proPlus));
  std::string remaining;
  for (const auto& name : components) remaining += values(userData + "Components\\" + name);
  EXPECT_EQ(remaining.find(proPlus), std::string::npos) << remaining;
  // 7-Zip's share of a component and a permanent component's mark stay.
  EXPECT_NE(remaining.find("\"" + sevenZip + "\""), std::string::npos) << remaining;
  EXPECT_NE(remaining.find("\"00000000000000000000000000000000\""), std::string::npos) << remaining;
  EXPECT_EQ(values(orphanKey), "\"" + engine + "\"=\"C:\\\\y\"\n");
  // Cached files go only from the Installer's folder: a LocalPackage that
  // names a document elsewhere leaves the document.
  EXPECT_FALSE(image.Exists(cachedPackage));
  EXPECT_FALSE(image.Exists("C:\\Windows\\Installer\\3f2a1c.msp"));
  EXPECT_TRUE(image.Exists("C:\\Users\\Demo User\\Documents\\Budget 2011.xlsx"));

  // A scrub stopped before its last step (the product's UserData key, then
  // its journal entry) is finished by the next run.
  TestImage stopped;
  const std::string journal = kToolFolder + "\\Installer records\\" + proPlus;
  stopped.WriteFaults("UninstallStatus=Microsoft Office Professional Plus 2010:1612\nDeleteKey=" + userData +
                      "Products\\" + proPlus + "\nDeleteFile=" + journal + "\n");
  EXPECT_EQ(RunUnattended(stopped, "/quiet /norestart").exitCode, "1603");
  ASSERT_TRUE(stopped.Exists(journal));
  stopped.WriteFaults("");
  const UnattendedRun next = RunUnattended(stopped, "/quiet /norestart");
  EXPECT_EQ(next.exitCode, "0") << next.log;
  EXPECT_TRUE(Has(next.log, "\tscrubbed\t"));
  EXPECT_FALSE(stopped.HasKey(userData + "Products\\" + proPlus));
  EXPECT_FALSE(stopped.Exists(kToolFolder));
}

TEST(Unattended, ChangesNothingWhereItMayNotOrCannotRun) {
  struct Case {
    std::string arguments;
    std::string machineIni;  // added to [machine]
    std::string exitCode;
  };
  for (const Case& c : std::vector<Case>{{"/quiet /frobnicate", "", "87"},
                                         {"/quiet /log", "", "87"},
                                         {"/quiet /passive", "", "87"},
                                         {"/norestart", "", "87"},
                                         {"/quiet", "Administrator=no\n", "5"},
                                         {"/passive", "InstallerBusy=yes\n", "1618"}}) {
    SCOPED_TRACE(c.arguments);
    TestImage image;
    const std::string registry = image.ReadImageFile("registry.reg");
    std::string ini = image.ReadImageFile("machine.ini");
    ini.insert(ini.find("\n") + 1, c.machineIni);
    image.WriteImageFile("machine.ini", ini);
    image.Run({"start", "IMAGE", "--args", c.arguments});
    EXPECT_NE(image.out().find("exit code: " + c.exitCode + "\n"), std::string::npos) << image.out();
    EXPECT_EQ(image.ReadImageFile("registry.reg"), registry);
    EXPECT_TRUE(image.Exists(kOffice14));
    // The usage text shows only where somebody may be at the screen.
    EXPECT_EQ(image.Events("error").size(), c.arguments == "/norestart" ? 1u : 0u);
  }
}

// Anyone can create "_MSIExecute": one that no installation holds stops
// nothing.
TEST(Unattended, AnInstallerMutexAnOrdinaryUserHoldsIsNotWaitedFor) {
  TestImage image;
  std::string ini = image.ReadImageFile("machine.ini");
  image.WriteImageFile("machine.ini", ini.insert(ini.find("\n") + 1, "InstallerBusy=user\n"));
  const UnattendedRun run = RunUnattended(image, "/quiet /norestart");
  EXPECT_EQ(run.exitCode, "0") << run.log;
  EXPECT_TRUE(Has(run.log, "\tinstaller\t_MSIExecute is held by a process that is not the Installer's"));
}

TEST(Unattended, AKeyItMayNotDeleteRemainsAndEndsIn1603NamingIt) {
  TestImage image;
  // A name found on the machine reaches the log escaped: its tab cannot
  // split the line.
  const std::string planted = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Office14.\tX";
  // Two steps of the plan match this one: it is one trace.
  const std::string twice = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                            "Office14.{90140000-0011-0000-0000-0000000FF1CE}";
  {
    Machine machine(image.path());
    machine.registry().Create(planted);
    machine.registry().Create(twice);
    machine.Save();
  }
  image.WriteFaults("DeleteKeyDenied=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0\nDeleteKeyDenied=" + planted +
                    "\nDeleteKeyDenied=" + twice + "\n");
  const UnattendedRun run = RunUnattended(image, "/quiet /norestart");
  EXPECT_EQ(run.exitCode, "1603");
  EXPECT_EQ(Count(run.log, "\tremains\tkey: " + twice + "\r\n"), 1u) << run.log;
  EXPECT_TRUE(Has(run.log, "\tremains\tkey: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0\r\n"));
  EXPECT_TRUE(Has(run.log, "Uninstall\\Office14.\\tX\r\n")) << run.log;
  EXPECT_FALSE(Has(run.log, "Office14.\tX"));
  // The 32-bit view's key, on 64-bit Windows, named as regedit shows it.
  TestImage thirtyTwo(true, std::filesystem::temp_directory_path(), {"--x64", "--edition", "32"});
  thirtyTwo.WriteFaults("DeleteKeyDenied=HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Office\\14.0\n");
  const UnattendedRun other = RunUnattended(thirtyTwo, "/quiet /norestart");
  EXPECT_EQ(other.exitCode, "1603");
  EXPECT_TRUE(Has(other.log, "\tremains\tkey: HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Office\\14.0\r\n"))
      << other.log;
  // Views that cannot be told apart are never reported as a clean machine.
  TestImage unknown(true, std::filesystem::temp_directory_path(), {"--x64"});
  unknown.WriteFaults("EditionViews=\n");
  const UnattendedRun blind = RunUnattended(unknown, "/quiet /norestart");
  EXPECT_EQ(blind.exitCode, "1603");
  EXPECT_TRUE(Has(blind.log, "\tremains\tviews: not read")) << blind.log;
}

// Any user may have made C:\MSOCache and can change its folders: what is in
// use there is never handed to the restart, which deletes as SYSTEM.
TEST(Unattended, AFileInUseInACacheIsNeverHandedToTheRestartAndEndsIn1603NamingIt) {
  const std::string cache = "C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C";
  TestImage image;
  image.WriteFaults("Delete=" + cache + "\\ProPsWW.cab\n");
  const UnattendedRun run = RunUnattended(image, "/quiet");
  EXPECT_EQ(run.exitCode, "1603");
  EXPECT_FALSE(Has(run.log, "\tdelete at restart\tC:\\MSOCache"));
  EXPECT_EQ(image.ReadImageFile("machine.ini").find("MSOCache"), std::string::npos);
  EXPECT_TRUE(Has(run.log, "\tremains\tfolder: " + cache + "\r\n"));
  EXPECT_TRUE(image.Exists(cache + "\\ProPsWW.cab"));
}

TEST(Unattended, AFailureTheWindowedToolWouldShowEndsIn1603WithItsNumberInTheLog) {
  TestImage image;
  image.WriteFaults("ExpandEnvironmentStrings=%appdata%\n");
  const UnattendedRun run = RunUnattended(image, "/quiet");
  EXPECT_EQ(run.exitCode, "1603");
  EXPECT_TRUE(Has(run.log, "\terror\t0x80004005 Unspecified error\r\n"));
  EXPECT_TRUE(image.Events("error").empty());
  EXPECT_FALSE(run.restartPending);
}

TEST(Unattended, CheckSaysWhetherTracesRemainAndChangesNothing) {
  TestImage image;
  const std::string registry = image.ReadImageFile("registry.reg");
  RunUnattended(image, "/check");
  EXPECT_NE(image.out().find("exit code: 1\n"), std::string::npos);
  EXPECT_EQ(image.ReadImageFile("registry.reg"), registry);
  ASSERT_EQ(image.Run({"report", "IMAGE"}), 1);
  const std::string log = ReadWholeFile(image.Host("C:\\kv.log"));
  for (std::string trace : image.Traces()) {
    trace.replace(trace.find('\t'), 1, ": ");
    EXPECT_TRUE(Has(log, "\ttrace\t" + trace + "\r\n")) << trace;
  }
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0);
  // Named by no /log, twice in the same second: two new logs in the
  // system's temporary folder, each naming itself first.
  for (int run = 0; run < 2; ++run) {
    image.Run({"start", "IMAGE", "--args", "/check"});
    EXPECT_NE(image.out().find("exit code: 0\n"), std::string::npos);
  }
  std::vector<std::string> logs;
  for (const auto& entry : std::filesystem::directory_iterator(image.Host("C:\\Windows\\Temp"))) {
    const std::string name = entry.path().filename().string();
    logs.push_back(name);
    const std::string text = ReadWholeFile(entry.path());
    EXPECT_TRUE(Has(text.substr(0, text.find('\n')), "\tlog\tC:\\Windows\\Temp\\" + name)) << text;
    EXPECT_TRUE(Has(text, "\texit\t0")) << text;
  }
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[0].rfind("Kelvane2010-", 0), 0u) << logs[0];
}

TEST(BadImages, AnUnreadableRegistryGivesExit2NamingTheLineAndTouchesNothing) {
  TestImage image;
  const std::string broken = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\nnonsense\r\n";
  image.WriteImageFile("registry.reg", broken);
  const std::string machineIni = image.ReadImageFile("machine.ini");
  EXPECT_EQ(image.Run({"cycle", "IMAGE"}), 2);
  EXPECT_NE(image.err().find("registry.reg:4: malformed line: nonsense"), std::string::npos) << image.err();
  EXPECT_EQ(image.ReadImageFile("registry.reg"), broken);
  EXPECT_EQ(image.ReadImageFile("machine.ini"), machineIni);
  EXPECT_TRUE(image.Events().empty());
  EXPECT_TRUE(std::filesystem::exists(image.Host(kOffice14)));
}

TEST(BadImages, AMachineIniWithoutItsKeysGivesExit2) {
  TestImage image;
  image.WriteImageFile("machine.ini", "[machine]\nComputerName=PC\n\n[environment]\nTEMP=C:\\Temp\n");
  EXPECT_EQ(image.Run({"start", "IMAGE", "--click", "btnGo"}), 2);
  EXPECT_NE(image.err().find("machine.ini: missing key ExePath= in [machine]"), std::string::npos) << image.err();
  image.WriteImageFile("machine.ini", "[machine]\nComputerName=PC\nExePath=C:\\k.exe\n[services]\nose=paused\n");
  EXPECT_EQ(image.Run({"report", "IMAGE"}), 2);
  EXPECT_NE(image.err().find("machine.ini:5:"), std::string::npos) << image.err();
}

TEST(BadImages, AProductsIniWithoutSectionsGivesExit2NamingTheLine) {
  TestImage image;
  image.WriteImageFile("products.ini", "; installed products\nName=Microsoft Office Professional Plus 2010\n");
  const std::string registry = image.ReadImageFile("registry.reg");
  EXPECT_EQ(image.Run({"cycle", "IMAGE"}), 2);
  EXPECT_NE(image.err().find("products.ini:2: a key outside a product: Name"), std::string::npos) << image.err();
  EXPECT_EQ(image.ReadImageFile("registry.reg"), registry);
  EXPECT_TRUE(image.Events().empty());
}

TEST(BadImages, UnknownFaultsAndClicksAreBadUsage) {
  TestImage image;
  image.WriteFaults("DeleteKeys=HKEY_CURRENT_USER\\Software\n");
  EXPECT_EQ(image.Run({"start", "IMAGE", "--click", "btnGo"}), 2);
  EXPECT_NE(image.err().find("faults.ini:1: no such operation: DeleteKeys"), std::string::npos);
  image.WriteFaults("");
  EXPECT_EQ(image.Run({"start", "IMAGE", "--click", "btnStop"}), 2);
  EXPECT_EQ(image.Run({"init", "IMAGE"}), 2);  // not over an existing image
  EXPECT_EQ(image.Run({"frobnicate"}), 2);
}

TEST(Binary, ExitStatusesOfTheBuiltProgram) {
  TestImage image;
  const std::string program = std::string("'") + KELVANE_SIM_BINARY + "' ";
  const std::string path = "'" + image.path().string() + "'";
  const auto status = [](const std::string& command) { return WEXITSTATUS(std::system((command + " >/dev/null 2>&1").c_str())); };
  EXPECT_EQ(status(program + "report " + path), 1);
  EXPECT_EQ(status(program + "cycle " + path), 0);
  EXPECT_EQ(status(program + "report " + path), 0);
  EXPECT_EQ(status(program + "report " + path + "/nowhere"), 2);
}

}  // namespace
}  // namespace kelvane::platform::sim
