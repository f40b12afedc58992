#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "installer/uninstall_result.h"
#include "platform/interface/platform.h"

namespace kelvane::installer {

// Removes from the Windows Installer's own records what the Installer could
// not remove itself (its cached package or source gone), for the products of
// Office 2010 it failed on, those an earlier run left in its per-machine
// records, and those an earlier scrub did not finish; never for a kept
// product, another Office's, or one the Installer still stands by (a
// removal cancelled, refused or waiting for another installation).
//
// In an order that survives being stopped: the set is written to the tool's
// own folder first; the product is unpublished; component values named by
// it, its published descriptors, the patches only it lists and its cached
// files go; its UserData key goes last, and with it its journal entry.
// Every failure is skipped. One "scrubbed" note per product.
void ScrubInstallerRecords(platform::Platform& platform, const std::vector<UninstallResult>& results);

// The Installer's records, as the core addresses them: root kLocalMachine,
// through a provider bound with RegistryView::Native.
inline constexpr std::string_view kInstallerClasses = "SOFTWARE\\Classes\\Installer";
inline constexpr std::string_view kInstallerUserData =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18";

// The folder of the journal, below the tool's own folder; one empty file per
// product being scrubbed, named by its packed code.
inline constexpr std::string_view kScrubJournalFolder = "\\Installer records";

inline constexpr const char* kScrubbedNote = "scrubbed";

// How long the scrub waits for an installation that runs when it starts: a
// short while, since the uninstall phase has just waited for one.
inline constexpr unsigned kScrubInstallerWaitMilliseconds = 30 * 1000;

// Whether a value under UserData\S-1-5-18\Components\<component> is Office
// 2010's: its name is the packed code of an Office 14 product no kept product
// owns. Such a value left after the run is a remaining trace; the all-zero
// value of a permanent component and every other product's never are.
bool IsOffice2010ComponentValue(std::string_view valueName);

// Whether a product key (packed) under UserData\S-1-5-18\Products is Office
// 2010's: a remaining trace once the run is over.
bool IsOffice2010ProductRecord(std::string_view packedCode);

}  // namespace kelvane::installer
