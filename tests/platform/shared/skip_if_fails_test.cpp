#include "platform/shared/skip_if_fails.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/recording/recording_platform.h"
#include "platform/shared/failure_naming.h"

namespace kelvane::platform {
namespace {

TEST(SkipIfFails, DropsAPlatformFailureAndLetsAProgrammingErrorThrough) {
  EXPECT_NO_THROW(SkipIfFails([] { throw Error(5, "Access is denied."); }));
  EXPECT_THROW(SkipIfFails([] { throw std::logic_error("a bug"); }), std::logic_error);
}

// What a skipped failure notes: the operation, what it was called with (the
// innermost call's), then the error; a failure nobody named keeps one field.
TEST(SkipIfFails, ASkippedFailureSaysWhatWasSkipped) {
  struct Notes final : Journal {
    std::vector<std::vector<std::string>> seen;
    void Note(std::string_view, const std::string& text) override { seen.push_back({text}); }
    void Note(std::string_view, const std::vector<std::string>& fields) override { seen.push_back(fields); }
  } notes;
  const JournalScope scope(notes);
  recording::RecordingPlatform machine;
  machine.machine.AddFolder("C:\\Office\\Sub");
  machine.FailOn(Operation::EnumKey);
  machine.FailOn(Operation::Delete);
  FailureNamingObjects objects(machine.get().objects);
  std::optional<std::vector<std::string>> names;
  SkipIfFails([&] {
    objects.GetRegistryProvider("winmgmts:\\\\.\\root\\default:StdRegProv")->EnumKey(kLocalMachine, "SOFTWARE\\Office", names);
  });
  SkipIfFails([&] { objects.CreateFileSystem()->GetFolder("C:\\Office")->SubFolders().at(0)->Delete(true); });
  SkipIfFails([] { throw Error(5, "Access is denied."); });
  ASSERT_EQ(notes.seen.size(), 3u);
  ASSERT_EQ(notes.seen[0].size(), 3u);
  EXPECT_EQ(notes.seen[0][0] + " " + notes.seen[0][1], "EnumKey HKEY_LOCAL_MACHINE\\SOFTWARE\\Office");
  EXPECT_EQ(notes.seen[0][2].substr(0, 11), "0x80004005 ");
  ASSERT_EQ(notes.seen[1].size(), 3u);
  EXPECT_EQ(notes.seen[1][0] + " " + notes.seen[1][1], "Delete C:\\Office\\Sub");
  EXPECT_EQ(notes.seen[2], (std::vector<std::string>{"5 Access is denied."}));
}

}  // namespace
}  // namespace kelvane::platform
