#include "platform/sim/objects.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/sim/file_system.h"
#include "platform/sim/image/text_case.h"
#include "platform/sim/msi_products.h"
#include "platform/sim/shell.h"
#include "platform/sim/windows_errors.h"
#include "platform/sim/wmi_registry.h"

namespace kelvane::sim {

namespace {

class SimNetwork final : public platform::Network {
 public:
  explicit SimNetwork(Machine& machine) : machine_(machine) {}
  std::string ComputerName() override {
    machine_.Check("ComputerName", "", UnspecifiedError());
    return machine_.config().computerName;
  }

 private:
  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::Shell> SimObjects::CreateShell() {
  machine_.Check("CreateObject", platform::kShellProgId, CannotCreateObject());
  return MakeShell(machine_);
}

std::unique_ptr<platform::FileSystem> SimObjects::CreateFileSystem() {
  machine_.Check("CreateObject", platform::kFileSystemProgId, CannotCreateObject());
  return MakeFileSystem(machine_);
}

std::unique_ptr<platform::Network> SimObjects::CreateNetwork() {
  machine_.Check("CreateObject", platform::kNetworkProgId, CannotCreateObject());
  return std::make_unique<SimNetwork>(machine_);
}

std::unique_ptr<platform::RegistryProvider> SimObjects::GetRegistryProvider(const std::string& moniker) {
  machine_.Check("GetObject", moniker, InvalidMoniker());
  if (!EndsWithName(moniker, "\\root\\default:StdRegProv")) throw InvalidMoniker();
  return MakeRegistryProvider(machine_);
}

std::unique_ptr<platform::ProductServices> SimObjects::GetProductServices(const std::string& moniker) {
  machine_.Check("GetObject", moniker, InvalidMoniker());
  if (!EndsWithName(moniker, "\\root\\cimv2")) throw InvalidMoniker();
  return MakeProductServices(machine_);
}

bool SimKernel::WaitForInstaller(unsigned timeoutMilliseconds) {
  if (!machine_.config().installerBusy) return true;
  sleptMilliseconds_ += timeoutMilliseconds;
  return false;
}

std::string SimKernel::UtcTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%s.%03dZ", text, static_cast<int>(millis));
  return stamp;
}

std::string SimKernel::ExecutablePath() {
  machine_.Check("ExecutablePath", "", UnspecifiedError());
  return startedFrom_;
}

}  // namespace kelvane::sim
