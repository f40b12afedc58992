#include "platform/shared/edition_views.h"

#include "common/ascii_case.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::platform {

namespace {

constexpr std::string_view kMachineSoftware = "HKEY_LOCAL_MACHINE\\SOFTWARE\\";

}  // namespace

std::vector<EditionView> MachineEditionViews(Kernel& kernel, bool* known) {
  std::vector<EditionView> views;
  bool read = false;
  SkipIfFails([&] {
    views = kernel.EditionViews();
    read = true;
  });
  if (known) *known = read;
  if (views.empty()) views.push_back({RegistryView::Program, "", "", false});
  return views;
}

std::string InView(const EditionView& view, const std::string& spelt) {
  if (view.registry == RegistryView::Program) return spelt;
  if (BeginsIgnoringAsciiCase(spelt, kProgramFilesSpelt)) return view.programFiles + spelt.substr(kProgramFilesSpelt.size());
  if (BeginsIgnoringAsciiCase(spelt, kCommonFilesSpelt)) return view.commonFiles + spelt.substr(kCommonFilesSpelt.size());
  return spelt;
}

std::string InWow6432Node(const std::string& fullName) {
  if (!BeginsIgnoringAsciiCase(fullName, kMachineSoftware)) return fullName;
  const std::string_view rest = std::string_view(fullName).substr(kMachineSoftware.size());
  if (BeginsIgnoringAsciiCase(rest, "Classes\\") || BeginsIgnoringAsciiCase(rest, "Wow6432Node\\")) return fullName;
  return fullName.substr(0, kMachineSoftware.size()) + "Wow6432Node\\" + std::string(rest);
}

}  // namespace kelvane::platform
