#include "common/text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// A name found on the machine (a cache folder's) ends up in the log: it may
// carry any control character, and must neither break the line nor reach
// the terminal of whoever reads the log.
TEST(TabField, EveryControlCharacterIsEscapedAndNothingElse) {
  EXPECT_EQ(TabField("a\tb\r\nc"), "a\\tb\\r\\nc");
  EXPECT_EQ(TabField(std::string("\x1b[2J\x00\x7f", 6)), "\\x1B[2J\\x00\\x7F");
  EXPECT_EQ(TabField("next\xc2\x85line \xc2\x9b"), "next\\u0085line \\u009B");
  EXPECT_EQ(TabField("C:\\MSOCache\\{9014}-C K\xc3\xa9lvane \xe2\x80\xae"), "C:\\MSOCache\\{9014}-C K\xc3\xa9lvane \xe2\x80\xae");
}

}  // namespace
}  // namespace kelvane
