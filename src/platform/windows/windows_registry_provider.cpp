#include "platform/windows/windows_registry_provider.h"

// Before the WMI header, so that IWbemServices keeps its own GetObject.
#include "platform/windows/windows_api.h"

#include <wbemidl.h>

#include "platform/shared/collapse_separators.h"
#include "platform/windows/com.h"
#include "platform/windows/direct_registry_provider.h"
#include "platform/windows/handles.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

constexpr const wchar_t* kClass = L"StdRegProv";

class WindowsRegistryProvider final : public RegistryProvider {
 public:
  WindowsRegistryProvider() {
    ComPtr<IWbemLocator> locator;
    Check(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.PutVoid()));
    Check(locator->ConnectServer(Bstr(L"\\\\.\\root\\default").get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                 services_.Put()));
    // The registry provider acts as the caller: impersonation is required.
    Check(CoSetProxyBlanket(services_.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                            RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE));
    Check(services_->GetObject(Bstr(kClass).get(), 0, nullptr, class_.Put(), nullptr));
  }

  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override {
    const ComPtr<IWbemClassObject> out = Call(L"EnumKey", hDefKey, sSubKeyName);
    // Windows answers a key without subkeys with success; Wine with "no more
    // items", the end of the enumeration it stopped at first.
    long status = Status(out);
    if (status == ERROR_NO_MORE_ITEMS) status = ERROR_SUCCESS;
    // Wine leaves the out parameter out altogether when there are no names.
    Variant names;
    const bool present = SUCCEEDED(out->Get(L"sNames", 0, names.get(), nullptr, nullptr));
    sNames.reset();
    // Only a successful call carries names; Wine hands a missing key an
    // array variant without an array.
    if (present && status == 0 && (*names).vt == (VT_ARRAY | VT_BSTR) && (*names).parray) {
      std::vector<std::string> list = Names((*names).parray);
      if (!list.empty()) sNames = std::move(list);
    }
    return status;
  }

  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override {
    return Status(Call(L"DeleteKey", hDefKey, sSubKeyName));
  }

  long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                  std::optional<std::vector<std::string>>& sNames) override {
    return registry_.EnumValues(hDefKey, sSubKeyName, sNames);
  }
  long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                      std::optional<std::string>& sValue) override {
    return registry_.GetStringValue(hDefKey, sSubKeyName, sValueName, sValue);
  }
  long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           std::optional<std::vector<std::string>>& sValue) override {
    return registry_.GetMultiStringValue(hDefKey, sSubKeyName, sValueName, sValue);
  }
  long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           const std::vector<std::string>& sValue) override {
    return registry_.SetMultiStringValue(hDefKey, sSubKeyName, sValueName, sValue);
  }
  long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) override {
    return registry_.DeleteValue(hDefKey, sSubKeyName, sValueName);
  }

 private:
  ComPtr<IWbemClassObject> Call(const wchar_t* method, std::uint32_t hDefKey, const std::string& keyPath) {
    ComPtr<IWbemClassObject> signature;
    Check(class_->GetMethod(method, 0, signature.Put(), nullptr));
    ComPtr<IWbemClassObject> in;
    Check(signature->SpawnInstance(0, in.Put()));

    // uint32 travels as VT_I4, the way WMI takes unsigned integers.
    Variant root;
    root.get()->vt = VT_I4;
    root.get()->lVal = static_cast<LONG>(hDefKey);
    Check(in->Put(L"hDefKey", 0, root.get(), 0));
    Variant path;
    path.get()->vt = VT_BSTR;
    path.get()->bstrVal = SysAllocString(Widen(CollapseSeparators(keyPath)).c_str());
    Check(in->Put(L"sSubKeyName", 0, path.get(), 0));

    ComPtr<IWbemClassObject> out;
    Check(services_->ExecMethod(Bstr(kClass).get(), Bstr(method).get(), 0, nullptr, in.get(), out.Put(), nullptr));
    if (!out) throw ErrorFromHresult(static_cast<HRESULT>(0x80041001L));  // WBEM_E_FAILED
    return out;
  }

  static long Status(const ComPtr<IWbemClassObject>& out) {
    Variant value;
    Check(out->Get(L"ReturnValue", 0, value.get(), nullptr, nullptr));
    Check(VariantChangeType(value.get(), value.get(), 0, VT_I4));
    return (*value).lVal;
  }

  static std::vector<std::string> Names(SAFEARRAY* array) {
    LONG lower = 0;
    LONG upper = -1;
    Check(SafeArrayGetLBound(array, 1, &lower));
    Check(SafeArrayGetUBound(array, 1, &upper));
    std::vector<std::string> names;
    for (LONG index = lower; index <= upper; ++index) {
      UniqueBstr name;
      Check(SafeArrayGetElement(array, &index, name.put()));
      names.push_back(Narrow(std::wstring(name.get(), SysStringLen(name.get()))));
    }
    return names;
  }

  ComPtr<IWbemServices> services_;
  ComPtr<IWbemClassObject> class_;
  // The values, in the program's own view, as the provider would answer.
  DirectRegistryProvider registry_{0};
};

}  // namespace

std::unique_ptr<RegistryProvider> ConnectRegistryProvider(RegistryView view) {
  // The native view is where the Installer's records are: tens of thousands
  // of keys, one WMI call each would take minutes; the registry functions
  // answer with the provider's statuses.
  if (view == RegistryView::Native) return std::make_unique<DirectRegistryProvider>(KEY_WOW64_64KEY);
  // The 32-bit view, for a 64-bit program: its keys, Office's 32-bit edition's.
  if (view == RegistryView::Bits32) return std::make_unique<DirectRegistryProvider>(KEY_WOW64_32KEY);
  return std::make_unique<WindowsRegistryProvider>();
}

}  // namespace kelvane::platform::windows
