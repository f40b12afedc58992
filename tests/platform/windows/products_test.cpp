#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/windows/windows_platform.h"

namespace kelvane::testing {
namespace {

constexpr const char* kProductsMoniker = "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2";

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
