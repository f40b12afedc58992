#include "registry/remove_reg_keys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/recording/recording_platform.h"
#include "registry/registry_plan.h"
#include "support/office_machine.h"

namespace kelvane {
namespace {

using platform::Operation;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kHKLM = "HKEY_LOCAL_MACHINE\\";
constexpr const char* kHKCR = "HKEY_CLASSES_ROOT\\";
constexpr const char* kDownloads = "SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

const std::vector<std::string> kFixedAnnouncements = {
    "Removing RegKeyHKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0",
    "Removing RegKeyHKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0",
    "Removing RegKeyHKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose",
    "Removing RegKeyHKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\C:|Program Files|Microsoft "
    "Office|Office12|ADDINS|MSOSEC.DLL\\",
};

TEST(RemoveRegKeys, OnAMachineWithoutOfficeShowsOnlyTheFixedKeyAnnouncements) {
  platform::recording::RecordingPlatform recorder;
  registry::RemoveRegKeys(recorder.get());
  EXPECT_EQ(recorder.Progress(), kFixedAnnouncements);
  // The seven parents, then the two upgrade-code parents, exactly as written.
  EXPECT_THAT(recorder.Entries("EnumKey 8000000").size(), 13u);
  const auto enumerations = recorder.Entries("EnumKey ");
  EXPECT_THAT(std::vector<std::string>(enumerations.end() - 9, enumerations.end()),
              ElementsAre("80000002 SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads",
                          "80000002 SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
                          "80000002 SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
                          "80000002 SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
                          "80000002 SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\"
                          "Products\\",
                          "80000000 Installer\\Features\\", "80000000 Installer\\Products",
                          "80000002 SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\",
                          "80000000 Installer\\UpgradeCodes\\"));
}

// An upgrade code lists every product that carries it, each in a value
// named by its packed code; a newer Office may share Office 2010's.
TEST(RemoveRegKeys, AnUpgradeCodeLosesOnlyOffice2010sValuesAndGoesOnceNoneIsLeft) {
  platform::recording::RecordingPlatform recorder;
  const std::string shared = kHKCR + std::string("Installer\\UpgradeCodes\\1011C000000000000000000000F01FEC");
  const std::string ours = kHKLM + std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\"
                                               "2011C000000000000000000000F01FEC");
  const std::string office2010 = "00004109110000000000000000F01FEC", office2016 = "00006109110000000100000000F01FEC";
  const std::string accessEngine = "000041091D0000000000000000F01FEC";  // kept: other software needs it
  recorder.machine.AddValue(shared, office2010, {});
  recorder.machine.AddValue(shared, office2016, {});
  recorder.machine.AddValue(ours, office2010, {});
  recorder.machine.AddValue(ours, "00004109C20090400000000000F01FEC", {});  // the proofing tools
  recorder.machine.AddValue(shared, accessEngine, {});
  registry::RemoveRegKeys(recorder.get());
  EXPECT_FALSE(recorder.machine.HasKey(ours));
  EXPECT_FALSE(recorder.machine.Value(shared, office2010));
  EXPECT_TRUE(recorder.machine.Value(shared, office2016) && recorder.machine.Value(shared, accessEngine));
}

// The Installer keeps its records in the native view whatever the program's
// bitness; uninstall entries are in the program's own.
TEST(RemoveRegKeys, TheInstallersRecordsGoThroughTheNativeViewAndTheRestThroughTheProgramsOwn) {
  platform::recording::RecordingPlatform recorder;
  testing::AddOffice2010(recorder.machine);
  recorder.machine.AddKey(kHKCR + std::string("Installer\\Products\\00004109110000000000000000F01FEC"));
  recorder.FailOn(Operation::GetObject, registry::RegistryProviderMoniker(".") + " (native view)");
  registry::RemoveRegKeys(recorder.get());
  EXPECT_FALSE(recorder.machine.HasKey(kHKLM + std::string(kUninstall) + "\\{90140000-0011-0000-0000-0000000FF1CE}"));
  EXPECT_TRUE(recorder.machine.HasKey(kHKCR + std::string("Installer\\Products\\00004109110000000000000000F01FEC")));
}

TEST(RemoveRegKeys, DeletesTheFixedKeysWithTheirWholeSubtrees) {
  platform::recording::RecordingPlatform recorder;
  testing::AddOffice2010(recorder.machine);
  registry::RemoveRegKeys(recorder.get());
  const auto& keys = recorder.machine;
  EXPECT_FALSE(keys.HasKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"));
  EXPECT_FALSE(keys.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0"));
  EXPECT_FALSE(keys.HasKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose"));
  EXPECT_FALSE(keys.HasKey(
      "HKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL"));
  EXPECT_TRUE(keys.HasKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Common"));
  EXPECT_TRUE(keys.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office"));

  // Each announced right before its own deletion, the subtree's messages after it.
  const auto progress = recorder.Progress();
  EXPECT_THAT(std::vector<std::string>(progress.begin(), progress.begin() + 6),
              ElementsAre(kFixedAnnouncements[0], "Removing: Software\\Microsoft\\Office\\14.0",
                          "Removing: Software\\Microsoft\\Office\\14.0\\Word", kFixedAnnouncements[1],
                          "Removing: SOFTWARE\\Microsoft\\Office\\14.0", "Removing: SOFTWARE\\Microsoft\\Office\\14.0\\Common"));
  EXPECT_EQ(progress[6], kFixedAnnouncements[2]);
  EXPECT_EQ(progress[7], kFixedAnnouncements[3]);
}

TEST(RemoveRegKeys, EveryMatchRuleIsExactAndCaseSensitive) {
  platform::recording::RecordingPlatform recorder;
  const std::string downloads = kHKLM + std::string(kDownloads) + "\\";
  const std::string uninstall = kHKLM + std::string(kUninstall) + "\\";
  const std::string upgrade = kHKLM + std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\");
  const std::string userData =
      kHKLM + std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\");
  const std::string features = kHKCR + std::string("Installer\\Features\\");
  const std::string products = kHKCR + std::string("Installer\\Products\\");
  const std::string codes = kHKCR + std::string("Installer\\UpgradeCodes\\");
  const std::vector<std::string> deleted = {
      downloads + "{90140000-0011-0000-0000-0000000FF1CE}-C",
      uninstall + "{90140000-0011-0000-0000-0000000FF1CE}",
      uninstall + "0FF1CE-anything",
      userData + "00004109110000000000000000F01FEC",
      features + "00004109110000000000000000F01FEC",
      products + "F01FEC",
  };
  const std::vector<std::string> kept = {
      downloads + "{90140000-0011-0000-0000-0000000FF1CE}",    // no -C
      downloads + "{90140000-0012-0000-0000-0000000ff1ce}-C",  // lower case
      uninstall + "{90140000-0012-0000-0000-0000000ff1ce}",
      uninstall + " 0FF1CE",  // something before the prefix
      uninstall + "0ff1ce",
      uninstall + "FF1CE}",
      upgrade + "00002109120000000000000000F01FEc",
      userData + "00002109110000000000000000F01FEC0",
      features + "01FEC",
      products + "00002109110000000000000000f01fec",
      codes + "F01FE",
      upgrade + "00002109110000000000000000F01FEC",  // Office 2007's
      codes + "00006109110000000100000000F01FEC",    // Office 2016's
  };
  for (const auto& key : deleted) recorder.machine.AddKey(key + "\\Child\\Grandchild");
  for (const auto& key : kept) recorder.machine.AddKey(key + "\\Child");
  registry::RemoveRegKeys(recorder.get());
  for (const auto& key : deleted) EXPECT_FALSE(recorder.machine.HasKey(key)) << key;
  for (const auto& key : kept) EXPECT_TRUE(recorder.machine.HasKey(key)) << key;
}

TEST(RemoveRegKeys, TheSourceEngineKeyStaysUnannouncedWhileTheProductsListAnotherOffice) {
  for (const bool listed : {true, false}) {
    platform::recording::RecordingPlatform recorder;
    testing::AddOffice2010(recorder.machine);
    recorder.machine.products.push_back(
        {.name = "Office 16 Click-to-Run Extensibility Component", .code = "{90160000-008C-0000-0000-0000000FF1CE}"});
    if (!listed) recorder.FailOn(Operation::ExecQuery);
    registry::RemoveRegKeys(recorder.get());
    EXPECT_EQ(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose"), listed);
    EXPECT_EQ(::testing::Value(recorder.Progress(), ::testing::Contains(kFixedAnnouncements[2])), !listed);
  }
}

TEST(RemoveRegKeys, FullPathsKeepTheParentExactlyAsWritten) {
  platform::recording::RecordingPlatform recorder;
  recorder.machine.AddKey("HKEY_CLASSES_ROOT\\Installer\\Products\\AF01FEC");
  recorder.machine.AddKey("HKEY_CLASSES_ROOT\\Installer\\Features\\BF01FEC");
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{X0FF1CE}");
  registry::RemoveRegKeys(recorder.get());
  const auto progress = recorder.Progress();
  EXPECT_THAT(std::vector<std::string>(progress.begin() + 4, progress.end()),
              ElementsAre("Removing: SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\\{X0FF1CE}",
                          "Removing: Installer\\Features\\\\BF01FEC", "Removing: Installer\\Products\\AF01FEC"));
  EXPECT_THAT(recorder.Entries("DeleteKey 80000000 Installer\\Features"), ElementsAre("\\\\BF01FEC"));
}

TEST(RemoveRegKeys, AnUninstallEntryGoneInStepTwoIsNotSeenByStepThree) {
  platform::recording::RecordingPlatform recorder;
  recorder.machine.AddKey(kHKLM + std::string(kUninstall) + "\\0FF1CE-{X0FF1CE}");
  recorder.machine.AddKey(kHKLM + std::string(kUninstall) + "\\0FF1CE-second");
  registry::RemoveRegKeys(recorder.get());
  EXPECT_THAT(recorder.Entries("progress Removing: SOFTWARE"),
              ElementsAre("\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\\0FF1CE-{X0FF1CE}",
                          "\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\\0FF1CE-second"));
}

TEST(RemoveRegKeys, AFailureInsideOneMatchAbandonsThatTreeOnlyAndGoesOnWithTheNextName) {
  platform::recording::RecordingPlatform recorder;
  const std::string products = "HKEY_CLASSES_ROOT\\Installer\\Products\\";
  recorder.machine.AddKey(products + "AF01FEC\\level2\\level3a");
  recorder.machine.AddKey(products + "AF01FEC\\level2\\level3b");
  recorder.machine.AddKey(products + "BF01FEC\\SourceList");
  recorder.FailOn(Operation::EnumKey, products + "AF01FEC\\level2\\level3b");
  registry::RemoveRegKeys(recorder.get());
  EXPECT_FALSE(recorder.machine.HasKey(products + "AF01FEC\\level2\\level3a"));
  EXPECT_TRUE(recorder.machine.HasKey(products + "AF01FEC\\level2\\level3b"));
  EXPECT_FALSE(recorder.machine.HasKey(products + "BF01FEC"));
  // The upgrade codes were still walked.
  EXPECT_EQ(recorder.Entries("EnumKey ").back(), "80000000 Installer\\UpgradeCodes\\");
}

TEST(RemoveRegKeys, AFailedEnumerationNeverReusesTheListOfAnEarlierStep) {
  platform::recording::RecordingPlatform recorder;
  // Names the failed Uninstall step's BeginsWith rule would match too.
  recorder.machine.AddKey(kHKLM + std::string(kDownloads) + "\\0FF1CE-{X0FF1CE}-C");
  recorder.machine.AddKey(kHKLM + std::string(kDownloads) + "\\0FF1CE-{Y0FF1CE}-C");
  recorder.FailOn(Operation::EnumKey, kHKLM + std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  registry::RemoveRegKeys(recorder.get());
  EXPECT_THAT(recorder.Entries("DeleteKey 80000002 SOFTWARE\\Microsoft\\Windows"), IsEmpty());
}

TEST(RemoveRegKeys, WithoutTheProviderOnlyTheAnnouncementsAppearAndThePhaseReturns) {
  platform::recording::RecordingPlatform recorder;
  testing::AddOffice2010(recorder.machine);
  recorder.FailOn(Operation::GetObject);
  EXPECT_NO_THROW(registry::RemoveRegKeys(recorder.get()));
  EXPECT_EQ(recorder.Progress(), kFixedAnnouncements);
  EXPECT_THAT(recorder.Entries("EnumKey "), IsEmpty());
  EXPECT_TRUE(recorder.machine.HasKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"));
}

TEST(RemoveRegKeys, AFixedKeyThatFailsToDeleteDoesNotStopTheNextOne) {
  platform::recording::RecordingPlatform recorder;
  testing::AddOffice2010(recorder.machine);
  recorder.FailOn(Operation::EnumKey, "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0");
  recorder.FailOn(Operation::SetProgressCaption, kFixedAnnouncements[1]);
  registry::RemoveRegKeys(recorder.get());
  EXPECT_TRUE(recorder.machine.HasKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0"));
  EXPECT_FALSE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0"));
  EXPECT_FALSE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose"));
}

}  // namespace
}  // namespace kelvane
