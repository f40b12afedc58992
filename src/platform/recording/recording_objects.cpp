#include "platform/recording/recording_objects.h"

#include "platform/recording/recording_file_system.h"
#include "platform/recording/recording_network.h"
#include "platform/recording/recording_platform.h"
#include "platform/recording/recording_product_services.h"
#include "platform/recording/recording_registry_provider.h"
#include "platform/recording/recording_shell.h"
#include "platform/shared/wmi_moniker.h"

namespace kelvane::platform::recording {

namespace {

class RecordingObjects final : public platform::Objects {
 public:
  explicit RecordingObjects(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::unique_ptr<platform::Shell> CreateShell() override {
    Create(platform::kShellProgId);
    return MakeRecordingShell(recorder_);
  }
  std::unique_ptr<platform::FileSystem> CreateFileSystem() override {
    Create(platform::kFileSystemProgId);
    return MakeRecordingFileSystem(recorder_);
  }
  std::unique_ptr<platform::Network> CreateNetwork() override {
    Create(platform::kNetworkProgId);
    return MakeRecordingNetwork(recorder_);
  }
  using platform::Objects::GetRegistryProvider;
  std::unique_ptr<platform::RegistryProvider> GetRegistryProvider(const std::string& moniker,
                                                                 platform::RegistryView view) override {
    Bind(moniker + (view == platform::RegistryView::Native   ? " (native view)"
                    : view == platform::RegistryView::Bits32 ? " (32-bit view)"
                                                             : ""));
    platform::RequireRegistryProviderMoniker(moniker);
    return MakeRecordingRegistryProvider(recorder_);
  }
  std::unique_ptr<platform::ProductServices> GetProductServices(const std::string& moniker) override {
    Bind(moniker);
    platform::RequireProductServicesMoniker(moniker);
    return MakeRecordingProductServices(recorder_);
  }

 private:
  void Create(const std::string& progId) {
    recorder_.Record("CreateObject " + progId);
    recorder_.Check(Operation::CreateObject, progId);
  }
  void Bind(const std::string& moniker) {
    recorder_.Record("GetObject " + moniker);
    recorder_.Check(Operation::GetObject, moniker);
  }
  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::Objects> MakeRecordingObjects(RecordingPlatform& recorder) {
  return std::make_unique<RecordingObjects>(recorder);
}

}  // namespace kelvane::platform::recording
