#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/windows/windows_platform.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

using platform::kCurrentUser;

constexpr const char* kRegistryMoniker = "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv";

// Keys under HKCU\Software\KelvaneTest\<this process>, made and removed with
// the registry API itself.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() : base_(L"Software\\KelvaneTest\\" + std::to_wstring(GetCurrentProcessId())) {}
  ~RegistryTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str()); }

  void Make(const std::wstring& path) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\" + path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  bool Has(const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (base_ + L"\\" + path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  std::string Path(const std::string& tail) const { return Utf8(base_) + tail; }

  std::unique_ptr<platform::RegistryProvider> provider = platform::windows::MakeObjects()->GetRegistryProvider(kRegistryMoniker);

 private:
  std::wstring base_;
};


// A key name holding a lone surrogate, as the registry allows, is listed and
// deleted by the name the listing gave.
TEST_F(RegistryTest, AKeyNameWithALoneSurrogateIsListedAndDeleted) {
  const std::wstring lone = std::wstring(L"k") + static_cast<wchar_t>(0xDC00);
  Make(L"Lone\\" + lone);
  std::optional<std::vector<std::string>> names;
  ASSERT_EQ(provider->EnumKey(kCurrentUser, Path("\\Lone"), names), 0);
  ASSERT_TRUE(names && names->size() == 1u);
  EXPECT_EQ(provider->DeleteKey(kCurrentUser, Path("\\Lone\\" + names->front())), 0);
  EXPECT_FALSE(Has(L"Lone\\" + lone));
}




// The native view: the Installer's records, read and changed by the
// registry functions, with the provider's statuses; the classes root is the
// machine's, never the caller's merged one.
TEST(NativeRegistryView, ValuesAndKeysWithTheProvidersStatuses) {
  const std::wstring key = L"SOFTWARE\\Classes\\KelvaneTest" + std::to_wstring(GetCurrentProcessId());
  const std::wstring lone = std::wstring(L"v") + static_cast<wchar_t>(0xDC00);
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"text", REG_SZ, L"abc", 8), ERROR_SUCCESS);
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), lone.c_str(), REG_MULTI_SZ, L"one\0two\0", 18);
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, (key + L"\\Child").c_str(), nullptr, REG_SZ, L"", 2);
  const auto native = platform::windows::MakeObjects()->GetRegistryProvider(kRegistryMoniker, platform::RegistryView::Native);
  const std::string path = Utf8(key.substr(std::wstring(L"SOFTWARE\\Classes\\").size()));
  std::optional<std::vector<std::string>> names;
  ASSERT_EQ(native->EnumValues(platform::kClassesRoot, path, names), 0);
  ASSERT_TRUE(names && names->size() == 2u);
  std::optional<std::vector<std::string>> strings;
  std::optional<std::string> text;
  const std::string loneName = (*names)[0] == "text" ? (*names)[1] : (*names)[0];
  EXPECT_EQ(native->GetMultiStringValue(platform::kClassesRoot, path, loneName, strings), 0);
  EXPECT_EQ(strings, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(native->GetStringValue(platform::kLocalMachine, Utf8(key), "text", text), 0);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(native->GetStringValue(platform::kClassesRoot, path, loneName, text), static_cast<long>(0x80041005L));
  EXPECT_FALSE(text);
  EXPECT_EQ(native->GetStringValue(platform::kClassesRoot, path, "missing", text), 2);
  EXPECT_EQ(native->SetMultiStringValue(platform::kClassesRoot, path, loneName, {"three"}), 0);
  EXPECT_EQ(native->GetMultiStringValue(platform::kClassesRoot, path, loneName, strings), 0);
  EXPECT_EQ(strings, (std::vector<std::string>{"three"}));
  EXPECT_EQ(native->DeleteValue(platform::kClassesRoot, path, loneName), 0);
  EXPECT_EQ(native->DeleteValue(platform::kClassesRoot, path, loneName), 2);
  EXPECT_EQ(native->EnumValues(platform::kClassesRoot, path + "\\Missing", names), 2);
  EXPECT_FALSE(names);
  EXPECT_EQ(native->EnumKey(platform::kClassesRoot, path, names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"Child"}));
  EXPECT_EQ(native->DeleteKey(platform::kClassesRoot, path), 5);
  EXPECT_EQ(native->DeleteKey(platform::kClassesRoot, path + "\\Child"), 0);
  EXPECT_EQ(native->EnumKey(platform::kClassesRoot, path, names), 0);
  EXPECT_FALSE(names);
  EXPECT_EQ(native->DeleteKey(platform::kClassesRoot, path), 0);
  EXPECT_EQ(native->EnumKey(platform::kClassesRoot, path, names), 2);
}

TEST(RegistryBinding, OnlyTheLocalRegistryProviderIsBound) {
  const auto objects = platform::windows::MakeObjects();
  EXPECT_THROW(objects->GetRegistryProvider("winmgmts:{impersonationLevel=impersonate}!\\\\OTHER\\root\\default:StdRegProv"),
               platform::Error);
  EXPECT_THROW(objects->GetRegistryProvider("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2:StdRegProv"),
               platform::Error);
  EXPECT_THROW(objects->GetRegistryProvider("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:Win32_Product"),
               platform::Error);
}

}  // namespace
}  // namespace kelvane::testing
