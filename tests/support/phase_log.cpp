#include "support/phase_log.h"

#include <array>
#include <string_view>
#include <utility>

namespace kelvane::testing {

std::vector<std::string> PhasesCalled(const std::vector<std::string>& log) {
  static const std::array<std::pair<const char*, const char*>, 7> kFirstOperations{{
      {"progress Stopping The Office Source Engine service", "StopService"},
      {"GetObject winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2", "UninstallMSIs"},
      {"ExpandEnvironmentStrings %CommonProgramFiles%", "RemoveFiles"},
      {"GetObject winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv", "RemoveRegKeys"},
      {"progress Finalizing some tasks before reboot..", "SetupReboot"},
      {"progress Rebooting.", "Reboot"},
      {"progress Cleaning Up", "CleanUp"},
  }};
  std::vector<std::string> phases;
  for (const auto& entry : log) {
    for (const auto& [operation, phase] : kFirstOperations) {
      // The file and registry phases list the products too: UninstallMSIs's
      // listing is the one right after StopService.
      const bool own = std::string_view(phase) != "UninstallMSIs" || (!phases.empty() && phases.back() == "StopService");
      if (entry == operation && own) phases.push_back(phase);
    }
  }
  return phases;
}

}  // namespace kelvane::testing
