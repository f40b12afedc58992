// What a person sees of the tool's windows, and what they do with them:
//   window_probe text CAPTION    one line per child window with its text
//   window_probe close CAPTION   the close box, as a click on it sends it
//   window_probe watch CAPTION SECONDS [UNTIL]
//                                the first child's text each time it changes,
//                                read every few milliseconds, until it reads
//                                UNTIL, the window goes, or SECONDS pass
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
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
