#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/windows/windows_platform.h"
#include "scratch.h"

#ifndef KELVANE_TEST_MSI
#error "KELVANE_TEST_MSI names the test package"
#endif

namespace kelvane::testing {
namespace {

constexpr const char* kProductsMoniker = "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2";
constexpr const char* kTestProductName = "Microsoft Office Test Kelvane Package";
// The package is built for the tests' own architecture: it installs under the
// Program Files folder this process sees.
std::wstring InstalledFile() {
  wchar_t path[MAX_PATH];
  ExpandEnvironmentStringsW(L"%ProgramFiles%\\Kelvane Test Package\\readme.txt", path, MAX_PATH);
  return path;
}

DWORD RunAndWait(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return GetLastError();
  WaitForSingleObject(process.hProcess, 120000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::unique_ptr<platform::Product> Find(platform::ProductServices& services, int& count) {
  count = 0;
  std::unique_ptr<platform::Product> found;
  for (auto& product : services.ExecQuery("Select * from Win32_Product")) {
    if (product->Name() == kTestProductName) {
      ++count;
      found = std::move(product);
    }
  }
  return found;
}

TEST(Products, AnInstalledPackageIsFoundByNameAndUninstalled) {
  ASSERT_EQ(RunAndWait(L"msiexec /i \"" + std::wstring(KELVANE_TEST_MSI) + L"\" /qn"), 0u);
  ASSERT_TRUE(Exists(InstalledFile()));

  const auto services = platform::windows::MakeObjects()->GetProductServices(kProductsMoniker);
  int count = 0;
  const auto product = Find(*services, count);
  ASSERT_TRUE(product);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(product->Uninstall(), 0);

  EXPECT_FALSE(Find(*services, count));
  EXPECT_FALSE(Exists(InstalledFile()));
}

TEST(Products, OnlyTheProductQueryIsServed) {
  const auto services = platform::windows::MakeObjects()->GetProductServices(kProductsMoniker);
  EXPECT_NO_THROW(services->ExecQuery("SELECT * FROM Win32_Product"));
  EXPECT_THROW(services->ExecQuery("Select * from Win32_Service"), platform::Error);
  EXPECT_THROW(services->ExecQuery("Select Name from Win32_Product"), platform::Error);
}

TEST(Products, TheMonikerIsValidatedWhenBinding) {
  const auto objects = platform::windows::MakeObjects();
  EXPECT_THROW(objects->GetProductServices("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default"),
               platform::Error);
  EXPECT_THROW(objects->GetProductServices("winmgmts:\\\\.\\root\\cimv2:Win32_Product"), platform::Error);
  EXPECT_THROW(objects->GetProductServices("WScript.Shell"), platform::Error);
}

}  // namespace
}  // namespace kelvane::testing
