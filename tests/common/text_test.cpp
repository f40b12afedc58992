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

// What "%u", "%0*u" and "%0*X" gave before: the log's times, error numbers
// and product codes depend on it.
TEST(Digits, AsPrintfWroteThem) {
  EXPECT_EQ(Digits(0), "0");
  EXPECT_EQ(Digits(7, 10, 3), "007");
  EXPECT_EQ(Digits(2026, 10, 2), "2026");
  EXPECT_EQ(Digits(0x80041001u, 16, 8), "80041001");
  EXPECT_EQ(Digits(0xAu, 16, 2), "0A");
  EXPECT_EQ(Digits(0xFFFFFFFFFFFFFFFFull, 16), "FFFFFFFFFFFFFFFF");
}

}  // namespace
}  // namespace kelvane
