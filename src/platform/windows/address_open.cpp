#include "platform/windows/address_open.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "platform/windows/com.h"
#include "platform/windows/handles.h"
#include "platform/windows/system_library.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

// "C:\..." or "\\server\...": a file, not an address with a scheme.
bool IsPath(const std::wstring& address) {
  return (address.size() > 1 && address[1] == L':') || address.rfind(L"\\\\", 0) == 0;
}

void Assign(Variant& value, const std::wstring& text) {
  V_VT(value.get()) = VT_BSTR;
  V_BSTR(value.get()) = Bstr(text).release();
}

void Assign(Variant& value, long number) {
  V_VT(value.get()) = VT_I4;
  V_I4(value.get()) = number;
}

// The shell automation object of the desktop's own Explorer, which runs
// with the user's rights; none when there is no desktop shell.
ComPtr<IShellDispatch2> DesktopShell() {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.PutVoid()))) {
    return {};
  }
  Variant desktop, none;
  Assign(desktop, long{CSIDL_DESKTOP});
  long window = 0;
  ComPtr<IDispatch> found;
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (windows->FindWindowSW(desktop.get(), none.get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Put()) != S_OK ||
      !found || FAILED(found->QueryInterface(IID_IServiceProvider, services.PutVoid())) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid())) ||
      FAILED(browser->QueryActiveShellView(view.Put())) ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.PutVoid())) ||
      FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.PutVoid())) ||
      FAILED(folderView->get_Application(application.Put())) ||
      FAILED(application->QueryInterface(IID_IShellDispatch2, shell.PutVoid()))) {
    return {};
  }
  return shell;
}

// HKLM\SOFTWARE\Classes\<class> of the address: its scheme ("https"), or for
// a file the class its extension names there.
UniqueRegistryKey MachineClass(const std::wstring& address) {
  std::wstring name;
  if (IsPath(address)) {
    const auto dot = address.find_last_of(L".\\");
    if (dot == std::wstring::npos || address[dot] != L'.') throw ErrorFromWin32(ERROR_NO_ASSOCIATION);
    name = address.substr(dot);
    wchar_t type[256];
    DWORD size = sizeof type;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\Classes\\" + name).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, type,
                     &size) == ERROR_SUCCESS) {
      name = type;
    }
  } else {
    name = address.substr(0, address.find(L':'));
  }
  UniqueRegistryKey key;
  if (name.empty() || RegOpenKeyExW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\Classes\\" + name).c_str(), 0, KEY_READ,
                                    key.put()) != ERROR_SUCCESS) {
    throw ErrorFromWin32(ERROR_NO_ASSOCIATION);
  }
  return key;
}

}  // namespace

void OpenWithMachineClass(const std::wstring& address, int windowStyle) {
  const UniqueRegistryKey machineClass = MachineClass(address);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_CLASSKEY | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hkeyClass = machineClass.get();
  info.lpVerb = L"open";
  info.lpFile = address.c_str();
  info.nShow = windowStyle;
  if (!ShellExecuteFromSystem(&info)) throw LastWin32Error();
}

void OpenAddressAsUser(const std::wstring& address, int windowStyle) {
  if (IsPath(address) && GetFileAttributesW(address.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
  }
  const ComPtr<IShellDispatch2> desktop = DesktopShell();
  if (!desktop) return OpenWithMachineClass(address, windowStyle);
  Variant none, open, show;
  Assign(none, L"");
  Assign(open, L"open");
  Assign(show, long{windowStyle});
  Check(desktop->ShellExecute(Bstr(address).get(), *none, *none, *open, *show));
}

}  // namespace kelvane::platform::windows
