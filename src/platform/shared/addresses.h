#pragma once

namespace kelvane::platform {

// The maker's web site and the addresses the windows open.
inline constexpr const char* kMainWindowCaption = "Kelvane 2010 - www.kelvane.example";
// Label2 shows where the Office 2007 tool is; a click fetches this tool itself.
inline constexpr const char* kOffice2007DownloadAddress = "http://www.kelvane.example/downloads/kelvane2007.exe";
inline constexpr const char* kDownloadAddress = "http://www.kelvane.example/downloads/kelvane2010.exe";
inline constexpr const char* kDonationAddress =
    "https://www.payments.example/cgi-bin/webscr?cmd=_s-xclick&hosted_button_id=KELVANE2010";

}  // namespace kelvane::platform
