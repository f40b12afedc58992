#include <cstdint>

#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/shared/wmi_moniker.h"

namespace kelvane::testing {
namespace {

using platform::ParseMoniker;

TEST(Moniker, ThePiecesOfTheRegistryMoniker) {
  const auto parsed = ParseMoniker("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv");
  EXPECT_EQ(parsed.machine, ".");
  EXPECT_EQ(parsed.nameSpace, "root\\default");
  EXPECT_EQ(parsed.className, "StdRegProv");
  const auto services = ParseMoniker("WINMGMTS:{ImpersonationLevel=Impersonate}!\\\\.\\root\\cimv2");
  EXPECT_EQ(services.nameSpace, "root\\cimv2");
  EXPECT_EQ(services.className, "");
}

TEST(Moniker, MalformedMonikersFail) {
  for (const char* moniker : {"", "winmgmts:", "winmgmts:{impersonationLevel=impersonate}\\\\.\\root\\cimv2",
                              "winmgmts:{impersonationLevel=impersonate!\\\\.\\root\\cimv2",
                              "winmgmts:{impersonationLevel=anonymous}!\\\\.\\root\\cimv2", "winmgmts:\\\\\\root",
                              "winmgmts:\\\\.\\root\\default:", "winmgmts:\\\\.", "GetObject:\\\\.\\root\\cimv2"}) {
    EXPECT_THROW(ParseMoniker(moniker), platform::Error) << moniker;
  }
}

// Every machine binds a provider only for this machine's own namespace and
// class, whatever their case; WMI's errors tell the rest apart.
TEST(Moniker, OnlyThisMachinesProvidersBind) {
  EXPECT_NO_THROW(platform::RequireRegistryProviderMoniker("winmgmts:\\\\.\\ROOT\\Default:stdregprov"));
  EXPECT_NO_THROW(platform::RequireProductServicesMoniker("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2"));
  const auto code = [](auto require, const char* moniker) {
    try {
      require(moniker);
    } catch (const platform::Error& error) {
      return static_cast<std::uint32_t>(error.number());
    }
    return std::uint32_t{0};
  };
  EXPECT_EQ(code(platform::RequireRegistryProviderMoniker, "winmgmts:\\\\DEMO-PC\\root\\default:StdRegProv"), 0x800706BAu);
  EXPECT_EQ(code(platform::RequireRegistryProviderMoniker, "winmgmts:\\\\.\\root\\cimv2:StdRegProv"), 0x8004100Eu);
  EXPECT_EQ(code(platform::RequireProductServicesMoniker, "winmgmts:\\\\.\\root\\cimv2:StdRegProv"), 0x80041010u);
  EXPECT_EQ(code(platform::RequireProductServicesMoniker, "x\\root\\cimv2"), 0x800401E4u);
}

}  // namespace
}  // namespace kelvane::testing
