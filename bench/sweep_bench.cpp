// The clean-up's sweep of the temporary folder against "cmd /c rd /s /q" on
// the same tree, alternating in one run: the yardstick for what deleting
// through handles costs.
//   kelvane_sweep_bench FOLDER FILES ROUNDS
// FOLDER\Temp is filled with FILES files, a hundred to a folder, before each
// measurement; each round prints "sweep MS LEFT" and "rd MS LEFT", LEFT the
// files and folders still in FOLDER\Temp afterwards: a figure is only worth
// something for a tree that went. FOLDER must lie below the user's profile,
// as a temporary folder does: the sweep refuses any other.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "files/clean_up.h"
#include "platform/interface/platform.h"
#include "platform/windows/windows_platform.h"

namespace {

class NoWindows final : public kelvane::platform::WindowSystem {
 public:
  void Show(kelvane::platform::Window) override {}
  void Hide(kelvane::platform::Window) override {}
  void SetProgressCaption(const std::string&) override {}
  void RepaintProgress() override {}
  void ShowErrorBox(const std::string&, const std::string&) override {}
  void EndTool(int) override {}
};

void Fill(const std::wstring& temp, long files) {
  CreateDirectoryW(temp.c_str(), nullptr);
  for (long made = 0; made < files; ++made) {
    const std::wstring folder = temp + L"\\folder " + std::to_wstring(made / 100);
    if (made % 100 == 0) CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\file " + std::to_wstring(made) + L".tmp";
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, "x", 1, &written, nullptr);
    CloseHandle(handle);
  }
}

double Milliseconds(LARGE_INTEGER from) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Sweep(const std::wstring& folder) {
  SetEnvironmentVariableW(L"TEMP", (folder + L"\\Temp").c_str());
  SetEnvironmentVariableW(L"ALLUSERSPROFILE", folder.c_str());
  auto objects = kelvane::platform::windows::MakeObjects();
  auto kernel = kelvane::platform::windows::MakeKernel();
  NoWindows windows;
  kelvane::platform::Platform machine{*objects, *kernel, windows};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  kelvane::files::CleanUp(machine);
  return Milliseconds(start);
}

// The files and folders below the folder; none when it is gone.
long Remaining(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  long count = 0;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    ++count;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += Remaining(folder + L"\\" + name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

double RemoveWithCmd(const std::wstring& folder) {
  std::wstring command = L"cmd.exe /c rd /s /q \"" + folder + L"\\Temp\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  const double elapsed = Milliseconds(start);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fwprintf(stderr, L"usage: kelvane_sweep_bench FOLDER FILES ROUNDS\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  const long files = std::wcstol(argv[2], nullptr, 10), rounds = std::wcstol(argv[3], nullptr, 10);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (long round = 0; round < rounds; ++round) {
    Fill(folder + L"\\Temp", files);
    const double swept = Sweep(folder);
    std::printf("sweep %.1f %ld\n", swept, Remaining(folder + L"\\Temp"));
    Fill(folder + L"\\Temp", files);
    const double removed = RemoveWithCmd(folder);
    std::printf("rd %.1f %ld\n", removed, Remaining(folder + L"\\Temp"));
    std::fflush(stdout);
  }
  CoUninitialize();
  return 0;
}
