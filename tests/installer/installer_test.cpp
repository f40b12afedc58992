#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "installer/stop_service.h"
#include "installer/uninstall_msis.h"
#include "platform/recording/recording_platform.h"

namespace kelvane {
namespace {

using platform::Operation;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(StopService, ShowsItsMessageAndStartsNetStopWithoutWaiting) {
  platform::recording::RecordingPlatform recorder;
  installer::StopService(recorder.get());
  EXPECT_THAT(recorder.log(), ElementsAre("CreateObject WScript.Shell", "progress Stopping The Office Source Engine service",
                                          "repaint", "run net stop ose"));
}

TEST(StopService, EveryStepIsTriedWhateverFailedBefore) {
  for (const Operation operation : {Operation::CreateObject, Operation::SetProgressCaption, Operation::run}) {
    SCOPED_TRACE(platform::OperationName(operation));
    platform::recording::RecordingPlatform recorder;
    recorder.FailOn(operation);
    EXPECT_NO_THROW(installer::StopService(recorder.get()));
    EXPECT_THAT(recorder.Progress(), ElementsAre("Stopping The Office Source Engine service"));
    EXPECT_EQ(recorder.Entries("run ").size(), operation == Operation::CreateObject ? 0u : 1u);
  }
}

class UninstallMSIsTest : public ::testing::Test {
 protected:
  void Install(std::vector<std::optional<std::string>> names) {
    for (auto& name : names) recorder.machine.products.push_back({std::move(name), true});
  }
  std::vector<std::string> Remaining() const {
    std::vector<std::string> names;
    for (const auto& product : recorder.machine.products) {
      if (product.installed) names.push_back(product.name.value_or("(no name)"));
    }
    return names;
  }
  platform::recording::RecordingPlatform recorder;
};

TEST_F(UninstallMSIsTest, BindsAndQueriesAsWritten) {
  installer::UninstallMSIs(recorder.get());
  EXPECT_THAT(recorder.log(), ElementsAre("GetObject winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2",
                                          "ExecQuery Select * from Win32_Product"));
}

TEST_F(UninstallMSIsTest, UninstallsExactlyTheProductsWhoseNamesBeginWithThePrefix) {
  Install({"Microsoft Office Professional Plus 2010", "Microsoft Office", "microsoft office starter",
           "MICROSOFT OFFICE 2010", " Microsoft Office Word", "Update for Microsoft Office 2010", "Microsoft Offic",
           std::nullopt, "Microsoft Office 2007 Primary Interop Assemblies", "Microsoft Officeless", "7-Zip 9.20"});
  installer::UninstallMSIs(recorder.get());
  EXPECT_THAT(recorder.Entries("Uninstall "),
              ElementsAre("Microsoft Office Professional Plus 2010", "Microsoft Office",
                          "Microsoft Office 2007 Primary Interop Assemblies", "Microsoft Officeless"));
  EXPECT_THAT(recorder.Progress(), ElementsAre("Uninstalling MSI: Microsoft Office Professional Plus 2010",
                                               "Uninstalling MSI: Microsoft Office",
                                               "Uninstalling MSI: Microsoft Office 2007 Primary Interop Assemblies",
                                               "Uninstalling MSI: Microsoft Officeless"));
  EXPECT_THAT(Remaining(), ElementsAre("microsoft office starter", "MICROSOFT OFFICE 2010", " Microsoft Office Word",
                                       "Update for Microsoft Office 2010", "Microsoft Offic", "(no name)", "7-Zip 9.20"));
}

TEST_F(UninstallMSIsTest, AnotherOfficesProductsAreLeftWhateverTheirNames) {
  recorder.machine.products = {
      {.name = "Microsoft Office Professional Plus 2016", .code = "{90160000-0011-0000-1000-0000000FF1CE}"},
      {.name = "Microsoft Office Professional Plus 2010", .code = "{90140000-0011-0000-0000-0000000FF1CE}"},
      {.name = "Microsoft Office Enterprise 2007", .code = "{90120000-0030-0000-0000-0000000FF1CE}"},
      {.name = "Microsoft Office Word 2016", .code = "{90160000-001B-0000-1000-0000000FF1CE}"}};
  recorder.FailOn(Operation::ProductCode, "{90160000-001B-0000-1000-0000000FF1CE}");  // unreadable: the name decides
  installer::UninstallMSIs(recorder.get());
  EXPECT_THAT(Remaining(), ElementsAre("Microsoft Office Professional Plus 2016", "Microsoft Office Enterprise 2007"));
}

TEST_F(UninstallMSIsTest, AFailingUninstallOrMessageDoesNotStopTheWalk) {
  Install({"Microsoft Office Word 2010", "Microsoft Office Excel 2010", "Microsoft Office Outlook 2010"});
  recorder.FailOn(Operation::Uninstall, "Microsoft Office Word 2010");
  recorder.FailOn(Operation::SetProgressCaption, "Uninstalling MSI: Microsoft Office Excel 2010");
  installer::UninstallMSIs(recorder.get());
  EXPECT_THAT(Remaining(), ElementsAre("Microsoft Office Word 2010"));
}

TEST_F(UninstallMSIsTest, WithoutTheServicesOrTheQueryNothingIsUninstalledAndTheLineIsLeftAlone) {
  for (const Operation operation : {Operation::GetObject, Operation::ExecQuery}) {
    platform::recording::RecordingPlatform run;
    run.machine.products.push_back({"Microsoft Office Word 2010", true});
    run.FailOn(operation);
    EXPECT_NO_THROW(installer::UninstallMSIs(run.get()));
    EXPECT_THAT(run.Entries("Uninstall "), IsEmpty());
    EXPECT_THAT(run.Progress(), IsEmpty());
  }
}

TEST_F(UninstallMSIsTest, Office14ProductsGoByTheirCodeAndTheKeptOnesAreNamedOnce) {
  recorder.machine.products = {
      {.name = "Microsoft Visio Premium 2010", .code = "{90140000-0057-0000-0000-0000000FF1CE}"},
      {.name = "Microsoft Access database engine 2010", .code = "{90140000-00D1-0409-0000-0000000FF1CE}"},
      {.name = "Microsoft Filter Pack 2.0", .code = "{95140000-2000-0409-1000-0000000FF1CE}"},
      // A registration the Installer lists without a name goes by its code.
      {.name = std::nullopt, .code = "{90140000-0016-0409-0000-0000000FF1CE}"}};
  const auto results = installer::UninstallMSIs(recorder.get());
  EXPECT_EQ(recorder.Entries("Uninstall ").size(), 2u);
  EXPECT_THAT(recorder.Progress(), ElementsAre("Uninstalling MSI: Microsoft Visio Premium 2010"));
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].status, 0);
  EXPECT_EQ(results[1].name, "{90140000-0016-0409-0000-0000000FF1CE}");
}

