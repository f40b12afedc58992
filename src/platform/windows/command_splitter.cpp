#include "platform/windows/command_splitter.h"

namespace kelvane::platform::windows {

namespace {

constexpr const wchar_t* kBlanks = L" \t";

}  // namespace

CommandLine SplitCommandLine(const std::wstring& command) {
  const std::size_t start = command.find_first_not_of(kBlanks);
  if (start == std::wstring::npos) return {};
  std::size_t end;
  CommandLine split;
  if (command[start] == L'"') {
    const std::size_t close = command.find(L'"', start + 1);
    end = close == std::wstring::npos ? command.size() : close + 1;
    split.program = command.substr(start + 1, (close == std::wstring::npos ? command.size() : close) - start - 1);
  } else {
    end = command.find_first_of(kBlanks, start);
    if (end == std::wstring::npos) end = command.size();
    split.program = command.substr(start, end - start);
  }
  const std::size_t rest = command.find_first_not_of(kBlanks, end);
  if (rest != std::wstring::npos) split.parameters = command.substr(rest);
  return split;
}

}  // namespace kelvane::platform::windows
