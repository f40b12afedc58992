// The recording platform under the contract: a map of paths and keys with no
// programs behind it, so a started batch file does nothing, and no links.
#include <gtest/gtest.h>

#include "platform/recording/recording_platform.h"
#include "platform_contract.h"

namespace kelvane::testing {
namespace {

using platform::recording::RecordingPlatform;

constexpr const char* kContractCode = "{0FF1CE00-0000-0000-0000-000000000000}";

class RecordingMachine final : public MachineUnderTest {
 public:
  platform::Objects& objects() override { return recorder_.get().objects; }
  platform::Kernel& kernel() override { return recorder_.get().kernel; }
  platform::WindowSystem* windows() override { return &recorder_.get().windows; }
  bool IsVisible(platform::Window window) override { return recorder_.visible.count(window) > 0; }
  std::string ProgressCaption() override { return recorder_.Progress().back(); }
  std::string Scratch() override {
    recorder_.machine.AddFolder("C:\\Scratch");
    return "C:\\Scratch";
  }
  std::string ScratchKey() override { return "Software\\KelvaneContract"; }

  void MakeFolder(const std::string& path, bool readOnly) override { recorder_.machine.AddFolder(path, readOnly); }
  void MakeFile(const std::string& path, const std::string& content, bool readOnly) override {
    recorder_.machine.AddFile(path, content, readOnly);
  }
  bool Exists(const std::string& path) override {
    return recorder_.machine.HasFile(path) || recorder_.machine.HasFolder(path);
  }
  std::string ReadFile(const std::string& path) override { return recorder_.machine.files.at(path).content; }
  void HoldOpen(const std::string& path) override { recorder_.machine.filesInUse.insert(path); }
  bool MakeFolderLink(const std::string&, const std::string&) override { return false; }
  std::string ReadShortcut(const std::string& path) override { return ReadFile(path); }

  void MakeKey(const std::string& path) override { recorder_.machine.AddKey("HKEY_CURRENT_USER\\" + path); }
  bool HasKey(const std::string& path) override { return recorder_.machine.HasKey("HKEY_CURRENT_USER\\" + path); }
  void MakeValue(const std::string& path, const std::string& name, const std::vector<std::string>& strings,
                 bool multi) override {
    using Type = platform::recording::RecordedValue::Type;
    recorder_.machine.AddValue("HKEY_CURRENT_USER\\" + path, name, {multi ? Type::MultiString : Type::String, strings});
  }
  bool HasValue(const std::string& path, const std::string& name) override {
    return recorder_.machine.Value("HKEY_CURRENT_USER\\" + path, name) != nullptr;
  }

  Places SweepPlaces() override { return Windows7Places(); }

  Installed InstallProduct() override {
    recorder_.machine.products.push_back({.name = "Microsoft Office Contract Package", .code = kContractCode});
    return {"Microsoft Office Contract Package", "", kContractCode};
  }
  bool FailOn(platform::Operation operation, const std::string& argument) override {
    recorder_.FailOn(operation, argument);
    return true;
  }
  bool RunsPrograms() override { return false; }

 private:
  RecordingPlatform recorder_;
};

std::unique_ptr<MachineUnderTest> MakeRecordingMachine() { return std::make_unique<RecordingMachine>(); }

INSTANTIATE_TEST_SUITE_P(Recording, PlatformContract, ::testing::Values(&MakeRecordingMachine), MachineName);

}  // namespace
}  // namespace kelvane::testing
