#include "installer/uninstall_msis.h"

#include "common/text.h"
#include "installer/another_office.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::installer {

using platform::Require;
using platform::SkipIfFails;

bool IsOffice2010Product(platform::Product& product) {
  bool matches = false;
  SkipIfFails([&] { matches = BeginsWith(product.Name(), kProductNamePrefix); });
  return matches && !OfAnotherOffice(product);
}

void UninstallMSIs(platform::Platform& platform) {
  const std::string strComputer = ".";
  const std::string moniker = ProductServicesMoniker(strComputer);

  std::unique_ptr<platform::ProductServices> services;
  SkipIfFails([&] { services = platform.objects.GetProductServices(moniker); });
  std::vector<std::unique_ptr<platform::Product>> products;
  SkipIfFails([&] { products = Require(services).ExecQuery(kProductQuery); });

  for (const auto& product : products) {
    if (!IsOffice2010Product(*product)) continue;
    SkipIfFails([&] { ShowProgress(platform.windows, "Uninstalling MSI: " + product->Name()); });
    // The status goes to the run's log, for whoever reads it.
    std::string name;
    SkipIfFails([&] { name = product->Name(); });
    SkipIfFails([&] { platform::Note("uninstall", name + ": status " + std::to_string(product->Uninstall(""))); });
  }
}

}  // namespace kelvane::installer
