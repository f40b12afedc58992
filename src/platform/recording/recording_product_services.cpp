#include "platform/recording/recording_product_services.h"

#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"
#include "platform/shared/installer_guid.h"

namespace kelvane::platform::recording {

using platform::Error;

namespace {

class RecordingProduct final : public platform::Product {
 public:
  RecordingProduct(RecordingPlatform& recorder, std::size_t index) : recorder_(recorder), index_(index) {}
  std::string Name() override {
    const auto& product = recorder_.machine.products[index_];
    recorder_.Check(Operation::Name, product.name.value_or(""));
    if (!product.name) throw Error(0x80041002, "Not found");
    return *product.name;
  }
  std::string ProductCode() override {
    const auto& product = recorder_.machine.products[index_];
    recorder_.Check(Operation::ProductCode, product.code);
    return product.code;
  }
  long Uninstall(const std::string& installerLog) override {
    auto& product = recorder_.machine.products[index_];
    recorder_.Record("Uninstall " + product.name.value_or("(no name)") +
                     (installerLog.empty() ? "" : " log " + installerLog));
    recorder_.Check(Operation::Uninstall, product.name.value_or(""));
    const long status = product.uninstallStatus;
    if (status == 0 || status == 1605 || status == 3010) product.installed = false;
    return status;
  }

 private:
  RecordingPlatform& recorder_;
  std::size_t index_;
};

class RecordingProductServices final : public platform::ProductServices {
 public:
  explicit RecordingProductServices(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::vector<std::unique_ptr<platform::Product>> ExecQuery(const std::string& query) override {
    recorder_.Record("ExecQuery " + query);
    recorder_.Check(Operation::ExecQuery, query);
    std::vector<std::unique_ptr<platform::Product>> products;
    for (std::size_t i = 0; i < recorder_.machine.products.size(); ++i) {
      const RecordedProduct& product = recorder_.machine.products[i];
      if (product.installed && !product.perUser) products.push_back(std::make_unique<RecordingProduct>(recorder_, i));
    }
    return products;
  }
  std::vector<platform::PatchRegistration> EnumPatches() override {
    recorder_.Record("EnumPatches");
    recorder_.Check(Operation::EnumPatches, "");
    return recorder_.machine.patches;
  }
  // The Installer's encoding, as the other machines read it; the core's
  // tests write theirs plainly, the braced product code then anything.
  std::string DecomposeDescriptor(const std::string& descriptor) override {
    recorder_.Record("DecomposeDescriptor " + descriptor);
    recorder_.Check(Operation::DecomposeDescriptor, descriptor);
    if (const auto product = platform::installer_guid::DescriptorProduct(descriptor)) return *product;
    if (descriptor.size() < 38 || descriptor.front() != '{' || descriptor[37] != '}') {
      throw Error(static_cast<long>(0x80070057), "The parameter is incorrect.");
    }
    return descriptor.substr(0, 38);
  }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::ProductServices> MakeRecordingProductServices(RecordingPlatform& recorder) {
  return std::make_unique<RecordingProductServices>(recorder);
}

}  // namespace kelvane::platform::recording
