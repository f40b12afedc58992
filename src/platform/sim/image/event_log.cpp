#include "platform/sim/image/event_log.h"

#include <fstream>

namespace kelvane::sim {

void EventLog::Append(std::initializer_list<std::string> fields) const {
  std::string line;
  for (const auto& field : fields) {
    if (!line.empty()) line += '\t';
    for (char c : field) {
      if (c == '\t') line += "\\t";
      else if (c == '\n') line += "\\n";
      else if (c == '\r') line += "\\r";
      else line += c;
    }
  }
  std::ofstream(path_, std::ios::app | std::ios::binary) << line << '\n';
}

}  // namespace kelvane::sim
