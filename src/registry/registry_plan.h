#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/ascii_case.h"
#include "platform/interface/registry_provider.h"

namespace kelvane::registry {

using platform::RegistryView;

// A key deleted by name, in the program's own view of the registry or, for
// the Installer's records, in the native one where the Installer keeps them
// whatever the program's bitness.
struct FixedKey {
  std::uint32_t root;
  std::string_view keyPath;
  RegistryView view = RegistryView::Program;

  // The key's full name, as the progress line shows it: the root's name,
  // then the path.
  std::string FullName() const;
  bool InEachEditionView() const;
};

// Whether a key the plan names in the program's own view is one that 64-bit
// Windows keeps apart for 32-bit programs (HKLM\SOFTWARE, its classes
// aside): it is then removed in each edition's view, for either edition.
bool KeptApartByBitness(std::uint32_t root, std::string_view path, RegistryView view);

// The Source Engine service's key: it stays while another Office is installed.
inline constexpr std::string_view kSourceEngineServiceKey = "SYSTEM\\CurrentControlSet\\Services\\ose";

enum class MatchRule { EndsWith, BeginsWith };

// A parent key whose subkeys are deleted when their names carry Office's
// product-code signature and belong to no other Office. Parent paths are used
// exactly as written.
struct EnumerationStep {
  std::uint32_t root;
  std::string_view parentPath;
  MatchRule rule;
  std::string_view literal;
  RegistryView view = RegistryView::Program;

  bool Matches(std::string_view name) const;
  bool InEachEditionView() const { return KeptApartByBitness(root, parentPath, view); }
};

// A parent key whose subkeys several products share, each listing a product
// in a value named by its packed code (an upgrade code's related products,
// which another Office may share): Office 2010's values go one by one, and a
// key only when nothing is left in it.
struct ReferenceStep {
  std::uint32_t root;
  std::string_view parentPath;

  // Whether a value there names a product of Office 2010.
  static bool Names(std::string_view valueName);
};

using platform::kClassesRoot;
using platform::kCurrentUser;
using platform::kLocalMachine;

// The registry provider on the named machine, its moniker joined as the phase
// joins it.
inline std::string RegistryProviderMoniker(const std::string& strComputer) {
  return "winmgmts:{impersonationLevel=impersonate}!\\\\" + strComputer + "\\root\\default:StdRegProv";
}

using platform::RootName;

inline std::string FixedKey::FullName() const { return std::string(RootName(root)) + "\\" + std::string(keyPath); }

inline bool KeptApartByBitness(std::uint32_t root, std::string_view path, RegistryView view) {
  constexpr std::string_view kSoftware = "SOFTWARE\\";
  return view == RegistryView::Program && root == kLocalMachine && path.size() > kSoftware.size() &&
         BeginsIgnoringAsciiCase(path, kSoftware) && !BeginsIgnoringAsciiCase(path.substr(kSoftware.size()), "Classes\\");
}

inline bool FixedKey::InEachEditionView() const { return KeptApartByBitness(root, keyPath, view); }

inline constexpr std::array<FixedKey, 4> kFixedKeys{{
    {kCurrentUser, "Software\\Microsoft\\Office\\14.0"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Office\\14.0"},
    {kLocalMachine, kSourceEngineServiceKey},
    {kClassesRoot, "Installer\\Win32Assemblies\\C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL\\",
     RegistryView::Native},
}};

// Office 2010 product codes end in 0FF1CE; the installer's packed form of
// the same digits reads F01FEC. Office setup's own entries in Programs and
// Features ("Office14.PROPLUS" and its siblings) carry no code: they go by
// their prefix, or Office 2010 stays listed with an uninstaller that is gone.
inline constexpr std::array<EnumerationStep, 7> kEnumerationPlan{{
    {kLocalMachine, "SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads", MatchRule::EndsWith, "0FF1CE}-C"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", MatchRule::EndsWith, "0FF1CE}"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", MatchRule::BeginsWith, "0FF1CE"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", MatchRule::BeginsWith, "Office14."},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\",
     MatchRule::EndsWith, "F01FEC", RegistryView::Native},
    {kClassesRoot, "Installer\\Features\\", MatchRule::EndsWith, "F01FEC", RegistryView::Native},
    {kClassesRoot, "Installer\\Products", MatchRule::EndsWith, "F01FEC", RegistryView::Native},
}};

// Both are the Installer's records: in the native view.
inline constexpr std::array<ReferenceStep, 2> kReferencePlan{{
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\"},
    {kClassesRoot, "Installer\\UpgradeCodes\\"},
}};

}  // namespace kelvane::registry
