// The sweep's rule on its own: which folders a temporary-folder sweep may
// empty, from the roles of the machine's places.
#include "platform/shared/sweep_root.h"

#include <gtest/gtest.h>

#include "platform/recording/recording_platform.h"

namespace kelvane {
namespace {

// The rule itself, on the recording machine's places: each refusal is the
// rule's, not the want of anything to delete.
TEST(SweepRule, OnlyAFolderStrictlyBelowTheUsersProfileOnAFixedDriveThatHoldsNoKnownFolder) {
  const platform::SweepRoles roles = platform::recording::MachineState().sweepRoles;
  for (const char* refused :
       {"C:\\Users\\Demo User", "C:\\Users\\Demo User\\", "C:\\Users\\Demo User\\Documents",
        "C:\\Users\\Demo User\\AppData", "C:\\USERS\\DEMO USER\\APPDATA\\LOCAL", "C:\\Users\\Demo User\\Temp\\..",
        "C:\\Users\\Demo User\\.\\Temp", "\\\\.\\C:\\Users\\Demo User\\Temp", "\\\\?\\C:\\Users\\Demo User\\Temp",
        "C:\\Users\\Demo User2\\Temp", "D:\\Users\\Demo User\\Temp", "\\\\server\\Users\\Demo User\\Temp", "C:\\",
        "Users\\Demo User\\Temp"}) {
    EXPECT_FALSE(platform::MayEmptyFolder({refused}, roles)) << refused;
  }
  for (const char* allowed : {"C:\\Users\\Demo User\\AppData\\Local\\Temp", "c:\\users\\demo user\\temp\\",
                              "C:\\Users\\Demo User\\Doc", "C:\\Users\\Demo User\\AppData\\Loc"}) {
    EXPECT_TRUE(platform::MayEmptyFolder({allowed}, roles)) << allowed;
    EXPECT_FALSE(platform::MayEmptyFolder({allowed, true}, roles)) << "a link at " << allowed;
  }
  platform::SweepRoles bare = roles;
  bare.knownFolders.clear();
  EXPECT_FALSE(platform::MayEmptyFolder({"C:\\Users\\Demo User"}, bare));
  bare.profile.clear();
  EXPECT_FALSE(platform::MayEmptyFolder({"C:\\Users\\Demo User\\AppData\\Local\\Temp"}, bare));
  // The spelling alone, before any machine is asked.
  for (const char* path : {"C:\\", "\\\\server\\share\\", "\\\\.\\C:\\Temp", "\\\\?\\C:\\Temp", "C:\\Temp\\..\\x"}) {
    EXPECT_FALSE(platform::IsSweepablePath(path)) << path;
  }
  EXPECT_TRUE(platform::IsSweepablePath("\\\\server\\share\\Temp"));
}

}  // namespace
}  // namespace kelvane
