#pragma once

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

}  // namespace kelvane
