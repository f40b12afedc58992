#pragma once

#include "platform/recording/recording_platform.h"

namespace kelvane::testing {

// A Windows 7 machine with the traces of an Office 2010 installation in
// every place the tool cleans, and things beside them that must stay.
void AddOffice2010(platform::recording::MachineState& machine);

}  // namespace kelvane::testing
