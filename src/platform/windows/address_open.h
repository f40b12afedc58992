#pragma once

#include <string>

namespace kelvane::platform::windows {

// Opens an address (a web address, a document) with its default handler,
// without the tool's elevation: the desktop shell's own process opens it, as
// the user who is logged on. Never the tool itself: a browser started
// elevated would load the user's profile (extensions, native-messaging
// hosts), which any of the user's own processes can write. Where the desktop
// shell cannot be reached (the user's processes can end it) this fails with
// ERROR_NOT_SUPPORTED, and the caller shows the address instead. A path to
// nothing fails with "file not found".
void OpenAddressAsUser(const std::wstring& address, int windowStyle);

}  // namespace kelvane::platform::windows
