#include "platform/recording/recording_objects.h"

#include "platform/recording/recording_file_system.h"
#include "platform/recording/recording_network.h"
#include "platform/recording/recording_platform.h"
#include "platform/recording/recording_product_services.h"
#include "platform/recording/recording_registry_provider.h"
#include "platform/recording/recording_shell.h"

namespace kelvane::platform::recording {

std::unique_ptr<platform::Shell> RecordingObjects::CreateShell() {
  Create(platform::kShellProgId);
  return MakeRecordingShell(recorder_);
}

std::unique_ptr<platform::FileSystem> RecordingObjects::CreateFileSystem() {
  Create(platform::kFileSystemProgId);
  return MakeRecordingFileSystem(recorder_);
}

std::unique_ptr<platform::Network> RecordingObjects::CreateNetwork() {
  Create(platform::kNetworkProgId);
  return MakeRecordingNetwork(recorder_);
}

std::unique_ptr<platform::RegistryProvider> RecordingObjects::GetRegistryProvider(const std::string& moniker,
                                                                                 platform::RegistryView view) {
  Bind(moniker + (view == platform::RegistryView::Native   ? " (native view)"
                  : view == platform::RegistryView::Bits32 ? " (32-bit view)"
                                                           : ""));
  return MakeRecordingRegistryProvider(recorder_);
}

std::unique_ptr<platform::ProductServices> RecordingObjects::GetProductServices(const std::string& moniker) {
  Bind(moniker);
  return MakeRecordingProductServices(recorder_);
}

void RecordingObjects::Create(const std::string& progId) {
  recorder_.Record("CreateObject " + progId);
  recorder_.Check(Operation::CreateObject, progId);
}

void RecordingObjects::Bind(const std::string& moniker) {
  recorder_.Record("GetObject " + moniker);
  recorder_.Check(Operation::GetObject, moniker);
}

}  // namespace kelvane::platform::recording
