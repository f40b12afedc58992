// At log-on kelvane-sim reads every .lnk in the image's Startup folders, and
// those may come from Windows or any other tool, so ReadShellLink meets bytes
// it never produced: it must say nothing for what it cannot read, never read
// past the end, and never throw. The writer and the reader are the two halves
// of one format: whatever the reader takes from a shortcut, WriteShellLink
// must be able to write so that it reads back with the same target and
// window style.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sim/image/shell_link.h"

namespace {

using kelvane::platform::sim::ReadShellLink;
using kelvane::platform::sim::WriteShellLink;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "shell_link_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto link = ReadShellLink(bytes);
  if (!link) return 0;

  const auto again = ReadShellLink(WriteShellLink(*link));
  if (!again) Fail("the reader rejects what WriteShellLink wrote");
  if (again->targetPath != link->targetPath) Fail("the target path changed on the way back");
  if (again->showCommand != link->showCommand) Fail("the window style changed on the way back");
  return 0;
}
