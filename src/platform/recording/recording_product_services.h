#pragma once

#include <memory>

#include "platform/interface/product_services.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// The Installer's products and patches as the machine lists them.
std::unique_ptr<platform::ProductServices> MakeRecordingProductServices(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
