#include "platform/sim/sim_network.h"

#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

class SimNetwork final : public platform::Network {
 public:
  explicit SimNetwork(Machine& machine) : machine_(machine) {}
  std::string ComputerName() override {
    machine_.Check(Operation::ComputerName, "", UnspecifiedError());
    return machine_.config().computerName;
  }

 private:
  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::Network> MakeNetwork(Machine& machine) { return std::make_unique<SimNetwork>(machine); }

}  // namespace kelvane::platform::sim
