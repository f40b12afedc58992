#pragma once

#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/interface/kernel.h"
#include "platform/interface/objects.h"
#include "platform/interface/window_system.h"
#include "platform/shared/fault_operation.h"

namespace kelvane::testing {

// One implementation of the platform interfaces (the recording platform, the
// simulated machine, Windows), with what the contract tests need to arrange
// a machine and look at it afterwards without going through the interfaces.
// Paths are Windows paths; key paths are under HKEY_CURRENT_USER.
class MachineUnderTest {
 public:
  virtual ~MachineUnderTest() = default;
  virtual platform::Objects& objects() = 0;
  virtual platform::Kernel& kernel() = 0;
  // The windows, and what a person sees of them: none where the tests have
  // no display to show them on (Windows', which the window tests cover).
  virtual platform::WindowSystem* windows() { return nullptr; }
  virtual bool IsVisible(platform::Window) { return false; }
  virtual std::string ProgressCaption() { return {}; }

  // A folder and a key the test owns, without a trailing backslash.
  virtual std::string Scratch() = 0;
  virtual std::string ScratchKey() = 0;

  virtual void MakeFolder(const std::string& path, bool readOnly = false) = 0;
  virtual void MakeFile(const std::string& path, const std::string& content = "x", bool readOnly = false) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual std::string ReadFile(const std::string& path) = 0;
  // Keeps the file open, as a running program keeps its files, for as long
  // as the machine lives.
  virtual void HoldOpen(const std::string& path) = 0;
  // A link to a folder; false where the machine has none.
  virtual bool MakeFolderLink(const std::string& link, const std::string& target) = 0;
  // What a saved shortcut holds: its target, then "|" and its window style.
  virtual std::string ReadShortcut(const std::string& path) = 0;

  virtual void MakeKey(const std::string& path) = 0;
  virtual bool HasKey(const std::string& path) = 0;
  // A value of a key MakeKey made: one string (REG_SZ), or with multi
  // several (REG_MULTI_SZ). Each machine arranges it without the interfaces.
  virtual void MakeValue(const std::string& path, const std::string& name, const std::vector<std::string>& strings,
                         bool multi) {
    (void)path, (void)name, (void)strings, (void)multi;
    throw std::logic_error("this machine arranges no values");
  }
  virtual bool HasValue(const std::string& path, const std::string& name) {
    (void)path, (void)name;
    throw std::logic_error("this machine arranges no values");
  }

  // Where the places of the sweep's rule lie on this machine, each holding a
  // file: a folder the sweep may empty (strictly below the user's profile,
  // no known folder), and the places it must refuse.
  struct Places {
    std::string belowProfile, profile, documents, windows, system32, commonFiles, programData, publicDocuments,
        otherProfile;
    std::vector<std::string> All() const {
      return {belowProfile, profile, documents, windows, system32, commonFiles, programData, publicDocuments,
              otherProfile};
    }
  };
  virtual Places SweepPlaces() = 0;
  // The places as a Windows 7 machine with the user "Demo User" has them,
  // each made to hold a file.
  Places Windows7Places() {
    const std::string profile = "C:\\Users\\Demo User";
    const Places places{profile + "\\AppData\\Local\\Temp\\Scratch", profile, profile + "\\Documents",
                        "C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files\\Common Files",
                        "C:\\ProgramData", "C:\\Users\\Public\\Documents", "C:\\Users\\Demo User2"};
    for (const auto& place : places.All()) MakeFile(place + "\\kept.txt", "x", false);
    return places;
  }

  // Installs a product; `leaves` is a file it installs ("" when none).
  struct Installed {
    std::string name;
    std::string leaves;
    std::string code;
  };
  virtual Installed InstallProduct() = 0;

  // Makes the operation fail on the argument (empty: any) as the machine's
  // own faults do; false where the machine injects no such failure.
  virtual bool FailOn(platform::Operation operation, const std::string& argument) {
    (void)operation, (void)argument;
    return false;
  }

  // Where a machine cannot do what Windows does: each names the test it
  // narrows, and docs/contract.md says why.
  virtual bool RunsPrograms() { return true; }
  virtual bool DeletesLinksAsLinks() { return true; }
  virtual bool HasReadOnlyFolders() { return true; }
};

using MachineFactory = std::unique_ptr<MachineUnderTest> (*)();

// Each instantiation holds one machine: its prefix names it, and the
// parameter is named "machine" rather than by the factory's address.
inline std::string MachineName(const ::testing::TestParamInfo<MachineFactory>&) { return "machine"; }

// The contract's tests, instantiated beside each machine's adapter with a
// factory for that machine.
class PlatformContract : public ::testing::TestWithParam<MachineFactory> {
 protected:
  PlatformContract() : machine(GetParam()()), root(machine->Scratch()), key(machine->ScratchKey()) {}

  // The number of the error the operation fails with; 0 when it does not.
  static long Fails(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const platform::Error& error) {
      return error.number();
    }
    return 0;
  }
  template <class Items>
  static std::set<std::string> Names(const Items& items) {
    std::set<std::string> names;
    for (const auto& item : items) names.insert(item->Name());
    return names;
  }
  std::unique_ptr<platform::FileSystem> Fso() { return machine->objects().CreateFileSystem(); }
  std::unique_ptr<platform::RegistryProvider> Registry() {
    return machine->objects().GetRegistryProvider("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv");
  }

  std::unique_ptr<MachineUnderTest> machine;
  std::string root;
  std::string key;
};

}  // namespace kelvane::testing
