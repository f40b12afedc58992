// Runs the window tests on one apartment-threaded thread, as the tool runs.
// --program=PATH names the built kelvane2010.exe for the tests that start it.
// --opened=FOLDER ADDRESS: started as the handler of an address the tool
// opens, leaves a file named after its process in the folder and ends.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "ui_test_support.h"

namespace kelvane::ui_test {
std::wstring& ProgramPath() {
  static std::wstring path;
  return path;
}
}  // namespace kelvane::ui_test

int main(int argc, char** argv) {
  const std::string opened = "--opened=";
  if (argc > 1 && std::string(argv[1]).rfind(opened, 0) == 0) {
    const std::string folder = std::string(argv[1]).substr(opened.size());
    CloseHandle(CreateFileA((folder + "\\" + std::to_string(GetCurrentProcessId())).c_str(), GENERIC_WRITE, 0,
                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  const std::string flag = "--program=";
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind(flag, 0) == 0) {
      const std::string path = argument.substr(flag.size());
      kelvane::ui_test::ProgramPath().assign(path.begin(), path.end());
    }
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const int status = RUN_ALL_TESTS();
  CoUninitialize();
  return status;
}
