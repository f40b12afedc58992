#pragma once

#include <string>

namespace kelvane::platform::windows {

// The executable's own file, held from start-up to the end: opened for
// reading with no write or delete sharing, so that nothing can rename it
// away or write into it while the tool runs, and checked to be the image
// the process runs (a file put under the started name before start-up
// would be another). Fails, with the process left unchanged, when the file
// cannot be held or is not the running image.
void PinRunningImage();

// Whether the path names the pinned image (its final path, as the handle
// has it).
bool IsPinnedImage(const std::wstring& longPath);

// Writes the pinned image's bytes to a new file: the copy in Program Files
// is made from what runs, never read again by name.
void CopyPinnedImage(const std::wstring& destination);

}  // namespace kelvane::platform::windows
