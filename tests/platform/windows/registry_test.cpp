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
