#include "registry/delete_subkeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"

namespace kelvane {
namespace {

using platform::Operation;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Calls and progress texts only, in order.
std::vector<std::string> Walk(const platform::recording::RecordingPlatform& recorder) {
  std::vector<std::string> walk;
  for (const auto& entry : recorder.log()) {
    if (entry.rfind("EnumKey ", 0) == 0 || entry.rfind("DeleteKey ", 0) == 0 || entry.rfind("progress ", 0) == 0) {
      walk.push_back(entry);
    }
  }
  return walk;
}

class DeleteSubkeysTest : public ::testing::Test {
 protected:
  void Delete(const std::string& path) {
    platform::Platform& p = recorder.get();
    std::unique_ptr<platform::RegistryProvider> provider = p.objects.GetRegistryProvider("winmgmts:\\\\.\\root\\default:StdRegProv");
    registry::DeleteSubkeys(*provider, p.windows, platform::kLocalMachine, path);
  }
  platform::recording::RecordingPlatform recorder;
};

TEST_F(DeleteSubkeysTest, DeletesLeavesFirstAndAnnouncesTheKeyBeingEmptied) {
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\a\\x");
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\b\\y");
  Delete("K");
  EXPECT_THAT(Walk(recorder), ElementsAre("EnumKey 80000002 K", "progress Removing: K", "EnumKey 80000002 K\\a",
                                          "progress Removing: K\\a", "EnumKey 80000002 K\\a\\x",
                                          "DeleteKey 80000002 K\\a\\x", "DeleteKey 80000002 K\\a",
                                          "progress Removing: K", "EnumKey 80000002 K\\b", "progress Removing: K\\b",
                                          "EnumKey 80000002 K\\b\\y", "DeleteKey 80000002 K\\b\\y",
                                          "DeleteKey 80000002 K\\b", "DeleteKey 80000002 K"));
  EXPECT_FALSE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\K"));
}

TEST_F(DeleteSubkeysTest, ALeafOrAMissingKeyIsOneEnumerationAndOneDeletionWithoutAMessage) {
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\Leaf");
  Delete("Leaf");
  Delete("Missing");
  EXPECT_THAT(Walk(recorder), ElementsAre("EnumKey 80000002 Leaf", "DeleteKey 80000002 Leaf",
                                          "EnumKey 80000002 Missing", "DeleteKey 80000002 Missing"));
}

TEST_F(DeleteSubkeysTest, DoubledBackslashesAreKeptInEveryMessageAndChildPath) {
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\P\\N\\c");
  Delete("P\\\\N");
  EXPECT_THAT(Walk(recorder), ElementsAre("EnumKey 80000002 P\\\\N", "progress Removing: P\\\\N",
                                          "EnumKey 80000002 P\\\\N\\c", "DeleteKey 80000002 P\\\\N\\c",
                                          "DeleteKey 80000002 P\\\\N"));
  EXPECT_FALSE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\P\\N"));
}

TEST_F(DeleteSubkeysTest, ARefusedSubkeyDoesNotStopItsSiblingsOrItsParentsDeletion) {
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\a");
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\b");
  // The provider answers with a status, which is no failure: the walk goes on.
  recorder.machine.refusedKeys.insert("HKEY_LOCAL_MACHINE\\K\\a");
  Delete("K");
  EXPECT_THAT(recorder.Entries("DeleteKey "), ElementsAre("80000002 K\\a", "80000002 K\\b", "80000002 K"));
  EXPECT_TRUE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\K\\a"));
  EXPECT_FALSE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\K\\b"));
}

TEST_F(DeleteSubkeysTest, AFailureThreeLevelsDownEndsEveryCallAbove) {
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\a\\x\\1");
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\a\\x\\2");
  recorder.machine.AddKey("HKEY_LOCAL_MACHINE\\K\\b");
  recorder.FailOn(Operation::EnumKey, "HKEY_LOCAL_MACHINE\\K\\a\\x\\2");
  EXPECT_THROW(Delete("K"), platform::Error);
  EXPECT_FALSE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\K\\a\\x\\1"));
  EXPECT_TRUE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\K\\a\\x\\2"));
  EXPECT_TRUE(recorder.machine.HasKey("HKEY_LOCAL_MACHINE\\K\\b"));
  EXPECT_EQ(recorder.log().back(), "EnumKey 80000002 K\\a\\x\\2");
}

TEST_F(DeleteSubkeysTest, DeletesAWideSubtreeInEnumerationOrder) {
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "k%03d", i);
    recorder.machine.AddKey(std::string("HKEY_LOCAL_MACHINE\\W\\") + name);
    expected.push_back(std::string("80000002 W\\") + name);
  }
  expected.push_back("80000002 W");
  Delete("W");
  EXPECT_THAT(recorder.Entries("DeleteKey "), ElementsAreArray(expected));
}

}  // namespace
}  // namespace kelvane
