// registry.reg as regedit writes it, and StdRegProv's answers on it.
#include <gtest/gtest.h>

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/reg_file.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_objects.h"
#include "sim_test_image.h"

namespace kelvane::platform::sim {
namespace {

using platform::kLocalMachine;

std::string Utf16(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

const std::string kSample =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]\r\n"
    "\"Path\"=\"C:\\\\Program Files\\\\App\"\r\n"
    "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"
    "@=dword:00000001\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\sub]\r\n\r\n";

std::string ErrorOf(const std::string& bytes) {
  try {
    ParseRegFile(bytes, "registry.reg");
  } catch (const ImageError& error) {
    return error.what();
  }
  return "";
}

TEST(RegFile, ReadsUtf16AndWritesItBackWithValuesAsRead) {
  const RegFile file = ParseRegFile(Utf16(kSample), "registry.reg");
  EXPECT_EQ(file.encoding, RegEncoding::Utf16LittleEndian);
  const RegistryKey* app = file.tree.Find("hkey_local_machine\\software\\VENDOR\\app");
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->values.size(), 3u);
  const std::string written = FormatRegFile(file);
  EXPECT_EQ(written.substr(0, 2), "\xFF\xFE");
  const RegFile again = ParseRegFile(written, "registry.reg");
  EXPECT_EQ(again.tree.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App")->values, app->values);
}

TEST(RegFile, BadFilesNameTheLine) {
  EXPECT_EQ(ErrorOf("REGEDIT4\r\n"), "registry.reg:1: expected the header \"Windows Registry Editor Version 5.00\"");
  EXPECT_NE(ErrorOf(kSample + "garbage\r\n").find("registry.reg:11: malformed line"), std::string::npos);
  EXPECT_NE(ErrorOf(kSample + "[HKEY_USERS\\x]\r\n").find("registry.reg:11: unknown root: HKEY_USERS"), std::string::npos);
  EXPECT_NE(ErrorOf(kSample + "\"v\"=wrong\r\n").find("registry.reg:11: malformed value"), std::string::npos);
  EXPECT_NE(ErrorOf(Utf16(kSample) + "x").find("truncated UTF-16"), std::string::npos);
}

class RegistryProviderTest : public ::testing::Test {
 protected:
  RegistryProviderTest() : image(false) {
    image.WriteImageFile("registry.reg", kSample);
  }
  testing::TestImage image;
};

TEST_F(RegistryProviderTest, EnumKeyGivesSortedNames) {
  Machine machine(image.path());
  machine.registry().Create("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Alpha");
  machine.registry().Create("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\beta");
  auto provider = SimObjects(machine).GetRegistryProvider("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv");
  std::optional<std::vector<std::string>> names;
  EXPECT_EQ(provider->EnumKey(kLocalMachine, "SOFTWARE\\\\Vendor\\App\\", names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "sub"}));
}

TEST_F(RegistryProviderTest, TheFileIsWrittenBackInItsOwnEncoding) {
  {
    Machine machine(image.path());
    machine.registry().Remove("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\sub");
    machine.Save();
  }
  const std::string written = image.ReadImageFile("registry.reg");
  EXPECT_EQ(written.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_EQ(written.find("App\\sub"), std::string::npos);
  EXPECT_NE(written.find("\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelvane::platform::sim
