// What the Windows Installer itself says of a product:
//   installer_probe CODE   prints the product's state (MsiQueryProductStateW:
//                          5 installed, -1 unknown); exit 0 when installed
#include <windows.h>
#include <msi.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const INSTALLSTATE state = MsiQueryProductStateW(argv[1]);
  std::printf("%d\n", static_cast<int>(state));
  return state == INSTALLSTATE_DEFAULT ? 0 : 1;
}
