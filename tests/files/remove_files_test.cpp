#include "files/remove_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"
#include "support/office_machine.h"

namespace kelvane {
namespace {

using platform::Operation;
using testing::AddOffice2010;
using platform::recording::AddWindowsEnvironment;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kBatchFile = "C:\\Users\\Demo User\\AppData\\Local\\Temp\\deleteoffice.bat";
constexpr const char* kBatchContent =
    "@echo off\r\nrd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\"\r\n";
constexpr const char* kCaches = "C:\\MSOCache\\All Users\\";

const std::vector<std::string> kOfficeProgress = {
    "Removing C:\\Program Files\\Common Files\\Microsoft Shared\\Office14",
    "Removing C:\\Program Files\\Common Files\\Microsoft Shared\\Source Engine",
    "Removing C:\\ProgramData\\Start Menu\\Programs\\Microsoft Office\\",
    "Removing: C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C",
    "Removing: C:\\MSOCache\\All Users\\{90140000-0115-0409-0000-0000000FF1CE}-C",
    "Removing: C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normal.dotm",
    "Removing: C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normalemail.dotm",
    "Removing: C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\document building blocks\\1033\\Building Blocks.dotx",
};

TEST(RemoveFiles, DeletesEveryOfficeFolderAndTemplateAndKeepsTheRest) {
  platform::recording::RecordingPlatform recorder;
  AddOffice2010(recorder.machine);
  files::RemoveFiles(recorder.get());

  EXPECT_EQ(recorder.Progress(), kOfficeProgress);
  const auto& machine = recorder.machine;
  EXPECT_FALSE(machine.HasFolder("C:\\Program Files\\Common Files\\Microsoft Shared\\Office14"));
  EXPECT_FALSE(machine.HasFolder("C:\\Program Files\\Common Files\\Microsoft Shared\\Source Engine"));
  EXPECT_FALSE(machine.HasFolder("C:\\ProgramData\\Start Menu\\Programs\\Microsoft Office"));
  EXPECT_FALSE(machine.HasFile("C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normal.dotm"));
  EXPECT_FALSE(machine.HasFolder(std::string(kCaches) + "{90140000-0011-0000-0000-0000000FF1CE}-C"));
  // Left for the batch file after the restart, and things that are not Office 2010's.
  EXPECT_TRUE(machine.HasFile("C:\\Program Files\\Microsoft Office\\Office14\\WINWORD.EXE"));
  EXPECT_TRUE(machine.HasFile("C:\\Program Files\\Common Files\\Microsoft Shared\\VBA\\VBE7.DLL"));
  EXPECT_TRUE(machine.HasFile("C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\My Letter.dotx"));
  EXPECT_TRUE(machine.HasFolder(kCaches));
  // The user's own templates and batch file with the user's own rights; the
  // machine's folders with the administrator's.
  EXPECT_THAT(recorder.EntriesWithRights("Delete "),
              ElementsAre("admin C:\\Program Files\\Common Files\\Microsoft Shared\\Office14 | force",
                          "admin C:\\Program Files\\Common Files\\Microsoft Shared\\Source Engine | force",
                          "admin C:\\ProgramData\\Start Menu\\Programs\\Microsoft Office | force",
                          std::string("admin ") + kCaches + "{90140000-0011-0000-0000-0000000FF1CE}-C | force",
                          std::string("admin ") + kCaches + "{90140000-0115-0409-0000-0000000FF1CE}-C | force",
                          "user C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normal.dotm | force",
                          "user C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normalemail.dotm | force",
                          "user C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\document building blocks\\1033\\"
                          "Building Blocks.dotx | force"));
  EXPECT_THAT(recorder.EntriesWithRights("OpenTextFile "), ElementsAre(std::string("user ") + kBatchFile + " | 2 | true"));
}

TEST(RemoveFiles, OnAMachineWithoutOfficeShowsTheFixedTextsAndStillWritesTheBatchFile) {
  platform::recording::RecordingPlatform recorder;
  AddWindowsEnvironment(recorder.machine);
  files::RemoveFiles(recorder.get());

  std::vector<std::string> expected = kOfficeProgress;
  expected.erase(expected.begin() + 3, expected.begin() + 5);
  EXPECT_EQ(recorder.Progress(), expected);
  EXPECT_EQ(recorder.machine.files.at(kBatchFile).content, kBatchContent);
  EXPECT_THAT(recorder.Entries("error"), IsEmpty());
}

TEST(RemoveFiles, WritesTheBatchFileAfterTheFolderDeletionsAndBeforeTheCacheSweep) {
  platform::recording::RecordingPlatform recorder;
  AddOffice2010(recorder.machine);
  files::RemoveFiles(recorder.get());

  const auto& log = recorder.log();
  const auto at = [&](const std::string& prefix) {
    return std::find_if(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }) -
           log.begin();
  };
  EXPECT_LT(at("Delete C:\\ProgramData\\Start Menu\\Programs\\Microsoft Office"), at("OpenTextFile"));
  EXPECT_LT(at("Close"), at("GetFolder C:\\MSOCache\\All Users"));
  EXPECT_THAT(recorder.Entries("OpenTextFile "), ElementsAre(std::string(kBatchFile) + " | 2 | true"));
  EXPECT_THAT(recorder.Entries("WriteLine "),
              ElementsAre("@echo off", "rd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\""));
}

TEST(RemoveFiles, TheBatchFileIsExactly65BytesAndASecondCallReplacesIt) {
  platform::recording::RecordingPlatform recorder;
  AddWindowsEnvironment(recorder.machine);
  recorder.machine.AddFile(kBatchFile, "stale content from somewhere else, longer than the batch file");
  files::RemoveFiles(recorder.get());
  files::RemoveFiles(recorder.get());
  const std::string& content = recorder.machine.files.at(kBatchFile).content;
  EXPECT_EQ(content, kBatchContent);
  EXPECT_EQ(content.size(), 65u);
}

TEST(RemoveFiles, SweepsOnlyCacheFoldersEndingInTheExactSignature) {
  platform::recording::RecordingPlatform recorder;
  AddWindowsEnvironment(recorder.machine);
  const std::vector<std::string> deleted = {"{90140000-0011-0000-0000-0000000FF1CE}-C", "0FF1CE}-C", "x0FF1CE}-C"};
  const std::vector<std::string> kept = {
      "{90140000-0012-0000-0000-0000000FF1CE}-c",  // lower-case final c
      "{90140000-0013-0000-0000-0000000FF1CE}-D",  // another letter after the hyphen
      "{90140000-0014-0000-0000-0000000FF1CE}",    // no hyphen
      "{90140000-0015-0000-0000-0000000ff1ce}-C",  // signature in lower case
      "FF1CE}-C",                                  // shorter than the suffix
      "0FF1CE}-C.old",
  };
  for (const auto& name : deleted) recorder.machine.AddFile(kCaches + name + "\\setup.dat", "", true);
  for (const auto& name : kept) recorder.machine.AddFile(kCaches + name + "\\setup.dat");
  files::RemoveFiles(recorder.get());

  for (const auto& name : deleted) EXPECT_FALSE(recorder.machine.HasFolder(kCaches + name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(recorder.machine.HasFolder(kCaches + name)) << name;
  // Announced in the order the folder lists them, and only the ones that go.
  EXPECT_THAT(recorder.Entries("progress Removing: C:\\MSOCache"),
              ElementsAre("\\All Users\\0FF1CE}-C", "\\All Users\\x0FF1CE}-C",
                          "\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C"));
}

TEST(RemoveFiles, ACacheFolderWhosePathCannotBeReadIsLeftAlone) {
  platform::recording::RecordingPlatform recorder;
  AddWindowsEnvironment(recorder.machine);
  const std::string cache = std::string(kCaches) + "{90140000-0011-0000-0000-0000000FF1CE}-C";
  recorder.machine.AddFolder(cache);
  recorder.FailOn(Operation::Path, cache);
  files::RemoveFiles(recorder.get());
  EXPECT_TRUE(recorder.machine.HasFolder(cache));
}

TEST(RemoveFiles, AnUnreadableCacheNameKeepsTheLineAndStillDeletes) {
  platform::recording::RecordingPlatform recorder;
  AddWindowsEnvironment(recorder.machine);
  const std::string cache = std::string(kCaches) + "{90140000-0011-0000-0000-0000000FF1CE}-C";
  recorder.machine.AddFolder(cache);
  recorder.FailOn(Operation::Name, cache);
  files::RemoveFiles(recorder.get());
  EXPECT_FALSE(recorder.machine.HasFolder(cache));
  EXPECT_THAT(recorder.Entries("progress Removing: C:\\MSOCache"), IsEmpty());
}

// After set-up every failure is skipped and the phase goes on.
TEST(RemoveFiles, FailuresAfterSetUpAreSkipped) {
  const std::vector<std::pair<Operation, std::string>> faults = {
      {Operation::GetFolder, "C:\\Program Files\\Common Files\\Microsoft Shared\\Office14"},
      {Operation::Delete, "C:\\Program Files\\Common Files\\Microsoft Shared\\Source Engine\\OSE.EXE"},
      {Operation::OpenTextFile, ""},
      {Operation::WriteLine, "@echo off"},
      {Operation::GetFolder, "C:\\MSOCache\\All Users"},
      {Operation::SubFolders, "C:\\MSOCache\\All Users"},
      {Operation::SetProgressCaption, ""},
      {Operation::GetFile, ""},
  };
  for (const auto& [operation, argument] : faults) {
    SCOPED_TRACE(std::string(platform::OperationName(operation)) + " " + argument);
    platform::recording::RecordingPlatform recorder;
    AddOffice2010(recorder.machine);
    recorder.FailOn(operation, argument);
    EXPECT_NO_THROW(files::RemoveFiles(recorder.get()));
    // The phase reached its last step.
    EXPECT_EQ(recorder.Entries("GetFile ").back(),
              "C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\document building blocks\\1033\\Building "
              "Blocks.dotx");
  }
}

TEST(RemoveFiles, AFileInUseStaysAndTheRestOfItsFolderGoes) {
  platform::recording::RecordingPlatform recorder;
  AddOffice2010(recorder.machine);
  const std::string shared = "C:\\Program Files\\Common Files\\Microsoft Shared\\Office14\\";
  recorder.machine.AddFile(shared + "In Use.dll");
  recorder.FailOn(Operation::Delete, shared + "In Use.dll");
  files::RemoveFiles(recorder.get());
  EXPECT_TRUE(recorder.machine.HasFile(shared + "In Use.dll"));
  EXPECT_FALSE(recorder.machine.HasFile(shared + "MSO.DLL"));
  EXPECT_EQ(recorder.Progress(), kOfficeProgress);
}

TEST(RemoveFiles, ASetUpFailureGoesToTheCallerBeforeAnythingIsDeleted) {
  for (const Operation operation : {Operation::CreateObject, Operation::ExpandEnvironmentStrings}) {
    platform::recording::RecordingPlatform recorder;
    AddOffice2010(recorder.machine);
    recorder.FailOn(operation, operation == Operation::CreateObject ? "Scripting.FileSystemObject" : "%temp%");
    EXPECT_THROW(files::RemoveFiles(recorder.get()), platform::Error);
    EXPECT_THAT(recorder.Entries("Delete"), IsEmpty());
    EXPECT_THAT(recorder.Progress(), IsEmpty());
  }
}

}  // namespace
}  // namespace kelvane
