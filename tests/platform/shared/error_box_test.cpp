#include "platform/shared/error_box.h"

#include <gtest/gtest.h>

namespace kelvane::platform {
namespace {

TEST(ErrorBoxText, ShowsSmallNumbersInDecimalAndHresultsInHex) {
  EXPECT_EQ(ErrorBoxText(Error(424, "Object required")), "Run-time error '424':\n\nObject required");
  EXPECT_EQ(ErrorBoxText(Error(static_cast<long>(0x80070005u), "Access is denied.")),
            "Run-time error '0x80070005':\n\nAccess is denied.");
  // Where the one form ends and the other begins.
  EXPECT_EQ(ErrorNumberText(Error(0xFFFF, "")), "65535");
  EXPECT_EQ(ErrorNumberText(Error(0x10000, "")), "0x00010000");
}

}  // namespace
}  // namespace kelvane::platform
