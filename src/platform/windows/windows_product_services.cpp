#include "platform/windows/windows_product_services.h"

#include <windows.h>
#include <msi.h>

#include <algorithm>
#include <cwctype>
#include <string_view>

#include "common/ascii_case.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

// In msi.dll since Windows Installer 2.0, but not in MinGW's msi.h.
extern "C" UINT WINAPI MsiDecomposeDescriptorW(LPCWSTR szDescriptor, LPWSTR szProductCode, LPWSTR szFeatureId,
                                               LPWSTR szComponentCode, LPDWORD pcchArgumentOffset);

namespace kelvane::platform::windows {

namespace {

constexpr long kInvalidQuery = static_cast<long>(0x80041017L);  // WBEM_E_INVALID_QUERY
constexpr std::string_view kProductQuery = "select * from win32_product";
constexpr std::size_t kProductCodeLength = 38;
// "voicewarmup": everything msiexec's /l*v writes, but the extra debug output.
constexpr DWORD kInstallerLogMode = INSTALLLOGMODE_VERBOSE | INSTALLLOGMODE_OUTOFDISKSPACE |
                                    INSTALLLOGMODE_ERROR | INSTALLLOGMODE_WARNING | INSTALLLOGMODE_USER |
                                    INSTALLLOGMODE_INFO | INSTALLLOGMODE_RESOLVESOURCE |
                                    INSTALLLOGMODE_ACTIONSTART | INSTALLLOGMODE_ACTIONDATA |
                                    INSTALLLOGMODE_COMMONDATA | INSTALLLOGMODE_PROPERTYDUMP |
                                    INSTALLLOGMODE_FATALEXIT | INSTALLLOGMODE_INITIALIZE;
// Every user's products and patches, for MsiEnumPatchesExW.
constexpr const wchar_t* kEveryUser = L"s-1-1-0";

// msi.dll is not among the DLLs Windows always takes from the system folder:
// imported, it would load from the executable's folder first. Loaded on
// first use instead, from the system folder only.
#define KELVANE_MSI(function) SystemFunction<decltype(function)>(L"msi.dll", #function)

class InstalledProduct final : public Product {
 public:
  explicit InstalledProduct(std::wstring productCode) : code_(std::move(productCode)) {}

  std::string Name() override {
    std::wstring name(64, L'\0');
    for (;;) {
      DWORD length = static_cast<DWORD>(name.size());
      static const auto getProductInfo = KELVANE_MSI(MsiGetProductInfoExW);
      const UINT result = getProductInfo(code_.c_str(), nullptr, MSIINSTALLCONTEXT_MACHINE,
                                         INSTALLPROPERTY_INSTALLEDPRODUCTNAME, name.data(), &length);
      if (result == ERROR_SUCCESS) {
        name.resize(length);
        return Narrow(name);
      }
      if (result != ERROR_MORE_DATA) throw ErrorFromWin32(result);
      name.resize(length + 1);
    }
  }

  std::string ProductCode() override { return Narrow(code_); }

  long Uninstall(const std::string& installerLog) override {
    // No user interface: the tool runs the removal itself, one after another.
    static const auto setInternalUI = KELVANE_MSI(MsiSetInternalUI);
    static const auto configureProduct = KELVANE_MSI(MsiConfigureProductExW);
    static const auto enableLog = KELVANE_MSI(MsiEnableLogW);
    HWND owner = nullptr;
    const INSTALLUILEVEL previous = setInternalUI(INSTALLUILEVEL_NONE, &owner);
    // The Installer's own log of this removal, appended beside the others;
    // a log that cannot be opened does not stop the removal.
    const bool logging = !installerLog.empty();
    // Whole, as the tool's own folder reads it: the Installer's service would
    // read a relative name from its own.
    std::wstring full(32768, L'\0');
    const DWORD length = logging ? GetFullPathNameW(Widen(installerLog).c_str(), static_cast<DWORD>(full.size()),
                                                    full.data(), nullptr)
                                 : 0;
    full.resize(length > 0 && length < full.size() ? length : 0);
    if (logging) enableLog(kInstallerLogMode, full.empty() ? Widen(installerLog).c_str() : full.c_str(), INSTALLLOGATTRIBUTES_APPEND);
    // Never a restart by the Installer itself, not even one a package forces:
    // the tool decides, and /norestart holds.
    const UINT result =
        configureProduct(code_.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"REBOOT=ReallySuppress");
    if (logging) enableLog(0, nullptr, 0);
    setInternalUI(previous, &owner);
    return static_cast<long>(result);
  }

 private:
  std::wstring code_;
};

bool IsProductQuery(const std::string& query) { return SameIgnoringAsciiCase(query, kProductQuery); }

class WindowsProductServices final : public ProductServices {
 public:
  std::vector<std::unique_ptr<Product>> ExecQuery(const std::string& query) override {
    if (!IsProductQuery(query)) throw Error(kInvalidQuery, "Invalid query");
    // Per-machine products only: a per-user one is installed without an
    // administrator, and its removal would run its actions with our rights.
    static const auto enumProducts = KELVANE_MSI(MsiEnumProductsExW);
    std::vector<std::unique_ptr<Product>> products;
    for (DWORD index = 0;; ++index) {
      wchar_t code[kProductCodeLength + 1];
      const UINT result =
          enumProducts(nullptr, nullptr, MSIINSTALLCONTEXT_MACHINE, index, code, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) return products;
      if (result != ERROR_SUCCESS) throw ErrorFromWin32(result);
      products.push_back(std::make_unique<InstalledProduct>(code));
    }
  }
  std::vector<PatchRegistration> EnumPatches() override {
    // Every context and every state: a patch some other user's product, or
    // a superseded or obsolete registration, still lists is still needed.
    static const auto enumPatches = KELVANE_MSI(MsiEnumPatchesExW);
    std::vector<PatchRegistration> patches;
    for (DWORD index = 0;; ++index) {
      wchar_t patch[kProductCodeLength + 1];
      wchar_t product[kProductCodeLength + 1];
      const UINT result = enumPatches(nullptr, kEveryUser, MSIINSTALLCONTEXT_ALL, MSIPATCHSTATE_ALL, index, patch,
                                      product, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) return patches;
      if (result != ERROR_SUCCESS) throw ErrorFromWin32(result);
      patches.push_back({Narrow(patch), Narrow(product)});
    }
  }

  std::string DecomposeDescriptor(const std::string& descriptor) override {
    static const auto decompose = KELVANE_MSI(MsiDecomposeDescriptorW);
    wchar_t product[kProductCodeLength + 1] = {};
    wchar_t feature[MAX_FEATURE_CHARS + 1] = {};
    wchar_t component[kProductCodeLength + 1] = {};
    DWORD used = 0;
    const UINT result = decompose(Widen(descriptor).c_str(), product, feature, component, &used);
    if (result != ERROR_SUCCESS) throw ErrorFromWin32(result);
    return Narrow(product);
  }
};

}  // namespace

std::unique_ptr<ProductServices> MakeProductServices() { return std::make_unique<WindowsProductServices>(); }

}  // namespace kelvane::platform::windows
