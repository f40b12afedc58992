#include "platform/sim/image/atomic_write.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kelvane::platform::sim {

namespace {

// For the tests: with KELVANE_SIM_DIE_BEFORE_RENAME=N the process ends at
// once between the N-th write's temporary file and its rename, where a kill
// would do the most harm.
void DieHereIfAsked() {
  static const char* setting = std::getenv("KELVANE_SIM_DIE_BEFORE_RENAME");
  static long remaining = setting ? std::strtol(setting, nullptr, 10) : 0;
  if (remaining > 0 && --remaining == 0) std::_Exit(137);
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + temporary.string());
  }
  DieHereIfAsked();
  std::filesystem::rename(temporary, path);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace kelvane::platform::sim
