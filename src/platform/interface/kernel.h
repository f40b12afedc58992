#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/interface/registry_provider.h"

namespace kelvane::platform {

// One of the views in which Windows shows programs of one bitness the
// machine: Office 2010 of that edition keeps its folders and its
// HKLM\SOFTWARE keys there. 32-bit Windows has one; 64-bit Windows the
// 32-bit view (Program Files (x86), HKLM\SOFTWARE\Wow6432Node) and the
// native one.
struct EditionView {
  RegistryView registry;     // the provider view that sees its keys
  std::string programFiles;  // its Program Files, from the system
  std::string commonFiles;   // its Common Files
  bool wow6432 = false;      // the 32-bit view of a 64-bit Windows
};

// The rights the tool's access token carries.
enum class Elevation {
  Full,      // an administrator's full token (elevated, or User Account Control off)
  Limited,   // an administrator's token filtered by User Account Control
  Standard,  // a standard user's token
  Unknown,   // the token could not be read
};

// While it lives, the calling thread acts with the rights the user has
// without elevation: what it deletes or writes in the user's own places is
// only what the user could have deleted or written anyway. Where there is no
// such boundary (no User Account Control split, the built-in Administrator,
// SYSTEM) it changes nothing.
class Impersonation {
 public:
  virtual ~Impersonation() = default;
};

enum class InstallerWait { Idle, Busy, HeldByOther };

// The kernel calls the tool makes.
class Kernel {
 public:
  virtual ~Kernel() = default;
  // The full path of the running executable, whole and in Unicode.
  virtual std::string ExecutablePath() = 0;
  // Blocks the calling thread.
  virtual void Sleep(unsigned milliseconds) = 0;
  // What the running process's token is; never fails (Unknown instead).
  virtual Elevation TokenElevation() = 0;
  // The SID of the user the process runs for ("S-1-5-21-..."), the same
  // before and after elevation. Never fails: empty when it cannot be read.
  virtual std::string UserSid() = 0;
  // Starts this executable again, from the same folder, asking Windows for
  // an administrator's full rights; returns once it has started. Fails when
  // the person declines.
  virtual void StartElevated() = 0;
  // Acts as the user until the result is released. Fails when the process
  // was elevated from a split token and the user's own rights cannot be had:
  // what would have run with them is then skipped, never run elevated.
  virtual std::unique_ptr<Impersonation> ImpersonateUser() = 0;
  // The arguments the tool was started with, the program's own name left
  // out.
  virtual std::vector<std::string> Arguments() = 0;
  // Waits for another Windows Installer installation to end (its
  // "_MSIExecute" mutex): Busy when one still runs after the time-out;
  // HeldByOther at once when the mutex is held but owned by neither SYSTEM
  // nor the Administrators group, since any user can create that name.
  virtual InstallerWait WaitForInstaller(unsigned timeoutMilliseconds) = 0;
  // The time now, in UTC: "2026-12-10T02:05:07.123Z".
  virtual std::string UtcTime() = 0;
  // The running process's identifier.
  virtual unsigned long ProcessId() = 0;
  // Writes one line to the process's standard output, only when that is a
  // file or a pipe (a detection script reading what /check found): a GUI
  // program has no console, but may write to a handle it inherits. The line
  // ends as the machine ends lines. Never fails: a line that cannot be
  // written is dropped.
  virtual void WriteStandardOutputLine(const std::string& text) = 0;
  // Asks Windows to restart the machine once the grace period is over, with
  // a planned application installation as the reason, and returns at once.
  // Without force, a program with unsaved work may ask to keep it and the
  // person may cancel, and Windows refuses while other users are signed in
  // (kRestartRefusedUsersSignedIn); with force, every session is closed.
  // Returns the Win32 status: 0 once the restart is on its way.
  virtual long RequestRestart(unsigned gracePeriodSeconds, bool force) = 0;
  // The machine's views, the 32-bit one first; their folders from the
  // system, never from the environment.
  virtual std::vector<EditionView> EditionViews() = 0;
};

// ERROR_SHUTDOWN_USERS_LOGGED_ON: other users' sessions are never forced.
inline constexpr long kRestartRefusedUsersSignedIn = 1191;

}  // namespace kelvane::platform
