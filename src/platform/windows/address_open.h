#pragma once

#include <string>

namespace kelvane::platform::windows {

// Opens an address (a web address, a document) with its default handler,
// without the tool's elevation: the desktop shell's own process opens it, as
// the user who is logged on. Where there is no desktop shell to ask, the
// tool opens it itself, with the handler the machine registers for its
// scheme or file type (HKLM\SOFTWARE\Classes), never with one the user's own
// classes define. A path to nothing fails with "file not found".
void OpenAddressAsUser(const std::wstring& address, int windowStyle);

// The tool's own way, for where there is no desktop shell: the machine's
// class of the address opens it, with the tool's rights.
void OpenWithMachineClass(const std::wstring& address, int windowStyle);

}  // namespace kelvane::platform::windows
