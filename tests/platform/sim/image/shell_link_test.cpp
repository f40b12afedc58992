// Shortcuts in the Shell Link binary format, as Windows and liblnk read them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>

#include "platform/sim/image/shell_link.h"
#include "platform/sim/sim_test_image.h"

namespace kelvane::platform::sim {
namespace {

std::string CommandOutput(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  std::array<char, 256> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
  return output;
}

TEST(ShellLink, ReadsBackWhatItWrites) {
  const std::string bytes = WriteShellLink({"C:\\Users\\J\xC3\xBCrgen K\\Downloads\\kelvane2010.exe", 4});
  const auto link = ReadShellLink(bytes);
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->targetPath, "C:\\Users\\J\xC3\xBCrgen K\\Downloads\\kelvane2010.exe");
  EXPECT_EQ(link->showCommand, 4u);
}

TEST(ShellLink, HeaderFieldsStandWhereTheFormatPutsThem) {
  const std::string bytes = WriteShellLink({"C:\\a.exe", 7});
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x4C\0\0\0", 4));
  EXPECT_EQ(static_cast<unsigned char>(bytes[0x3C]), 7);           // ShowCommand
  EXPECT_EQ(static_cast<unsigned char>(bytes[0x14]) & 0x82, 0x82);  // HasLinkInfo, IsUnicode
}

TEST(ShellLink, RejectsWhatIsNotAShortcut) {
  EXPECT_FALSE(ReadShellLink("MZ not a link").has_value());
  std::string cut = WriteShellLink({"C:\\a.exe", 1});
  cut.resize(90);
  EXPECT_FALSE(ReadShellLink(cut).has_value());
}

TEST(ShellLink, LnkinfoReadsTheTarget) {
  if (CommandOutput("command -v lnkinfo").empty()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  testing::TestImage image(false);
  const auto path = image.path() / "Kelvane.lnk";
  std::ofstream(path, std::ios::binary) << WriteShellLink({"C:\\Users\\Demo User\\Downloads\\kelvane2010.exe", 4});
  const std::string info = CommandOutput("lnkinfo '" + path.string() + "'");
  EXPECT_NE(info.find("Local path\t\t\t: C:\\Users\\Demo User\\Downloads\\kelvane2010.exe"), std::string::npos) << info;
  EXPECT_NE(info.find("Drive type\t\t\t: Fixed"), std::string::npos) << info;
}

}  // namespace
}  // namespace kelvane::platform::sim
