// The simulated machine under the contract: a fresh image, with files made
// on its drive and a file in use named in faults.ini.
#include <optional>

#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/reg_value.h"
#include "platform/sim/image/shell_link.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_platform.h"
#include "platform_contract.h"
#include "sim_test_image.h"

namespace kelvane::platform::sim {
namespace {

namespace fs = std::filesystem;

class SimMachine final : public kelvane::testing::MachineUnderTest {
 public:
  SimMachine() : image_(false, testing::TestImage::MemoryScratch()) { Load(); }

  platform::Objects& objects() override { return platform_->get().objects; }
  platform::Kernel& kernel() override { return platform_->get().kernel; }
  platform::WindowSystem* windows() override { return &platform_->get().windows; }
  bool IsVisible(platform::Window window) override { return platform_->windows().IsVisible(window); }
  std::string ProgressCaption() override { return platform_->windows().progressCaption(); }
  std::string Scratch() override {
    MakeFolder("C:\\Scratch", false);
    return "C:\\Scratch";
  }
  std::string ScratchKey() override { return "Software\\KelvaneContract"; }

  void MakeFolder(const std::string& path, bool readOnly) override {
    fs::create_directories(image_.Host(path));
    if (readOnly) fs::permissions(image_.Host(path), fs::perms::owner_write, fs::perm_options::remove);
  }
  void MakeFile(const std::string& path, const std::string& content, bool readOnly) override {
    image_.MakeFile(path, content, readOnly);
  }
  bool Exists(const std::string& path) override { return fs::exists(fs::symlink_status(image_.Host(path))); }
  std::string ReadFile(const std::string& path) override { return ReadWholeFile(image_.Host(path)); }
  // The machine's files in use are the Delete faults.
  void HoldOpen(const std::string& path) override { FailOn(Operation::Delete, path); }
  bool MakeFolderLink(const std::string& link, const std::string& target) override {
    fs::create_directory_symlink(image_.Host(target), image_.Host(link));
    return true;
  }
  std::string ReadShortcut(const std::string& path) override {
    const auto link = ReadShellLink(ReadFile(path));
    return link ? link->targetPath + "|" + std::to_string(link->showCommand) : "(not a shortcut)";
  }

  void MakeKey(const std::string& path) override { machine_->registry().Create("HKEY_CURRENT_USER\\" + path); }
  bool HasKey(const std::string& path) override {
    return machine_->registry().Find("HKEY_CURRENT_USER\\" + path) != nullptr;
  }

  void MakeValue(const std::string& path, const std::string& name, const std::vector<std::string>& strings,
                 bool multi) override {
    RegistryKey* made = machine_->registry().Create("HKEY_CURRENT_USER\\" + path);
    SetValue(*made, name, multi ? FormatMultiStringValue(name, strings) : FormatStringValue(name, strings.front()));
  }
  bool HasValue(const std::string& path, const std::string& name) override {
    const RegistryKey* found = machine_->registry().Find("HKEY_CURRENT_USER\\" + path);
    return found && FindValue(*found, name);
  }

  Places SweepPlaces() override { return Windows7Places(); }

  bool FailOn(Operation operation, const std::string& argument) override {
    if (!Faults::Takes(operation)) return false;
    machine_->Save();
    faults_ += std::string(OperationName(operation)) + "=" + argument + "\n";
    image_.WriteFaults(faults_);
    Load();
    return true;
  }

  Installed InstallProduct() override {
    MakeFile("C:\\Scratch\\Product\\readme.txt", "x", false);
    machine_->products().push_back({.code = "{0FF1CE00-0000-0000-0000-000000000000}",
                                    .name = "Microsoft Office Contract Package",
                                    .removesKeys = {},
                                    .removesFolders = {"C:\\Scratch\\Product"},
                                    .uninstallFails = std::nullopt});
    machine_->registry().Create("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Installer\\Products\\00EC1FF0000000000000000000000000");
    return {"Microsoft Office Contract Package", "C:\\Scratch\\Product\\readme.txt", "{0FF1CE00-0000-0000-0000-000000000000}"};
  }

 private:
  void Load() {
    platform_.reset();
    machine_.emplace(image_.path());
    platform_.emplace(*machine_);
  }

  testing::TestImage image_;
  std::string faults_;
  std::optional<Machine> machine_;
  std::optional<SimPlatform> platform_;
};

std::unique_ptr<kelvane::testing::MachineUnderTest> MakeSimMachine() { return std::make_unique<SimMachine>(); }

}  // namespace
}  // namespace kelvane::platform::sim

namespace kelvane::testing {
INSTANTIATE_TEST_SUITE_P(Sim, PlatformContract, ::testing::Values(&platform::sim::MakeSimMachine), MachineName);
}  // namespace kelvane::testing
