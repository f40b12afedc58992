#include "platform/windows/windows_network.h"

#include <windows.h>

#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

class WindowsNetwork final : public Network {
 public:
  std::string ComputerName() override {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) throw LastWin32Error();
    return Narrow(std::wstring(name, length));
  }
};

}  // namespace

std::unique_ptr<Network> MakeNetwork() { return std::make_unique<WindowsNetwork>(); }

}  // namespace kelvane::platform::windows
