// What the Windows Installer itself says of a product:
//   installer_probe CODE           prints the product's state (MsiQueryProductStateW:
//                                  5 installed, -1 unknown); exit 0 when installed
//   installer_probe clients GUID   prints the component's clients, one product
//                                  code a line (MsiEnumClientsW); exit 0
//   installer_probe package CODE   prints the product's cached package
//                                  (INSTALLPROPERTY_LOCALPACKAGE); exit 0 when it has one
//   installer_probe remove CODE    removes the product as the tool does, and
//                                  prints and exits with the Installer's status
#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc == 2) {
    const INSTALLSTATE state = MsiQueryProductStateW(argv[1]);
    std::printf("%d\n", static_cast<int>(state));
    return state == INSTALLSTATE_DEFAULT ? 0 : 1;
  }
  if (argc != 3) return 2;
  if (std::wcscmp(argv[1], L"clients") == 0) {
    wchar_t product[39];
    for (DWORD index = 0; MsiEnumClientsW(argv[2], index, product) == ERROR_SUCCESS; ++index) {
      std::printf("%ls\n", product);
    }
    return 0;
  }
  if (std::wcscmp(argv[1], L"package") == 0) {
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    if (MsiGetProductInfoW(argv[2], L"LocalPackage", path, &length) != ERROR_SUCCESS) return 1;
    std::printf("%ls\n", path);
    return 0;
  }
  if (std::wcscmp(argv[1], L"remove") == 0) {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    const UINT status = MsiConfigureProductExW(argv[2], INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"REBOOT=ReallySuppress");
    std::printf("%u\n", status);  // Unix keeps only an exit code's low byte
    return static_cast<int>(status);
  }
  return 2;
}
