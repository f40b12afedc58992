#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Office's Windows Installer product codes carry its signature,
// {9xMM....-....-....-....-0000000FF1CE}, where MM is the major version: 12
// for Office 2007, 14 for 2010, 15 for 2013, 16 for 2016 and later. Another
// Office on the machine keeps working only if its products, registrations
// and caches are left, so this is the one rule every phase and the inventory
// ask before they remove something named by such a code.
//
// True when the name is, or ends with, a product code of an Office other than
// 2010: braced, braced and followed by "-C" (the Source Engine's download
// records and the local install caches), or packed as the Installer's keys
// store it (32 digits: the first three groups reversed, the two digits of
// every later byte swapped). Digits are read in either case, as the Installer
// reads a code.
bool BelongsToAnotherOffice(std::string_view name);

// True when the name is, or ends with (in the same forms), the code of an
// Office 14 product that other software installs and needs, kept whole by
// its product ID (the PPPP of {9xMMmmmm-PPPP-...}): the Access Database
// Engine 2010 redistributable, the Filter Pack, SharePoint 2010 and the
// other servers.
bool BelongsToKeptOffice14Product(std::string_view name);

// True when the name is, or ends with (in the same forms), a code with
// Office's signature and major version 14, kept or not.
bool IsOffice14Code(std::string_view name);

// The rule for what the removal takes: an Office 14 code that no kept product
// owns. The uninstall phase, the Installer records' scrub, the registry plan
// and the inventory ask it of a product code, a packed key name or a
// component's value name alike.
bool BelongsToOffice2010(std::string_view name);

// A packed code (32 digits, as the Installer names its keys and values)
// that BelongsToOffice2010.
bool IsPackedOffice2010Code(std::string_view name);

// A braced code in the packed form the Installer's keys and values are named
// by (upper case); empty for anything else.
std::string PackedProductCode(std::string_view braced);
// The braced form (upper case) of a packed code; empty for anything else.
std::string BracedProductCode(std::string_view packed);

}  // namespace kelvane
