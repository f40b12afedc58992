#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/interface/platform.h"
#include "platform/shared/fault_operation.h"
#include "platform/shared/sweep_root.h"

namespace kelvane::platform::recording {

// Windows compares names without regard to case.
struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

// The places of the sweep's rule on a 32-bit Windows 7 with one user.
platform::SweepRoles Windows7SweepRoles();

struct FakeFile {
  std::string content;
  bool readOnly = false;
};

// A registry value: one string (REG_SZ), several (REG_MULTI_SZ), or another
// type (a number) that the string reads refuse.
struct FakeValue {
  enum class Type { String, MultiString, Other } type = Type::String;
  std::vector<std::string> strings;
};

struct FakeProduct {
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
  std::map<std::string, FakeFile, CaseLess> files;
  std::set<std::string, CaseLess> filesInUse;   // deleting them fails as for a running program
  // Full names: the root's name, then the path. HKEY_CLASSES_ROOT is kept as
  // what it is for the machine, HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
  std::set<std::string, CaseLess> keys;
  std::map<std::string, std::map<std::string, FakeValue, CaseLess>, CaseLess> values;  // by key
  std::set<std::string, CaseLess> refusedKeys;  // DeleteKey answers access denied
  std::vector<FakeProduct> products;
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
  void AddValue(const std::string& fullName, const std::string& valueName, FakeValue value);
  // The value, or nothing.
  const FakeValue* Value(const std::string& fullName, const std::string& valueName) const;
  bool HasFolder(const std::string& path) const;
  bool HasFile(const std::string& path) const;
  bool HasKey(const std::string& fullName) const;
};

// A platform that records every operation, progress text and window event in
// order, acts on a MachineState, and fails any operation it is told to.
class RecordingPlatform {
 public:
  RecordingPlatform();
  ~RecordingPlatform();

  MachineState machine;

  // Makes the operation fail, on one argument or (empty) on any; for the
  // first `times` calls only when given.
  void FailOn(Operation operation, const std::string& argument = "", int times = -1);

  platform::Platform& get() { return platform_; }
  const std::vector<std::string>& log() const { return log_; }
  // The log entries that begin with the prefix, the prefix cut off.
  std::vector<std::string> Entries(const std::string& prefix) const;
  std::vector<std::string> Progress() const { return Entries("progress "); }
  // The same, each marked with the rights it ran with: "user " inside an
  // impersonation of the user, "admin " outside one.
  std::vector<std::string> EntriesWithRights(const std::string& prefix) const;
  std::set<platform::Window> visible;
  bool ended = false;
  int exitCode = 0;

  // Used by the fakes.
  void Record(const std::string& entry) { log_.push_back(entry); }
  void Check(Operation operation, const std::string& argument) const;

 private:
  class Objects;
  class Kernel;
  class Windows;

  std::vector<std::string> log_;
  struct Fault {
    std::string argument;
    mutable int times;
  };
  std::multimap<Operation, Fault> faults_;
  std::unique_ptr<Objects> objects_;
  std::unique_ptr<Kernel> kernel_;
  std::unique_ptr<Windows> windows_;
  platform::Platform platform_;
};

// The standard environment of a Windows 7 machine with one user.
void AddWindowsEnvironment(MachineState& machine);

}  // namespace kelvane::platform::recording
