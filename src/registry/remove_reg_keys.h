#pragma once

#include "platform/interface/platform.h"

namespace kelvane::registry {

// Deletes Office 2010's fixed keys and every registration that carries its
// product-code signature, whole subtrees at a time. Every failure is skipped.
void RemoveRegKeys(platform::Platform& platform);

}  // namespace kelvane::registry
