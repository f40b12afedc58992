#include "platform/windows/address_open.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "platform/windows/com.h"
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

}  // namespace

void OpenAddressAsUser(const std::wstring& address, int windowStyle) {
  if (IsPath(address) && GetFileAttributesW(address.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
  }
  const ComPtr<IShellDispatch2> desktop = DesktopShell();
  if (!desktop) throw ErrorFromWin32(ERROR_NOT_SUPPORTED);
  Variant none, open, show;
  Assign(none, L"");
  Assign(open, L"open");
  Assign(show, long{windowStyle});
  Check(desktop->ShellExecute(Bstr(address).get(), *none, *none, *open, *show));
}

}  // namespace kelvane::platform::windows
