#include "installer/uninstall_msis.h"

#include "common/office_product_code.h"
#include "common/text.h"
#include "installer/another_office.h"
#include "platform/shared/installer_wait.h"
#include "platform/shared/journal.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::installer {

using platform::Require;
using platform::SkipIfFails;

namespace {

constexpr long kInstallerBusy = 1618;
constexpr long kRestartRequired = 3010;

std::string CodeOf(platform::Product& product) {
  std::string code;
  SkipIfFails([&] { code = product.ProductCode(); });
  return code;
}

// What the phase does with a product, by its code first.
enum class Rule { Uninstall, Keep, Leave };

Rule RuleFor(platform::Product& product, const std::string& code) {
  if (IsOffice14Code(code)) return BelongsToKeptOffice14Product(code) ? Rule::Keep : Rule::Uninstall;
  bool named = false;
  SkipIfFails([&] { named = BeginsWith(product.Name(), kProductNamePrefix); });
  return named && !OfAnotherOffice(product) ? Rule::Uninstall : Rule::Leave;
}

long UninstallOnce(platform::Product& product, const std::string& installerLog) {
  long status = kUninstallCallFailed;
  SkipIfFails([&] { status = product.Uninstall(installerLog); });
  return status;
}

}  // namespace

bool IsOffice2010Product(platform::Product& product) { return RuleFor(product, CodeOf(product)) == Rule::Uninstall; }

std::string InstallerLogPath(const std::string& runLogPath, const std::string& productCode) {
  if (runLogPath.empty()) return {};
  const std::size_t folderEnd = runLogPath.find_last_of('\\');
  const std::size_t dot = runLogPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
  return (hasExtension ? runLogPath.substr(0, dot) : runLogPath) + "." + productCode + ".log";
}

std::vector<UninstallResult> UninstallMSIs(platform::Platform& platform, const UninstallOptions& options) {
  const std::string strComputer = ".";
  const std::string moniker = ProductServicesMoniker(strComputer);

  std::unique_ptr<platform::ProductServices> services;
  SkipIfFails([&] { services = platform.objects.GetProductServices(moniker); });
  std::vector<std::unique_ptr<platform::Product>> products;
  SkipIfFails([&] { products = Require(services).ExecQuery(kProductQuery); });

  std::vector<UninstallResult> results;
  for (const auto& product : products) {
    const std::string code = CodeOf(*product);
    const Rule rule = RuleFor(*product, code);
    std::string name;
    SkipIfFails([&] { name = product->Name(); });
    if (rule == Rule::Keep) platform::Note(kKeptNote, name + " " + code);
    if (rule != Rule::Uninstall) continue;
    // A product without a name (Windows reads it as empty) goes by its code,
    // with no text of its own on the progress line.
    if (!name.empty()) SkipIfFails([&] { ShowProgress(platform.windows, "Uninstalling MSI: " + product->Name()); });
    const std::string installerLog = InstallerLogPath(options.runLogPath, code);
    long status = UninstallOnce(*product, installerLog);
    // Another installation began after the run checked: it is waited for
    // once, as the run waits before it starts.
    if (status == kInstallerBusy) {
      bool idle = false;
      SkipIfFails([&] { idle = platform::InstallerIdle(platform.kernel, kInstallerBusyWaitMilliseconds); });
      if (idle) status = UninstallOnce(*product, installerLog);
    }
    // The status goes to the run's log, for whoever reads it: a product
    // without a name by its code.
    const std::string logged = name.empty() ? code : name;
    platform::Note("uninstall", logged + ": status " + std::to_string(status));
    if (status == kRestartRequired) platform::Note(platform::kInstallerRestartNeeded, name + " " + code);
    results.push_back({code, logged, status});
  }
  return results;
}

Verdict Judge(long status, bool recordsRemain) {
  switch (status) {
    case 0:
    case 1605: return recordsRemain ? Verdict::Scrub : Verdict::Removed;
    case kRestartRequired: return Verdict::RestartNeeded;
    case 1603:
    case 1612:
    case 1619:
    case 1620:
    case 1635:
    case 1636:
    case kUninstallCallFailed: return Verdict::Scrub;
  }
  // 1601, 1602, 1625, a 1618 that stayed, and any status the Installer's
  // documentation does not tie to a lost package: the product is reported,
  // never taken apart behind the Installer's back.
  return Verdict::Remains;
}

}  // namespace kelvane::installer
