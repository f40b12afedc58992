#include "report.h"

#include <array>

#include "platform/sim/registry_tree.h"

namespace kelvane::sim {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
bool BeginsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

struct Parent {
  const char* key;
  const char* literal;
  bool atEnd;
};

constexpr std::array<Parent, 8> kSignatureParents{{
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads", "0FF1CE}-C", true},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "0FF1CE}", true},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "0FF1CE", false},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes", "F01FEC", true},
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products",
     "F01FEC", true},
    {"HKEY_CLASSES_ROOT\\Installer\\Features", "F01FEC", true},
    {"HKEY_CLASSES_ROOT\\Installer\\Products", "F01FEC", true},
    {"HKEY_CLASSES_ROOT\\Installer\\UpgradeCodes", "F01FEC", true},
}};

constexpr std::array<const char*, 4> kOfficeKeys{{
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose",
    "HKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL",
}};

}  // namespace

std::vector<std::string> FindTraces(Machine& machine) {
  std::vector<std::string> traces;
  const auto item = [&](const char* kind, const std::string& path, bool folder) {
    const auto found = machine.drive().Find(machine.Expand(path));
    if (found && (folder ? Drive::IsFolder(*found) : Drive::IsFile(*found))) {
      traces.push_back(std::string(kind) + "\t" + found->path.Text());
    }
  };
  item("folder", "%ProgramFiles%\\Microsoft Office\\Office14", true);
  item("folder", "%CommonProgramFiles%\\Microsoft Shared\\Office14", true);
  item("folder", "%CommonProgramFiles%\\Microsoft Shared\\Source Engine", true);
  item("folder", "%ALLUSERSPROFILE%\\Start Menu\\Programs\\Microsoft Office", true);
  if (const auto caches = machine.drive().Find("C:\\MSOCache\\All Users")) {
    for (const auto& cache : machine.drive().List(*caches)) {
      if (Drive::IsFolder(cache) && EndsWith(cache.Name(), "0FF1CE}-C")) traces.push_back("folder\t" + cache.path.Text());
    }
  }
  item("file", "%APPDATA%\\Microsoft\\Templates\\Normal.dotm", false);
  item("file", "%APPDATA%\\Microsoft\\Templates\\Normalemail.dotm", false);
  item("file", "%APPDATA%\\Microsoft\\document building blocks\\1033\\Building Blocks.dotx", false);

  for (const char* key : kOfficeKeys) {
    if (machine.registry().Find(key)) traces.push_back(std::string("key\t") + key);
  }
  for (const Parent& parent : kSignatureParents) {
    const RegistryKey* key = machine.registry().Find(parent.key);
    if (!key) continue;
    for (const auto& name : key->SortedSubkeyNames()) {
      const bool matches = parent.atEnd ? EndsWith(name, parent.literal) : BeginsWith(name, parent.literal);
      const std::string line = std::string("key\t") + parent.key + "\\" + name;
      if (matches && (traces.empty() || traces.back() != line)) traces.push_back(line);
    }
  }
  for (const auto& product : machine.products()) {
    if (product.name && BeginsWith(*product.name, "Microsoft Office")) traces.push_back("product\t" + *product.name);
  }

  item("batch file", "%temp%\\deleteoffice.bat", false);
  item("shortcut", "%ALLUSERSPROFILE%\\Start Menu\\Programs\\Startup\\Kelvane.lnk", false);
  return traces;
}

}  // namespace kelvane::sim
