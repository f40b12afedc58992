#include "platform/windows/user_rights.h"

#include <sddl.h>

#include <algorithm>

#include "platform/windows/token.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

class NoImpersonation final : public Impersonation {};

class ThreadImpersonation final : public Impersonation {
 public:
  // Failing to revert would leave the thread with less rights, never more.
  ~ThreadImpersonation() override { RevertToSelf(); }
};

bool GrantsAccess(DWORD attributes) {
  return (attributes & SE_GROUP_ENABLED) && !(attributes & (SE_GROUP_USE_FOR_DENY_ONLY | SE_GROUP_INTEGRITY));
}

std::vector<TokenGroup> Groups(HANDLE token) {
  const auto information = ReadTokenInformation(token, TokenGroups);
  const auto& groups = TokenRecord<TOKEN_GROUPS>(information);
  const SID_AND_ATTRIBUTES* each = groups.Groups;
  std::vector<TokenGroup> listed;
  for (DWORD index = 0; index < groups.GroupCount; ++index) {
    listed.push_back({SidText(each[index].Sid), each[index].Attributes});
  }
  return listed;
}

// Gives `to` what `from` holds of one kind (owner, default DACL, integrity);
// false where the system cannot set that kind at all.
bool TakeOver(HANDLE from, HANDLE to, TOKEN_INFORMATION_CLASS kind) {
  auto information = ReadTokenInformation(from, kind);
  const auto size = static_cast<DWORD>(information.size() * sizeof(LONGLONG));
  if (SetTokenInformation(to, kind, information.data(), size)) return true;
  if (GetLastError() == ERROR_INVALID_FUNCTION) return false;
  throw LastWin32Error();
}

UniqueHandle UserToken(HANDLE own, HANDLE linked) {
  std::vector<UniqueLocal> sids;
  std::vector<SID_AND_ATTRIBUTES> disabled;
  for (const std::wstring& text : GroupsToDisable(Groups(own), Groups(linked))) {
    UniqueLocal sid;
    if (!ConvertStringSidToSidW(text.c_str(), reinterpret_cast<PSID*>(sid.put()))) throw LastWin32Error();
    disabled.push_back({sid.get(), 0});
    sids.push_back(std::move(sid));
  }
  UniqueHandle user;
  if (!CreateRestrictedToken(own, DISABLE_MAX_PRIVILEGE, static_cast<DWORD>(disabled.size()), disabled.data(), 0,
                             nullptr, 0, nullptr, user.put())) {
    throw LastWin32Error();
  }
  if (!TakeOver(linked, user.get(), TokenIntegrityLevel)) throw ErrorFromWin32(ERROR_INVALID_FUNCTION);
  // Only what the user creates meanwhile is concerned; Wine 8 sets no owner.
  TakeOver(linked, user.get(), TokenOwner);
  TakeOver(linked, user.get(), TokenDefaultDacl);
  return user;
}

}  // namespace

UserRights UserRightsFor(TOKEN_ELEVATION_TYPE type, bool hasLinkedToken) {
  if (type != TokenElevationTypeFull) return UserRights::Own;
  return hasLinkedToken ? UserRights::Linked : UserRights::Lacking;
}

std::vector<std::wstring> GroupsToDisable(const std::vector<TokenGroup>& ours, const std::vector<TokenGroup>& linked) {
  std::vector<std::wstring> filtered;
  for (const TokenGroup& group : ours) {
    if (!GrantsAccess(group.attributes)) continue;
    const bool userHasIt = std::any_of(linked.begin(), linked.end(), [&](const TokenGroup& theirs) {
      return CompareStringOrdinal(theirs.sid.c_str(), -1, group.sid.c_str(), -1, TRUE) == CSTR_EQUAL &&
             GrantsAccess(theirs.attributes);
    });
    if (!userHasIt) filtered.push_back(group.sid);
  }
  return filtered;
}

std::unique_ptr<Impersonation> ImpersonateUserOnThisThread() {
  UniqueHandle own;
  const DWORD access = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE | TOKEN_ADJUST_DEFAULT;
  if (!OpenProcessToken(GetCurrentProcess(), access, own.put())) throw LastWin32Error();
  const auto type = TokenRecord<TOKEN_ELEVATION_TYPE>(ReadTokenInformation(own.get(), TokenElevationType));
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  const bool hasLinked =
      type == TokenElevationTypeFull && GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size);
  const UniqueHandle linkedToken(hasLinked ? linked.LinkedToken : nullptr);
  switch (UserRightsFor(type, hasLinked)) {
    case UserRights::Own: return std::make_unique<NoImpersonation>();
    case UserRights::Lacking: throw LastWin32Error();
    case UserRights::Linked: break;
  }
  const UniqueHandle user = UserToken(own.get(), linkedToken.get());
  if (!ImpersonateLoggedOnUser(user.get())) throw LastWin32Error();
  return std::make_unique<ThreadImpersonation>();
}

}  // namespace kelvane::platform::windows
