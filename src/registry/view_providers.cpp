#include "registry/view_providers.h"

#include "platform/shared/skip_if_fails.h"
#include "registry/registry_plan.h"

namespace kelvane::registry {

using platform::RegistryView;
using platform::SkipIfFails;

namespace {

std::unique_ptr<platform::RegistryProvider> Bind(platform::Objects& objects, RegistryView view) {
  std::unique_ptr<platform::RegistryProvider> provider;
  SkipIfFails([&] { provider = objects.GetRegistryProvider(RegistryProviderMoniker("."), view); });
  return provider;
}

}  // namespace

ViewProviders::ViewProviders(platform::Objects& objects)
    : objects_(objects), program_(Bind(objects, RegistryView::Program)), native_(Bind(objects, RegistryView::Native)) {}

platform::RegistryProvider& ViewProviders::In(RegistryView view) {
  if (view == RegistryView::Native) return platform::Require(native_);
  if (view == RegistryView::Program) return platform::Require(program_);
  if (!bits32Bound_) {
    bits32_ = Bind(objects_, RegistryView::Bits32);
    bits32Bound_ = true;
  }
  return platform::Require(bits32_);
}

}  // namespace kelvane::registry
