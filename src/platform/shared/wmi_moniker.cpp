#include "platform/shared/wmi_moniker.h"

#include <string_view>

#include "common/ascii_case.h"
#include "platform/interface/error.h"

namespace kelvane::platform {

namespace {

constexpr long kSyntax = static_cast<long>(0x800401E4L);            // MK_E_SYNTAX
constexpr long kInvalidNamespace = static_cast<long>(0x8004100EL);  // WBEM_E_INVALID_NAMESPACE
constexpr long kInvalidClass = static_cast<long>(0x80041010L);      // WBEM_E_INVALID_CLASS
constexpr long kNotLocal = static_cast<long>(0x800706BAL);          // RPC_S_SERVER_UNAVAILABLE

[[noreturn]] void Malformed() { throw Error(kSyntax, "Invalid syntax"); }

// The one security setting the tool asks for; WMI spells it with any case.
void CheckSecurity(const std::string& settings) {
  if (!SameIgnoringAsciiCase(settings, "impersonationLevel=impersonate")) Malformed();
}

}  // namespace

WmiMoniker ParseMoniker(const std::string& moniker) {
  constexpr std::string_view kScheme = "winmgmts:";
  if (!BeginsIgnoringAsciiCase(moniker, kScheme)) Malformed();
  std::string rest = moniker.substr(kScheme.size());
  if (!rest.empty() && rest.front() == '{') {
    const auto close = rest.find('}');
    if (close == std::string::npos) Malformed();
    CheckSecurity(rest.substr(1, close - 1));
    rest = rest.substr(close + 1);
    if (rest.empty() || rest.front() != '!') Malformed();
    rest = rest.substr(1);
  }
  if (rest.rfind("\\\\", 0) != 0) Malformed();
  rest = rest.substr(2);
  const auto machineEnd = rest.find('\\');
  if (machineEnd == std::string::npos || machineEnd == 0) Malformed();
  WmiMoniker parsed;
  parsed.machine = rest.substr(0, machineEnd);
  rest = rest.substr(machineEnd + 1);
  const auto colon = rest.find(':');
  parsed.nameSpace = rest.substr(0, colon);
  if (colon != std::string::npos) {
    parsed.className = rest.substr(colon + 1);
    if (parsed.className.empty()) Malformed();
  }
  if (parsed.nameSpace.empty() || parsed.nameSpace.back() == '\\') Malformed();
  return parsed;
}

namespace {

void RequireMoniker(const std::string& moniker, const std::string& nameSpace, const std::string& className) {
  const WmiMoniker parsed = ParseMoniker(moniker);
  // Only this machine is served: the tool never reaches another one.
  if (parsed.machine != ".") throw Error(kNotLocal, "The RPC server is unavailable.");
  if (!SameIgnoringAsciiCase(parsed.nameSpace, nameSpace)) throw Error(kInvalidNamespace, "Invalid namespace");
  if (!SameIgnoringAsciiCase(parsed.className, className)) throw Error(kInvalidClass, "Invalid class");
}

}  // namespace

void RequireRegistryProviderMoniker(const std::string& moniker) { RequireMoniker(moniker, "root\\default", "StdRegProv"); }

void RequireProductServicesMoniker(const std::string& moniker) { RequireMoniker(moniker, "root\\cimv2", ""); }

}  // namespace kelvane::platform