TEST_F(UninstallMSIsTest, ABusyInstallerIsWaitedForOnceThenTriedAgain) {
  recorder.machine.products = {{.name = "Microsoft Office Word 2010", .code = "{90140000-001B-0000-0000-0000000FF1CE}",
                                .uninstallStatus = 1618}};
  const auto results = installer::UninstallMSIs(recorder.get());
  EXPECT_EQ(recorder.Entries("Uninstall ").size(), 2u);
  EXPECT_EQ(recorder.Entries("WaitForInstaller ").size(), 1u);
  EXPECT_EQ(installer::Judge(results.at(0).status, true), installer::Verdict::Remains);
}

TEST(Judge, EachStatusLeadsToItsVerdict) {
  using installer::Verdict;
  for (const long status : {1603L, 1612L, 1619L, 1620L, 1635L, 1636L, installer::kUninstallCallFailed}) {
    EXPECT_EQ(installer::Judge(status, true), Verdict::Scrub) << status;
  }
  for (const long status : {1601L, 1602L, 1625L, 1618L}) EXPECT_EQ(installer::Judge(status, true), Verdict::Remains);
  EXPECT_EQ(installer::Judge(0, false), Verdict::Removed);
  EXPECT_EQ(installer::Judge(1605, true), Verdict::Scrub);
  EXPECT_EQ(installer::Judge(3010, false), Verdict::RestartNeeded);
}

}  // namespace
}  // namespace kelvane
