#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/interface/kernel.h"

namespace kelvane::platform::windows {

// A group of a token: its SID as text, and its SE_GROUP_... attributes.
struct TokenGroup {
  std::wstring sid;
  DWORD attributes;
};

// Whose rights the user's own work runs with.
enum class UserRights {
  Own,     // the process's token is the user's (no split: UAC off, the built-in Administrator, SYSTEM, a limited token)
  Linked,  // the full half of a User Account Control split: the linked limited token's rights
  Lacking  // a full half whose limited token cannot be read: the work must not run
};

UserRights UserRightsFor(TOKEN_ELEVATION_TYPE type, bool hasLinkedToken);

// The groups to disable in our token to leave the user's own rights: each
// group enabled in ours that the limited token lacks or holds only to deny
// access, which is what User Account Control filtered out
// (BUILTIN\Administrators and the like). Integrity labels are no groups to
// disable; the label is set on its own.
std::vector<std::wstring> GroupsToDisable(const std::vector<TokenGroup>& ours, const std::vector<TokenGroup>& linked);

// Impersonates the user's own rights on the calling thread until released.
// An elevated process gets its linked token only for identification, which
// opens no file, so the user's token is built from ours: the filtered groups
// disabled, no privileges, and the limited token's integrity level, owner
// and default DACL.
std::unique_ptr<Impersonation> ImpersonateUserOnThisThread();

}  // namespace kelvane::platform::windows
