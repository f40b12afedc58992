// What a person sees of the tool's windows, and what they do with them:
//   window_probe text CAPTION    one line per child window with its text
//   window_probe close CAPTION   the close box, as a click on it sends it
//   window_probe watch CAPTION SECONDS [UNTIL]
//                                the first child's text each time it changes,
//                                read every few milliseconds, until it reads
//                                UNTIL, the window goes, or SECONDS pass
//   window_probe responsive CLASS SECONDS
//                                every 100 ms, WM_NULL with a 500 ms time-out
//                                to each visible top-level window of the class,
//                                and IsHungAppWindow; after each round one line
//                                "probes N unanswered U hung H longest MS"
//   window_probe run CLASS PROGRAM [ARGUMENT...]
//                                starts the program, waits for it, and says
//                                "exit CODE visible N": its whole exit code
//                                (Wine's own passes on the low byte only) and
//                                how many times a window of the class was
//                                seen visible, looked for every 20 ms
// Exit 1 when no visible top-level window has that caption (watch: none
// came within SECONDS).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), length, nullptr, nullptr);
  std::printf("%s\n", utf8.c_str());
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t text[1024] = L"";
  GetWindowTextW(child, text, 1024);
  Print(text);
  return TRUE;
}

struct Search {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  if (IsWindowVisible(window) && std::wstring(text) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowByCaption(const wchar_t* caption) {
  Search search{caption, nullptr};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polled, not hooked: the tool's process is left exactly as it runs.
int Watch(const wchar_t* caption, double seconds, const wchar_t* until) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  bool seen = false;
  std::wstring last;
  while (GetTickCount64() < deadline) {
    const HWND window = FindWindowByCaption(caption);
    if (!window) {
      if (seen) return 0;
      Sleep(5);
      continue;
    }
    seen = true;
    wchar_t text[1024] = L"";
    if (const HWND first = GetWindow(window, GW_CHILD)) GetWindowTextW(first, text, 1024);
    if (last != text) {
      last = text;
      Print(last);
      std::fflush(stdout);
      if (until && last == until) return 0;
    }
    Sleep(2);
  }
  return seen ? 0 : 1;
}

struct Round {
  const wchar_t* className;
  int probes = 0, unanswered = 0, hung = 0;
  double longest = 0;  // milliseconds
};

BOOL CALLBACK ProbeWindow(HWND window, LPARAM parameter) {
  auto* round = reinterpret_cast<Round*>(parameter);
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  if (!IsWindowVisible(window) || std::wstring(name) != round->className) return TRUE;
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result) != 0;
  QueryPerformanceCounter(&end);
  const double milliseconds = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                              static_cast<double>(frequency.QuadPart);
  ++round->probes;
  if (!answered) ++round->unanswered;
  if (IsHungAppWindow(window)) ++round->hung;
  if (milliseconds > round->longest) round->longest = milliseconds;
  return TRUE;
}

// Whether the windows keep reading their messages while the tool works.
int Responsive(const wchar_t* className, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  Round round{className};
  while (GetTickCount64() < deadline) {
    EnumWindows(ProbeWindow, reinterpret_cast<LPARAM>(&round));
    std::printf("probes %d unanswered %d hung %d longest %.1f\n", round.probes, round.unanswered, round.hung,
                round.longest);
    std::fflush(stdout);
    Sleep(100);
  }
  return 0;
}

BOOL CALLBACK CountVisible(HWND window, LPARAM parameter) {
  auto* round = reinterpret_cast<Round*>(parameter);
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  if (IsWindowVisible(window) && std::wstring(name) == round->className) ++round->probes;
  return TRUE;
}

int Run(const wchar_t* className, int argc, wchar_t** argv) {
  std::wstring commandLine;
  for (int i = 0; i < argc; ++i) commandLine += (i ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(argv[0], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("not started: %lu\n", GetLastError());
    return 2;
  }
  Round seen{className};
  while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
    EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&seen));
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("exit %lu visible %d\n", code, seen.probes);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wstring(argv[1]) == L"run") return Run(argv[2], argc - 3, argv + 3);
  if (argc == 4 && std::wstring(argv[1]) == L"responsive") return Responsive(argv[2], _wtof(argv[3]));
  if (argc >= 4 && std::wstring(argv[1]) == L"watch") {
    return Watch(argv[2], _wtof(argv[3]), argc >= 5 ? argv[4] : nullptr);
  }
  if (argc != 3) return 2;
  Search search{argv[2], nullptr};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return 1;
  if (std::wstring(argv[1]) == L"close") {
    PostMessageW(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  EnumChildWindows(search.found, PrintChild, 0);
  std::fflush(stdout);
  return 0;
}
