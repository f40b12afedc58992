#include "installer/another_office.h"

#include <algorithm>

#include "common/office_product_code.h"
#include "installer/uninstall_msis.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::installer {

using platform::SkipIfFails;

bool OfAnotherOffice(platform::Product& product) {
  bool another = false;
  SkipIfFails([&] { another = BelongsToAnotherOffice(product.ProductCode()); });
  return another;
}

bool AnotherOfficeInstalled(platform::Platform& platform) {
  std::vector<std::unique_ptr<platform::Product>> products;
  SkipIfFails([&] {
    products = platform.objects.GetProductServices(ProductServicesMoniker("."))->ExecQuery(kProductQuery);
  });
  return std::any_of(products.begin(), products.end(), [](const auto& product) { return OfAnotherOffice(*product); });
}

}  // namespace kelvane::installer
