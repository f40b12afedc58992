#include "platform/windows/long_path.h"

#include <windows.h>

#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) throw LastWin32Error();
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

// Keeps the leading pair of a UNC path; elsewhere a run counts as one.
std::wstring CollapseSeparators(const std::wstring& path) {
  std::wstring out;
  for (std::size_t at = 0; at < path.size(); ++at) {
    const wchar_t c = path[at] == L'/' ? L'\\' : path[at];
    if (c == L'\\' && at > 1 && !out.empty() && out.back() == L'\\') continue;
    out += c;
  }
  while (out.size() > 3 && out.back() == L'\\') out.pop_back();
  return out;
}

}  // namespace

std::wstring LongPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) throw ErrorFromWin32(ERROR_PATH_NOT_FOUND);
  if (StartsWith(wide, kLongPrefix)) return wide;
  const std::wstring full = CollapseSeparators(FullPath(CollapseSeparators(wide)));
  if (StartsWith(full, L"\\\\")) return std::wstring(kLongUncPrefix) + full.substr(2);
  return std::wstring(kLongPrefix) + full;
}

std::string DisplayPath(const std::wstring& longPath) {
  if (StartsWith(longPath, kLongUncPrefix)) return Narrow(L"\\\\" + longPath.substr(kLongUncPrefix.size()));
  if (StartsWith(longPath, kLongPrefix)) return Narrow(longPath.substr(kLongPrefix.size()));
  return Narrow(longPath);
}

std::wstring LeafName(const std::wstring& path) {
  const auto cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

}  // namespace kelvane::platform::windows
