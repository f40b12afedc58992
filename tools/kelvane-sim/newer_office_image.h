#pragma once

#include "image_builder.h"

namespace kelvane::sim_tool {

// A newer Office installed beside Office 2010, as people have it when they
// move on: a volume-licensed Office 2016 and a Click-to-Run extensibility
// component, with their files, keys, uninstall entries, Installer
// registrations in both forms and install cache. All of it must survive the
// tool, and so must the Source Engine service they share with Office 2010.
void AddNewerOffice(ImageBuilder& image);

}  // namespace kelvane::sim_tool
