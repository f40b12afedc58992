#pragma once

#include <memory>
#include <utility>

#include "platform/interface/error.h"
#include "platform/interface/kernel.h"
#include "platform/shared/journal.h"

namespace kelvane::platform {

// One statement of a phase that goes on after a failure: a platform failure
// is dropped (noted in the run's journal) and the phase carries on with its
// next statement. Anything that is not a platform failure is a programming
// error and propagates.
template <class Statement>
void SkipIfFails(Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
  } catch (const Error& error) {
    NoteSkipped(error);
  }
}

// An object variable used in a statement: when its creation failed earlier
// the variable is empty, and every call on it fails like a call on Nothing.
template <class Object>
Object& Require(const std::unique_ptr<Object>& object) {
  if (!object) throw Error(kObjectRequired, "Object required");
  return *object;
}

// The user's own rights for as long as the result lives, or nothing when they
// cannot be had: what needs them is then skipped, never done with the
// administrator's rights instead.
inline std::unique_ptr<Impersonation> TryImpersonateUser(Kernel& kernel) {
  try {
    return kernel.ImpersonateUser();
  } catch (const Error&) {
    return nullptr;
  }
}

}  // namespace kelvane::platform
