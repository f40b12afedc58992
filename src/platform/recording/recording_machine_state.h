#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/interface/error.h"
#include "platform/interface/kernel.h"
#include "platform/interface/product_services.h"
#include "platform/shared/sweep_root.h"

namespace kelvane::platform::recording {

// Windows compares names without regard to case.
struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

// The places of the sweep's rule on a 32-bit Windows 7 with one user.
platform::SweepRoles Windows7SweepRoles();

struct RecordedFile {
  std::string content;
  bool readOnly = false;
};

// A registry value: one string (REG_SZ), several (REG_MULTI_SZ), or another
// type (a number) that the string reads refuse.
struct RecordedValue {
  enum class Type { String, MultiString, Other } type = Type::String;
  std::vector<std::string> strings;
};

struct RecordedProduct {
  std::optional<std::string> name;  // empty: the name cannot be read
  bool installed = true;
  bool perUser = false;  // installed for one user only: never listed
  std::string code = {};  // braced
  long uninstallStatus = 0;  // what the Installer answers; the product stays unless 0, 1605 or 3010
};

// What the machine holds, so that lookups and enumerations find something.
// Paths are Windows paths; folders and keys are kept without a trailing
// backslash, and runs of backslashes in a lookup count as one.
struct MachineState {
  std::map<std::string, std::string, CaseLess> environment;
  std::map<std::string, bool, CaseLess> folders;  // path -> read-only
  std::map<std::string, RecordedFile, CaseLess> files;
  std::set<std::string, CaseLess> filesInUse;   // deleting them fails as for a running program
  // Full names: the root's name, then the path. HKEY_CLASSES_ROOT is kept as
  // what it is for the machine, HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
  std::set<std::string, CaseLess> keys;
  std::map<std::string, std::map<std::string, RecordedValue, CaseLess>, CaseLess> values;  // by key
  std::set<std::string, CaseLess> refusedKeys;  // DeleteKey answers access denied
  std::vector<RecordedProduct> products;
  std::string computerName = "DEMO-PC";
  std::string executablePath = "C:\\Users\\Demo User\\Downloads\\kelvane2010.exe";
  std::vector<std::string> arguments;
  bool installerBusy = false;  // another installation runs past any wait
  bool otherUsersSignedIn = false;
  bool desktopShellGone = false;  // an address cannot be opened as the user  // a restart that lets programs save is refused
  platform::Elevation elevation = platform::Elevation::Full;
  std::string userSid = "S-1-5-21-1004336348-1177238915-682003330-1000";
  // Where the places GetFolderToEmpty's rule names lie: Windows 7's own, for
  // the user "Demo User".
  platform::SweepRoles sweepRoles = Windows7SweepRoles();
  // What DeleteAtRestart handed to the next start, in order.
  std::vector<std::string> deletionsAtRestart;
  // The system's Installer folder, and every patch the Installer lists.
  std::string installerFolder = "C:\\Windows\\Installer";
  std::vector<platform::PatchRegistration> patches;
  // The machine's edition views; none is the program's own alone.
  std::vector<platform::EditionView> editionViews;

  // Adds the folder and every folder above it.
  void AddFolder(const std::string& path, bool readOnly = false);
  // Adds the file, and its folders.
  void AddFile(const std::string& path, std::string content = "", bool readOnly = false);
  // Adds the key (root name, then the path) and every key above it.
  void AddKey(const std::string& fullName);
  // Adds the value, and its key.
  void AddValue(const std::string& fullName, const std::string& valueName, RecordedValue value);
  // The value, or nothing.
  const RecordedValue* Value(const std::string& fullName, const std::string& valueName) const;
  bool HasFolder(const std::string& path) const;
  bool HasFile(const std::string& path) const;
  bool HasKey(const std::string& fullName) const;
};

// The standard environment of a Windows 7 machine with one user.
void AddWindowsEnvironment(MachineState& machine);

// How the machine spells its items: a path's folder and last name, whether a
// path lies strictly below a folder, and a key's full name as the machine
// keeps it (HKEY_CLASSES_ROOT being HKEY_LOCAL_MACHINE\SOFTWARE\Classes).
std::string Parent(const std::string& path);
std::string Leaf(const std::string& path);
bool IsBelow(const std::string& path, const std::string& folder);
std::string KeyName(const std::string& fullName);

// The numbers Windows gives these failures; the text names the item.
platform::Error NotFound(const std::string& what);
platform::Error PathNotFound(const std::string& what);
platform::Error PermissionDenied(const std::string& what);
platform::Error InUse(const std::string& what);

}  // namespace kelvane::platform::recording
