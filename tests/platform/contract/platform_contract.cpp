// The contract every implementation of the platform interfaces keeps, as the
// phases rely on it, written once and run on each machine (see the
// instantiations beside each machine's adapter). Where an implementation
// cannot behave as Windows does, the adapter says so and docs/contract.md says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cctype>
#include <regex>
#include <set>

#include "platform_contract.h"
#include "platform/shared/edition_views.h"
#include "platform/shared/installer_guid.h"

namespace kelvane::testing {

// The numbers Windows gives these failures (Win32 errors as HRESULTs).
constexpr long kFileNotFound = static_cast<long>(0x80070002);
constexpr long kPathNotFound = static_cast<long>(0x80070003);
constexpr long kAccessDenied = static_cast<long>(0x80070005);
constexpr long kSharingViolation = static_cast<long>(0x80070020);

bool SameText(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// ---------------------------------------------------------------------------
// The file-system object.

TEST_P(PlatformContract, LookupsIgnoreCaseAndRunsOfBackslashes) {
  machine->MakeFile(root + "\\Office14\\WINWORD.EXE");
  const auto fso = Fso();
  EXPECT_TRUE(fso->FileExists(root + "\\office14\\winword.exe"));
  EXPECT_FALSE(fso->FileExists(root + "\\Office14"));
  EXPECT_FALSE(fso->FileExists(root + "\\Office14\\missing.exe"));
  const auto folder = fso->GetFolder(root + "\\\\OFFICE14\\");
  EXPECT_EQ(folder->Name(), "Office14");  // as the disk spells it
  EXPECT_TRUE(SameText(folder->Path(), root + "\\Office14")) << folder->Path();
  EXPECT_EQ(fso->GetFile(root + "\\office14\\WinWord.exe")->Name(), "WINWORD.EXE");
}

TEST_P(PlatformContract, AMissingItemFailsWithWindowsNumbers) {
  machine->MakeFile(root + "\\a.txt");
  machine->MakeFolder(root + "\\folder");
  const auto fso = Fso();
  EXPECT_EQ(Fails([&] { fso->GetFolder(root + "\\missing"); }), kPathNotFound);
  EXPECT_EQ(Fails([&] { fso->GetFolder(root + "\\a.txt"); }), kPathNotFound);
  EXPECT_EQ(Fails([&] { fso->GetFile(root + "\\missing.txt"); }), kFileNotFound);
  EXPECT_EQ(Fails([&] { fso->GetFile(root + "\\folder"); }), kFileNotFound);
  EXPECT_EQ(Fails([&] { fso->DeleteFile(root + "\\missing.txt"); }), kFileNotFound);
  EXPECT_EQ(Fails([&] { fso->DeleteFile(root + "\\folder"); }), kFileNotFound);
}

// Each item once, files and folders apart, each with its path below its
// folder's. The order is the file system's own, which no phase relies on.
TEST_P(PlatformContract, AFolderListsItsItems) {
  for (const char* name : {"b.txt", "A.txt", "{90140000-0011-0000-0000-0000000FF1CE}.msi"}) {
    machine->MakeFile(root + "\\Cache\\" + name);
  }
  for (const char* name : {"zeta", "Beta", "{90140000-0011-0000-0000-0000000FF1CE}-C"}) {
    machine->MakeFolder(root + "\\Cache\\" + name);
  }
  const auto folder = Fso()->GetFolder(root + "\\Cache");
  EXPECT_EQ(Names(folder->Files()),
            (std::set<std::string>{"A.txt", "b.txt", "{90140000-0011-0000-0000-0000000FF1CE}.msi"}));
  const auto subFolders = folder->SubFolders();
  EXPECT_EQ(Names(subFolders), (std::set<std::string>{"Beta", "zeta", "{90140000-0011-0000-0000-0000000FF1CE}-C"}));
  for (const auto& sub : subFolders) EXPECT_EQ(sub->Path(), folder->Path() + "\\" + sub->Name());
}

TEST_P(PlatformContract, AReadOnlyFileGoesOnlyWithForce) {
  machine->MakeFile(root + "\\ro.txt", "x", true);
  const auto fso = Fso();
  EXPECT_EQ(Fails([&] { fso->DeleteFile(root + "\\ro.txt"); }), kAccessDenied);
  const auto file = fso->GetFile(root + "\\ro.txt");
  EXPECT_EQ(Fails([&] { file->Delete(false); }), kAccessDenied);
  EXPECT_TRUE(machine->Exists(root + "\\ro.txt"));
  file->Delete(true);
  EXPECT_FALSE(machine->Exists(root + "\\ro.txt"));
}

TEST_P(PlatformContract, AForcedFolderDeletionTakesReadOnlyItems) {
  machine->MakeFile(root + "\\Office14\\1033\\ro.dll", "x", true);
  machine->MakeFile(root + "\\Office14\\a.dll");
  machine->MakeFolder(root + "\\Office14\\1033", true);
  Fso()->GetFolder(root + "\\Office14")->Delete(true);
  EXPECT_FALSE(machine->Exists(root + "\\Office14"));
  EXPECT_TRUE(machine->Exists(root));
}

// Without force, everything that may go goes, a read-only folder's entries
// included (on Windows the attribute guards the folder, not what is in it),
// and the deletion then fails with the first refusal.
TEST_P(PlatformContract, AnUnforcedFolderDeletionTakesWhatItCanThenFails) {
  machine->MakeFile(root + "\\Tree\\kept\\ro.txt", "x", true);
  machine->MakeFile(root + "\\Tree\\gone\\a.txt");
  machine->MakeFile(root + "\\Tree\\b.txt");
  machine->MakeFile(root + "\\Tree\\locked\\inner.txt");
  machine->MakeFolder(root + "\\Tree\\locked", true);
  EXPECT_EQ(Fails([&] { Fso()->GetFolder(root + "\\Tree")->Delete(false); }), kAccessDenied);
  EXPECT_TRUE(machine->Exists(root + "\\Tree\\kept\\ro.txt"));
  EXPECT_FALSE(machine->Exists(root + "\\Tree\\gone"));
  EXPECT_FALSE(machine->Exists(root + "\\Tree\\b.txt"));
  EXPECT_EQ(machine->Exists(root + "\\Tree\\locked"), machine->HasReadOnlyFolders());
  EXPECT_FALSE(machine->Exists(root + "\\Tree\\locked\\inner.txt"));
}

TEST_P(PlatformContract, AFileInUseStaysWithItsFoldersAndTheRestGoes) {
  machine->MakeFile(root + "\\Tree\\busy\\in use.dll");
  machine->MakeFile(root + "\\Tree\\other\\free.dll");
  machine->HoldOpen(root + "\\Tree\\busy\\in use.dll");
  const auto fso = Fso();
  EXPECT_EQ(Fails([&] { fso->DeleteFile(root + "\\Tree\\busy\\in use.dll"); }), kSharingViolation);
  EXPECT_EQ(Fails([&] { fso->GetFolder(root + "\\Tree")->Delete(true); }), kSharingViolation);
  EXPECT_TRUE(machine->Exists(root + "\\Tree\\busy\\in use.dll"));
  EXPECT_FALSE(machine->Exists(root + "\\Tree\\other"));
}

TEST_P(PlatformContract, ALinkInADeletedFolderGoesAsALink) {
  machine->MakeFile(root + "\\Elsewhere\\precious.txt");
  machine->MakeFolder(root + "\\Tree");
  if (!machine->MakeFolderLink(root + "\\Tree\\link", root + "\\Elsewhere")) GTEST_SKIP() << "this machine has no links";
  const long error = Fails([&] { Fso()->GetFolder(root + "\\Tree")->Delete(true); });
  EXPECT_TRUE(machine->Exists(root + "\\Elsewhere\\precious.txt"));
  EXPECT_EQ(machine->Exists(root + "\\Tree"), !machine->DeletesLinksAsLinks());
  EXPECT_EQ(error != 0, !machine->DeletesLinksAsLinks());
}

TEST_P(PlatformContract, ATextFileIsWrittenWholeAndReplacedOnlyWhereItMayBe) {
  machine->MakeFile(root + "\\ro.bat", "keep", true);
  machine->MakeFolder(root + "\\folder.bat");
  const auto fso = Fso();
  for (const char* line : {"@echo off", "rd /S /Q \"C:\\Program Files\\Microsoft Office\\Office14\\\""}) {
    auto stream = fso->OpenTextFile(root + "\\go.bat", platform::kForWriting, true);
    stream->WriteLine(line);
    stream->Close();
    EXPECT_EQ(machine->ReadFile(root + "\\go.bat"), line + std::string("\r\n"));
  }
  EXPECT_EQ(Fails([&] { fso->OpenTextFile(root + "\\ro.bat", platform::kForWriting, true); }), kAccessDenied);
  EXPECT_EQ(machine->ReadFile(root + "\\ro.bat"), "keep");
  EXPECT_EQ(Fails([&] { fso->OpenTextFile(root + "\\folder.bat", platform::kForWriting, true); }), kAccessDenied);
  EXPECT_EQ(Fails([&] { fso->OpenTextFile(root + "\\new.bat", platform::kForWriting, false); }), kFileNotFound);
  EXPECT_EQ(Fails([&] { fso->OpenTextFile(root + "\\missing\\go.bat", platform::kForWriting, true); }), kPathNotFound);
  // Read back whole, as it was written; a missing file is no text.
  EXPECT_EQ(fso->OpenTextFile(root + "\\go.bat", platform::kForReading, false)->ReadAll(), machine->ReadFile(root + "\\go.bat"));
  EXPECT_EQ(Fails([&] { fso->OpenTextFile(root + "\\gone.txt", platform::kForReading, false); }), kFileNotFound);
}

// A run as SYSTEM writes its log where it is told: a folder of the path that
// an ordinary user made first may be a link to anywhere.
TEST_P(PlatformContract, ALogIsMadeOrAppendedToAndNeverThroughALinkOnItsPath) {
  const auto fso = Fso();
  for (const char* line : {"first", "second"}) {
    auto log = fso->OpenLog(root + "\\kv.log", false);
    log->WriteLine(line);
    log->Close();
  }
  EXPECT_EQ(machine->ReadFile(root + "\\kv.log"), "first\r\nsecond\r\n");
  // A log that must be new is never one somebody made first.
  EXPECT_NE(Fails([&] { fso->OpenLog(root + "\\kv.log", true); }), 0);
  EXPECT_EQ(machine->ReadFile(root + "\\kv.log"), "first\r\nsecond\r\n");
  fso->OpenLog(root + "\\new.log", true)->Close();
  EXPECT_TRUE(machine->Exists(root + "\\new.log"));
  EXPECT_NE(Fails([&] { fso->OpenLog(root + "\\missing\\kv.log", false); }), 0);
  machine->MakeFolder(root + "\\Elsewhere");
  if (!machine->MakeFolderLink(root + "\\Logs", root + "\\Elsewhere")) GTEST_SKIP() << "this machine has no links";
  machine->MakeFolder(root + "\\Logs\\deeper");
  EXPECT_NE(Fails([&] { fso->OpenLog(root + "\\Logs\\kv.log", false); }), 0);
  EXPECT_NE(Fails([&] { fso->OpenLog(root + "\\Logs\\deeper\\kv.log", true); }), 0);
  EXPECT_FALSE(machine->Exists(root + "\\Elsewhere\\kv.log"));
  EXPECT_FALSE(machine->Exists(root + "\\Elsewhere\\deeper\\kv.log"));
}

// ---------------------------------------------------------------------------
// The registry provider. Its statuses are Win32 codes no phase reads.

TEST_P(PlatformContract, EnumKeyListsTheImmediateSubkeysWhateverTheSpelling) {
  machine->MakeKey(key + "\\Office\\14.0\\Word\\Options");
  machine->MakeKey(key + "\\Office\\14.0\\Excel");
  machine->MakeKey(key + "\\Office\\Common");
  const auto registry = Registry();
  for (const std::string& path : {key + "\\Office\\14.0", key + "\\\\OFFICE\\14.0\\"}) {
    std::optional<std::vector<std::string>> names;
    EXPECT_EQ(registry->EnumKey(platform::kCurrentUser, path, names), 0);
    ASSERT_TRUE(names) << path;
    EXPECT_EQ(std::set<std::string>(names->begin(), names->end()), (std::set<std::string>{"Excel", "Word"}));
  }
}

TEST_P(PlatformContract, EnumKeyLeavesNoArrayForALeafOrAMissingKey) {
  machine->MakeKey(key + "\\Leaf");
  const auto registry = Registry();
  std::optional<std::vector<std::string>> names = std::vector<std::string>{"stale"};
  EXPECT_EQ(registry->EnumKey(platform::kCurrentUser, key + "\\Leaf", names), 0);
  EXPECT_FALSE(names);
  names = std::vector<std::string>{"stale"};
  EXPECT_EQ(registry->EnumKey(platform::kCurrentUser, key + "\\Missing", names), 2);
  EXPECT_FALSE(names);
}

TEST_P(PlatformContract, DeleteKeyTakesOnlyAKeyWithoutSubkeys) {
  machine->MakeKey(key + "\\Parent\\Child");
  const auto registry = Registry();
  EXPECT_EQ(registry->DeleteKey(platform::kCurrentUser, key + "\\Parent"), 5);
  EXPECT_TRUE(machine->HasKey(key + "\\Parent\\Child"));
  EXPECT_EQ(registry->DeleteKey(platform::kCurrentUser, key + "\\Missing"), 2);
  EXPECT_EQ(registry->DeleteKey(platform::kCurrentUser, key + "\\\\parent\\CHILD\\"), 0);
  EXPECT_FALSE(machine->HasKey(key + "\\Parent\\Child"));
  EXPECT_EQ(registry->DeleteKey(platform::kCurrentUser, key + "\\Parent"), 0);
  EXPECT_FALSE(machine->HasKey(key + "\\Parent"));
}

// Values: listed, read by type, a list written over what stood there, one
// deleted with the key and the others left; the native view is the same
// registry for a key of the user's.
TEST_P(PlatformContract, ValuesAreListedReadWrittenAndDeletedOneByOne) {
  const std::string components = key + "\\Components";
  machine->MakeKey(components);
  machine->MakeValue(components, "00004109110000000000000000F01FEC", {"C:\\Office14\\WINWORD.EXE"}, false);
  machine->MakeValue(components, "Qualifier", {"first", "second"}, true);
  const auto registry = Registry();
  std::optional<std::vector<std::string>> names;
  EXPECT_EQ(registry->EnumValues(platform::kCurrentUser, components, names), 0);
  ASSERT_TRUE(names);
  EXPECT_EQ(std::set<std::string>(names->begin(), names->end()),
            (std::set<std::string>{"00004109110000000000000000F01FEC", "Qualifier"}));
  std::optional<std::string> text;
  EXPECT_EQ(registry->GetStringValue(platform::kCurrentUser, components, "00004109110000000000000000F01FEC", text), 0);
  EXPECT_EQ(text, "C:\\Office14\\WINWORD.EXE");
  EXPECT_NE(registry->GetStringValue(platform::kCurrentUser, components, "Qualifier", text), 0);
  EXPECT_FALSE(text);
  std::optional<std::vector<std::string>> list;
  EXPECT_EQ(registry->GetMultiStringValue(platform::kCurrentUser, components, "Qualifier", list), 0);
  EXPECT_EQ(list, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(registry->SetMultiStringValue(platform::kCurrentUser, components, "Qualifier", {"second"}), 0);
  EXPECT_EQ(registry->GetMultiStringValue(platform::kCurrentUser, components, "Qualifier", list), 0);
  EXPECT_EQ(list, (std::vector<std::string>{"second"}));
  EXPECT_EQ(registry->DeleteValue(platform::kCurrentUser, components, "00004109110000000000000000F01FEC"), 0);
  EXPECT_FALSE(machine->HasValue(components, "00004109110000000000000000F01FEC"));
  EXPECT_TRUE(machine->HasValue(components, "Qualifier"));
  EXPECT_TRUE(machine->HasKey(components));
  EXPECT_EQ(registry->DeleteValue(platform::kCurrentUser, components, "00004109110000000000000000F01FEC"), 2);
  EXPECT_EQ(registry->GetStringValue(platform::kCurrentUser, key + "\\Missing", "Qualifier", text), 2);
  EXPECT_EQ(registry->GetMultiStringValue(platform::kCurrentUser, components, "Missing", list), 2);
  EXPECT_EQ(registry->EnumValues(platform::kCurrentUser, key + "\\Missing", names), 2);
  EXPECT_FALSE(names);
  const auto native = machine->objects().GetRegistryProvider(
      "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv", platform::RegistryView::Native);
  EXPECT_EQ(native->EnumValues(platform::kCurrentUser, components, names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"Qualifier"}));
}

// The Installer's cache is deleted only inside the system's Installer folder.
TEST_P(PlatformContract, OnlyWhatLiesInTheInstallerFolderIsDeletedAsItsCache) {
  const auto fso = Fso();
  const std::string folder = fso->InstallerFolder();
  EXPECT_TRUE(SameText(folder, "C:\\Windows\\Installer")) << folder;
  machine->MakeFile(root + "\\Elsewhere\\kept.msi");
  machine->MakeFile(folder + "\\KelvaneContract\\cached.msi");
  EXPECT_EQ(Fails([&] { fso->DeleteInstallerCache(root + "\\Elsewhere\\kept.msi"); }), kAccessDenied);
  EXPECT_EQ(Fails([&] { fso->DeleteInstallerCache(folder + "\\"); }), kAccessDenied);
  EXPECT_TRUE(machine->Exists(root + "\\Elsewhere\\kept.msi"));
  fso->DeleteInstallerCache(folder + "\\KelvaneContract");
  EXPECT_FALSE(machine->Exists(folder + "\\KelvaneContract"));
  EXPECT_TRUE(machine->Exists(folder));
}

// The temporary folder is emptied only where it is the user's own: each
// refusal is the rule's own, on places that hold files.
TEST_P(PlatformContract, OnlyAFolderBelowTheUsersProfileIsHandedOutToBeEmptied) {
  const auto places = machine->SweepPlaces();
  const auto fso = Fso();
  for (const std::string& refused : {places.profile, places.documents, places.windows, places.system32,
                                     places.commonFiles, places.programData, places.publicDocuments,
                                     places.otherProfile, places.windows + "\\"}) {
    EXPECT_EQ(Fails([&] { fso->GetFolderToEmpty(refused); }), kAccessDenied) << refused;
  }
  machine->MakeFile(places.belowProfile + "\\old.tmp");
  const auto folder = fso->GetFolderToEmpty(places.belowProfile + "\\");
  EXPECT_TRUE(Names(folder->Files()).count("old.tmp"));
}

// The copy the Startup shortcut starts: a file of its own in a folder that
// may already be there.
TEST_P(PlatformContract, CopyFileMakesAFileOfItsOwnOverWhatStoodThere) {
  machine->MakeFile(root + "\\Downloads\\kelvane2010.exe", "MZ new");
  machine->MakeFile(root + "\\Tool\\kelvane2010.exe", "MZ old");
  const auto fso = Fso();
  fso->CreateFolder(root + "\\Tool");
  fso->CopyFile(root + "\\Downloads\\kelvane2010.exe", root + "\\Tool\\kelvane2010.exe");
  EXPECT_EQ(machine->ReadFile(root + "\\Tool\\kelvane2010.exe"), "MZ new");
  EXPECT_EQ(machine->ReadFile(root + "\\Downloads\\kelvane2010.exe"), "MZ new");
  EXPECT_NE(Fails([&] { fso->CreateFolder(root + "\\Tool\\kelvane2010.exe"); }), 0);
  EXPECT_EQ(Fails([&] { fso->CopyFile(root + "\\Downloads\\kelvane2010.exe", root + "\\No\\k.exe"); }),
            kPathNotFound);
  EXPECT_EQ(Fails([&] { fso->CopyFile(root + "\\Downloads\\missing.exe", root + "\\Tool\\k.exe"); }),
            kFileNotFound);
  // Handed to the next start, the file is still there now.
  fso->DeleteAtRestart(root + "\\Tool\\kelvane2010.exe");
  EXPECT_TRUE(machine->Exists(root + "\\Tool\\kelvane2010.exe"));
  // Windows takes a path that is not there too (measured under Wine 8:
  // MoveFileEx answers TRUE); at the restart there is nothing to delete.
  EXPECT_EQ(Fails([&] { fso->DeleteAtRestart(root + "\\Tool\\missing.exe"); }), 0);
}

// ---------------------------------------------------------------------------
// The shell's run and shortcut, and the products.

TEST_P(PlatformContract, RunStartsABatchFileThatCanBeWaitedFor) {
  machine->MakeFile(root + "\\Gone\\a.txt");
  machine->MakeFile(root + "\\Temp Folder\\deleteoffice.bat", "@echo off\r\nrd /S /Q \"" + root + "\\Gone\"\r\n");
  const auto process = machine->objects().CreateShell()->run("\"" + root + "\\Temp Folder\\deleteoffice.bat\"");
  ASSERT_TRUE(process);
  EXPECT_TRUE(process->WaitForExit(30000));
  EXPECT_EQ(machine->Exists(root + "\\Gone"), !machine->RunsPrograms());
}

TEST_P(PlatformContract, RunFailsOnWhatIsNotThere) {
  const auto shell = machine->objects().CreateShell();
  EXPECT_EQ(Fails([&] { shell->run("\"" + root + "\\missing.bat\""); }), kFileNotFound);
  EXPECT_EQ(Fails([&] { shell->run(root + "\\missing.html", platform::kWindowStyleMaximized); }), kFileNotFound);
}

TEST_P(PlatformContract, AShortcutIsWrittenOnSaveOverWhatStoodThere) {
  const std::string tool = root + "\\T\xC3\xB6ol\\kelvane2010.exe";  // a Unicode path
  machine->MakeFile(root + "\\Kelvane.lnk", "not a link at all");
  machine->MakeFile(tool, "MZ");
  const auto shell = machine->objects().CreateShell();
  for (const std::string name : {"\\New.lnk", "\\Kelvane.lnk"}) {
    const auto shortcut = shell->CreateShortcut(root + name);
    shortcut->SetTargetPath(tool);
    shortcut->SetWindowStyle(4);
    EXPECT_EQ(machine->Exists(root + name), name == "\\Kelvane.lnk");  // nothing before Save
    shortcut->Save();
    EXPECT_EQ(machine->ReadShortcut(root + name), tool + "|4");
  }
  const auto orphan = shell->CreateShortcut(root + "\\Startup\\Kelvane.lnk");
  orphan->SetTargetPath(tool);
  EXPECT_EQ(Fails([&] { orphan->Save(); }), kPathNotFound);
}

TEST_P(PlatformContract, AProductIsListedByNameAndCodeUntilUninstalled) {
  const MachineUnderTest::Installed installed = machine->InstallProduct();
  const auto services =
      machine->objects().GetProductServices("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2");
  const auto find = [&] {
    std::vector<std::unique_ptr<platform::Product>> found;
    for (auto& product : services->ExecQuery("Select * from Win32_Product")) {
      if (product->Name() == installed.name) found.push_back(std::move(product));
    }
    return found;
  };
  auto found = find();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found.front()->ProductCode(), installed.code);
  EXPECT_EQ(found.front()->Uninstall(""), 0);
  EXPECT_TRUE(find().empty());
  EXPECT_TRUE(installed.leaves.empty() || !machine->Exists(installed.leaves));
}

TEST_P(PlatformContract, TheKernelSleepsAndTellsItsPathItsUserAndTheTimeInUtc) {
  platform::Kernel& kernel = machine->kernel();
  EXPECT_EQ(Fails([&] { kernel.Sleep(1); }), 0);
  EXPECT_TRUE(std::regex_match(kernel.ExecutablePath(), std::regex(R"([A-Za-z]:\\.+\.exe)", std::regex::icase)))
      << kernel.ExecutablePath();
  // The user the token is for, named alike at every call.
  EXPECT_TRUE(std::regex_match(kernel.UserSid(), std::regex(R"(S-1-5-21(-\d+)+)"))) << kernel.UserSid();
  EXPECT_EQ(kernel.UserSid(), kernel.UserSid());
  EXPECT_TRUE(std::regex_match(kernel.UtcTime(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")))
      << kernel.UtcTime();
  const auto network = machine->objects().CreateNetwork();
  EXPECT_FALSE(network->ComputerName().empty());
  EXPECT_EQ(network->ComputerName(), network->ComputerName());
  EXPECT_EQ(kernel.ProcessId(), kernel.ProcessId());
  // The program's own view among the machine's, the 32-bit one first, and
  // the other view's folders there (only the other view's are ever used).
  const auto views = platform::MachineEditionViews(kernel);
  ASSERT_TRUE(views.size() == 1 || views.size() == 2) << views.size();
  EXPECT_EQ(std::count_if(views.begin(), views.end(),
                          [](const auto& view) { return view.registry == platform::RegistryView::Program; }), 1);
  if (views.size() == 2) {
    EXPECT_TRUE(views[0].wow6432 && !views[1].wow6432);
    for (const auto& view : views) {
      EXPECT_EQ(Fails([&] { Fso()->GetFolder(view.programFiles); }), 0) << view.programFiles;
      EXPECT_EQ(Fails([&] { Fso()->GetFolder(view.commonFiles); }), 0) << view.commonFiles;
    }
  }
}

TEST_P(PlatformContract, AWindowShowsUntilHiddenAndKeepsItsProgressLine) {
  platform::WindowSystem* windows = machine->windows();
  if (!windows) GTEST_SKIP() << "no display";
  windows->Show(platform::Window::Loading);
  windows->SetProgressCaption("Removing RegKey");
  windows->RepaintProgress();
  EXPECT_TRUE(machine->IsVisible(platform::Window::Loading));
  EXPECT_FALSE(machine->IsVisible(platform::Window::Complete));
  windows->Hide(platform::Window::Loading);
  EXPECT_FALSE(machine->IsVisible(platform::Window::Loading));
  EXPECT_EQ(machine->ProgressCaption(), "Removing RegKey");
}

// ---------------------------------------------------------------------------
// The failures a test machine injects: faults.ini on the simulated machine,
// FailOn on the recording platform, one rule for both.

// A fault names its item as Windows finds it, in any case and with doubled
// or trailing backslashes, and fails that item's call alone.
TEST_P(PlatformContract, AFaultFailsItsItemHoweverItIsSpelt) {
  machine->MakeFile(root + "\\Office14\\Setup.xml");
  machine->MakeFile(root + "\\Office14\\Other.xml");
  machine->MakeKey(key + "\\Office\\14.0");
  if (!machine->FailOn(platform::Operation::DeleteFile, root + "\\\\OFFICE14\\setup.XML\\")) {
    GTEST_SKIP() << "this machine injects no failures";
  }
  machine->FailOn(platform::Operation::EnumKey, "hkey_current_user\\" + key + "\\\\office\\14.0\\");
  const auto fso = Fso();
  EXPECT_NE(Fails([&] { fso->DeleteFile(root + "\\Office14\\Setup.xml"); }), 0);
  EXPECT_TRUE(machine->Exists(root + "\\Office14\\Setup.xml"));
  fso->DeleteFile(root + "\\Office14\\Other.xml");
  std::optional<std::vector<std::string>> names;
  EXPECT_NE(Fails([&] { Registry()->EnumKey(platform::kCurrentUser, key + "\\Office\\14.0", names); }), 0);
  EXPECT_EQ(Registry()->EnumKey(platform::kCurrentUser, key + "\\Office", names), 0);
}

// A machine of its own, holding an item of each kind the calls of the table
// below act on.
struct Arranged {
  explicit Arranged(MachineFactory make) : machine(make()), root(machine->Scratch()), key(machine->ScratchKey()) {
    machine->MakeFile(File());
    machine->MakeFile(root + "\\go.bat", "@echo off\r\n");
    machine->MakeFile(Cached());
    machine->MakeKey(key + "\\Sub");
    machine->MakeValue(key, "S", {"x"}, false);
    machine->MakeValue(key, "M", {"x", "y"}, true);
    machine->InstallProduct();
  }
  std::string File() const { return root + "\\a.txt"; }
  std::string Batch() const { return "\"" + root + "\\go.bat\""; }
  std::string Link() const { return root + "\\Kelvane.lnk"; }
  std::string Cached() const { return "C:\\Windows\\Installer\\KelvaneContract\\cached.msi"; }
  std::unique_ptr<platform::FileSystem> Fso() { return machine->objects().CreateFileSystem(); }
  std::unique_ptr<platform::Shell> Shell() { return machine->objects().CreateShell(); }
  std::unique_ptr<platform::RegistryProvider> Registry() {
    return machine->objects().GetRegistryProvider(
        "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv");
  }

  std::unique_ptr<MachineUnderTest> machine;
  std::string root;
  std::string key;
};

constexpr const char* kProducts = "Select * from Win32_Product";

// Every listed operation the machine takes a fault for fails a call when
// told to, and that call works without the fault: an operation listed yet
// consulted by no code fails here.
TEST_P(PlatformContract, EveryOperationAMachineCanFailFailsItsCall) {
  using platform::Operation;
  if (!machine->FailOn(Operation::FileExists, root + "\\none")) GTEST_SKIP() << "this machine injects no failures";
  // A call that answers with a status or a flag fails as one that throws.
  const auto check = [](bool ok) {
    if (!ok) throw platform::Error(1, "answered a failure");
  };
  constexpr auto kHkcu = platform::kCurrentUser;
  const std::string code = "{0FF1CE00-0000-0000-0000-000000000000}";
  const std::string descriptor = *platform::installer_guid::Descriptor(code, "Word", code);
  const auto services = [](Arranged& t) {
    return t.machine->objects().GetProductServices("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2");
  };
  const auto product = [&](Arranged& t) { return std::move(services(t)->ExecQuery(kProducts).at(0)); };
  const auto stream = [](Arranged& t) { return t.Fso()->OpenTextFile(t.root + "\\w.txt", platform::kForWriting, true); };
  const auto window = [](Arranged& t) { return t.machine->windows(); };
  std::optional<std::vector<std::string>> names;
  std::optional<std::string> text;
  const std::map<Operation, std::function<void(Arranged&)>> calls{
      {Operation::CreateObject, [](Arranged& t) { t.machine->objects().CreateNetwork(); }},
      {Operation::GetObject, [](Arranged& t) { t.Registry(); }},
      {Operation::ExpandEnvironmentStrings, [](Arranged& t) { t.Shell()->ExpandEnvironmentStrings("%TEMP%"); }},
      {Operation::run, [](Arranged& t) { t.Shell()->run(t.Batch()); }},
      {Operation::WaitForExit, [&](Arranged& t) { check(t.Shell()->run(t.Batch())->WaitForExit(30000)); }},
      {Operation::CreateShortcut, [](Arranged& t) { t.Shell()->CreateShortcut(t.Link()); }},
      {Operation::SetTargetPath, [](Arranged& t) { t.Shell()->CreateShortcut(t.Link())->SetTargetPath(t.File()); }},
      {Operation::SetWindowStyle, [](Arranged& t) { t.Shell()->CreateShortcut(t.Link())->SetWindowStyle(7); }},
      {Operation::Save, [](Arranged& t) { t.Shell()->CreateShortcut(t.Link())->Save(); }},
      {Operation::FileExists, [&](Arranged& t) { check(t.Fso()->FileExists(t.File())); }},
      {Operation::GetFolder, [](Arranged& t) { t.Fso()->GetFolder(t.root); }},
      {Operation::GetFolderToEmpty, [](Arranged& t) { t.Fso()->GetFolderToEmpty(t.machine->SweepPlaces().belowProfile); }},
      {Operation::GetFile, [](Arranged& t) { t.Fso()->GetFile(t.File()); }},
      {Operation::Delete, [](Arranged& t) { t.Fso()->GetFile(t.File())->Delete(false); }},
      {Operation::DeleteFile, [](Arranged& t) { t.Fso()->DeleteFile(t.File()); }},
      {Operation::OpenTextFile, [](Arranged& t) { t.Fso()->OpenTextFile(t.File(), platform::kForReading, false); }},
      {Operation::WriteLine, [&](Arranged& t) { stream(t)->WriteLine("x"); }},
      {Operation::Close, [&](Arranged& t) { stream(t)->Close(); }},
      {Operation::SubFolders, [](Arranged& t) { t.Fso()->GetFolder(t.root)->SubFolders(); }},
      {Operation::Files, [](Arranged& t) { t.Fso()->GetFolder(t.root)->Files(); }},
      {Operation::Name, [](Arranged& t) { t.Fso()->GetFile(t.File())->Name(); }},
      {Operation::Path, [](Arranged& t) { t.Fso()->GetFolder(t.root)->Path(); }},
      {Operation::ComputerName, [](Arranged& t) { t.machine->objects().CreateNetwork()->ComputerName(); }},
      {Operation::EnumKey, [&](Arranged& t) { check(t.Registry()->EnumKey(kHkcu, t.key, names) == 0); }},
      {Operation::DeleteKey, [&](Arranged& t) { check(t.Registry()->DeleteKey(kHkcu, t.key + "\\Sub") == 0); }},
      {Operation::DeleteKeyDenied, [&](Arranged& t) { check(t.Registry()->DeleteKey(kHkcu, t.key + "\\Sub") == 0); }},
      {Operation::ExecQuery, [&](Arranged& t) { services(t)->ExecQuery(kProducts); }},
      {Operation::Uninstall, [&](Arranged& t) { check(product(t)->Uninstall("") == 0); }},
      {Operation::ExecutablePath, [](Arranged& t) { t.machine->kernel().ExecutablePath(); }},
      {Operation::Show, [&](Arranged& t) { window(t)->Show(platform::Window::Loading); }},
      {Operation::Hide, [&](Arranged& t) { window(t)->Hide(platform::Window::Loading); }},
      {Operation::SetProgressCaption, [&](Arranged& t) { window(t)->SetProgressCaption("Removing RegKey"); }},
      {Operation::RepaintProgress, [&](Arranged& t) { window(t)->RepaintProgress(); }},
      {Operation::ShowErrorBox, [&](Arranged& t) { window(t)->ShowErrorBox("Kelvane", "x"); }},
      {Operation::CreateFolder, [](Arranged& t) { t.Fso()->CreateFolder(t.root + "\\New"); }},
      {Operation::CopyFile, [](Arranged& t) { t.Fso()->CopyFile(t.File(), t.root + "\\copy.txt"); }},
      {Operation::DeleteAtRestart, [](Arranged& t) { t.Fso()->DeleteAtRestart(t.File()); }},
      {Operation::OpenLog, [](Arranged& t) { t.Fso()->OpenLog(t.root + "\\k.log", true); }},
      {Operation::EnumValues, [&](Arranged& t) { check(t.Registry()->EnumValues(kHkcu, t.key, names) == 0); }},
      {Operation::GetStringValue, [&](Arranged& t) { check(t.Registry()->GetStringValue(kHkcu, t.key, "S", text) == 0); }},
      {Operation::GetMultiStringValue,
       [&](Arranged& t) { check(t.Registry()->GetMultiStringValue(kHkcu, t.key, "M", names) == 0); }},
      {Operation::SetMultiStringValue,
       [&](Arranged& t) { check(t.Registry()->SetMultiStringValue(kHkcu, t.key, "M", {"z"}) == 0); }},
      {Operation::DeleteValue, [&](Arranged& t) { check(t.Registry()->DeleteValue(kHkcu, t.key, "S") == 0); }},
      {Operation::EnumPatches, [&](Arranged& t) { services(t)->EnumPatches(); }},
      {Operation::DecomposeDescriptor, [&](Arranged& t) { check(services(t)->DecomposeDescriptor(descriptor) == code); }},
      {Operation::InstallerFolder, [](Arranged& t) { t.Fso()->InstallerFolder(); }},
      {Operation::DeleteInstallerCache, [](Arranged& t) { t.Fso()->DeleteInstallerCache(t.Cached()); }},
      {Operation::EditionViews, [](Arranged& t) { t.machine->kernel().EditionViews(); }},
      {Operation::ProductCode, [&](Arranged& t) { check(product(t)->ProductCode() == code); }},
      {Operation::StartElevated, [](Arranged& t) { t.machine->kernel().StartElevated(); }},
      {Operation::ImpersonateUser, [](Arranged& t) { t.machine->kernel().ImpersonateUser(); }},
  };
  ASSERT_EQ(calls.size(), platform::Operations().size());
  for (const auto& [operation, call] : calls) {
    SCOPED_TRACE(platform::OperationName(operation));
    Arranged faulty(GetParam());
    if (!faulty.machine->FailOn(operation, "")) continue;
    EXPECT_NE(Fails([&] { call(faulty); }), 0);
    Arranged plain(GetParam());
    EXPECT_EQ(Fails([&] { call(plain); }), 0);
  }
}

}  // namespace kelvane::testing
