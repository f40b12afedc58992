#pragma once

#include "platform/interface/error.h"

namespace kelvane::platform::sim {

// The failures the machine reports, numbered and worded as Windows and its
// automation objects report them.
inline platform::Error FileNotFound() {
  return {static_cast<long>(0x80070002), "The system cannot find the file specified."};
}
inline platform::Error PathNotFound() {
  return {static_cast<long>(0x80070003), "The system cannot find the path specified."};
}
inline platform::Error AccessDenied() { return {static_cast<long>(0x80070005), "Access is denied."}; }
inline platform::Error SharingViolation() {
  return {static_cast<long>(0x80070020), "The process cannot access the file because it is being used by another process."};
}
// Simulation only: the Windows program makes its shell, file-system and
// network objects itself, so creating one cannot fail there. The number is
// the one COM gives for a class it cannot create.
inline platform::Error CannotCreateObject() { return {static_cast<long>(0x80040154), "Class not registered"}; }
inline platform::Error InvalidMoniker() { return {static_cast<long>(0x800401E4), "Invalid syntax"}; }
inline platform::Error NoAssociation() {
  return {static_cast<long>(0x80070483), "No application is associated with the specified file for this operation."};
}
inline platform::Error WmiGenericFailure() { return {static_cast<long>(0x80041001), "Generic failure"}; }
inline platform::Error WmiNotFound() { return {static_cast<long>(0x80041002), "Not found"}; }
inline platform::Error UnspecifiedError() { return {static_cast<long>(0x80004005), "Unspecified error"}; }
inline platform::Error DiskFull() { return {static_cast<long>(0x80070070), "There is not enough space on the disk."}; }
inline platform::Error InvalidHandle() { return {static_cast<long>(0x80070006), "The handle is invalid."}; }
inline platform::Error NotSupported() { return {static_cast<long>(0x80070032), "The request is not supported."}; }

}  // namespace kelvane::platform::sim
