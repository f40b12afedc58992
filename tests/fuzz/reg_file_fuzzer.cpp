// registry.reg comes from whoever built the machine image, so the reader must
// turn anything at all into either a registry or an ImageError. A file it
// accepts is written back by FormatRegFile when the machine is saved, and
// read again on the next start: that written form has to read back to the
// same registry, or each save and load would drift the machine a little.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/reg_file.h"

namespace {

using kelvane::platform::sim::FormatRegFile;
using kelvane::platform::sim::ImageError;
using kelvane::platform::sim::ParseRegFile;
using kelvane::platform::sim::RegFile;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "reg_file_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RegFile file;
  try {
    file = ParseRegFile(bytes, "registry.reg");
  } catch (const ImageError&) {
    // A bad image is reported to its author; that is the reader doing its job.
    return 0;
  }

  const std::string written = FormatRegFile(file);
  RegFile again;
  try {
    again = ParseRegFile(written, "registry.reg");
  } catch (const ImageError& error) {
    std::fprintf(stderr, "reg_file_fuzzer: %s\n", error.what());
    Fail("the reader rejects what FormatRegFile wrote");
  }
  if (again.encoding != file.encoding) Fail("the encoding changed on the way back");
  // Comments and repeated keys are gone after the first write, so the first
  // written form is the one that must stay put from then on.
  if (FormatRegFile(again) != written) Fail("writing the file read back gives different bytes");
  return 0;
}
