#include "platform/shared/skip_if_fails.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvane::platform {
namespace {

TEST(SkipIfFails, DropsAPlatformFailureAndLetsAProgrammingErrorThrough) {
  EXPECT_NO_THROW(SkipIfFails([] { throw Error(5, "Access is denied."); }));
  EXPECT_THROW(SkipIfFails([] { throw std::logic_error("a bug"); }), std::logic_error);
}

}  // namespace
}  // namespace kelvane::platform
