#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace kelvane::sim_tool {

// The commands, on a parsed command line. Each loads the image first, so a
// bad image stops it before anything is written; each returns the exit status.
// With newerOffice, the demo machine has a newer Office beside Office 2010.
// Which Windows, and which edition of Office on it.
struct ImageShape {
  bool sixtyFourBit = false;
  int edition = 64;  // on 32-bit Windows, always 32
};

int InitImage(const std::filesystem::path& image, bool demo, std::ostream& err, bool newerOffice = false,
              ImageShape shape = {false, 32});
// `toolArguments`: the tool's own command line; when given, its exit code is
// written to `out` ("exit code: 3010").
int StartOnImage(const std::filesystem::path& image, const std::vector<std::string>& clicks,
                 const std::string& toolArguments, std::istream& in, std::ostream& out, std::ostream& err);
// Who logs on after the restart: the image's own user, or another one by name
// (a standard user unless administrator).
struct LogOn {
  std::string user;  // empty: the image's own user
  bool administrator = false;
};
int BootImage(const std::filesystem::path& image, const std::vector<std::string>& clicks, std::istream& in,
              std::ostream& out, std::ostream& err, const LogOn& logOn = {});
int CycleImage(const std::filesystem::path& image, std::ostream& out, std::ostream& err);
int ReportImage(const std::filesystem::path& image, std::ostream& out, std::ostream& err);

}  // namespace kelvane::sim_tool
