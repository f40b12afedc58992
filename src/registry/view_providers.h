#pragma once

#include <memory>
#include <vector>

#include "platform/interface/kernel.h"
#include "platform/interface/objects.h"
#include "platform/interface/registry_provider.h"

namespace kelvane::registry {

// The registry provider of each view, bound once on the local machine: the
// program's own and the native one at once, the 32-bit view (which only a
// 64-bit program asks for) when first needed. A provider that could not be
// bound fails every call made through it.
class ViewProviders {
 public:
  explicit ViewProviders(platform::Objects& objects);
  platform::RegistryProvider& In(platform::RegistryView view);

 private:
  platform::Objects& objects_;
  std::unique_ptr<platform::RegistryProvider> program_, native_, bits32_;
  bool bits32Bound_ = false;
};

// The views a step acts in: each edition's for the keys 64-bit Windows keeps
// apart by bitness, its own view otherwise.
template <class Step>
std::vector<platform::EditionView> ViewsOf(const Step& step, const std::vector<platform::EditionView>& editions) {
  if (step.InEachEditionView()) return editions;
  return {{step.view, "", "", false}};
}

}  // namespace kelvane::registry
