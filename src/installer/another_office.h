#pragma once

#include "platform/interface/platform.h"

namespace kelvane::installer {

// Whether the product belongs to another Office than 2010 by its code. A code
// that cannot be read counts as not another Office's: the name alone decides.
bool OfAnotherOffice(platform::Product& product);

// Whether a product of another Office is installed now. Office's Source Engine
// service, its key and its folder serve every Windows Installer edition of
// Office alike, so they stay while one is. When the products cannot be listed
// the answer is no, and the tool does what it does on a machine without one.
bool AnotherOfficeInstalled(platform::Platform& platform);

}  // namespace kelvane::installer
