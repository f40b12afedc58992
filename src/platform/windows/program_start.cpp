#include "platform/windows/program_start.h"

#include <windows.h>

#include "platform/windows/command_splitter.h"
#include "platform/windows/system_library.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

struct Start {
  std::wstring program;      // the application name, absolute
  std::wstring commandLine;  // as the program reads it
};

bool HasExtension(const std::wstring& path, const wchar_t* extension) {
  const std::size_t length = wcslen(extension);
  return path.size() > length &&
         CompareStringOrdinal(path.c_str() + path.size() - length, -1, extension, -1, TRUE) == CSTR_EQUAL;
}

bool IsAbsolute(const std::wstring& path) {
  return (path.size() > 2 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) || path.rfind(L"\\\\", 0) == 0;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring WithParameters(std::wstring commandLine, const std::wstring& parameters) {
  return parameters.empty() ? commandLine : commandLine + L" " + parameters;
}

Start StartFor(const CommandLine& command) {
  if (command.program.find_first_of(L"\\/:") == std::wstring::npos) {
    const std::wstring program = SystemProgram(command.program);
    return {program, WithParameters(Quoted(program), command.parameters)};
  }
  const DWORD attributes = GetFileAttributesW(command.program.c_str());
  if (!IsAbsolute(command.program) || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
  }
  if (HasExtension(command.program, L".exe")) {
    return {command.program, WithParameters(Quoted(command.program), command.parameters)};
  }
  if (HasExtension(command.program, L".bat") || HasExtension(command.program, L".cmd")) {
    // /d: no AutoRun command from the user's registry; /s /c: the outer
    // quotes go and the rest runs as written, whatever the path holds.
    const std::wstring interpreter = SystemProgram(L"cmd");
    return {interpreter, Quoted(interpreter) + L" /d /s /c " +
                             Quoted(WithParameters(Quoted(command.program), command.parameters))};
  }
  throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
}

}  // namespace

UniqueHandle StartProgram(const std::wstring& command) {
  Start start = StartFor(SplitCommandLine(command));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  // In the system folder: neither the program nor the command interpreter
  // finds a DLL or command in the folder the tool was started from.
  const std::wstring folder = SystemFolder();
  if (!CreateProcessW(start.program.c_str(), start.commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    throw LastWin32Error();
  }
  const UniqueHandle thread(started.hThread);
  return UniqueHandle(started.hProcess);
}

}  // namespace kelvane::platform::windows
