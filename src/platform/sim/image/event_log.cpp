#include "platform/sim/image/event_log.h"

#include <fstream>

#include "common/text.h"

namespace kelvane::platform::sim {

void EventLog::Append(std::initializer_list<std::string> fields) const {
  std::string line;
  for (const auto& field : fields) {
    if (!line.empty()) line += '\t';
    line += TabField(field);
  }
  std::ofstream(path_, std::ios::app | std::ios::binary) << line << '\n';
}

}  // namespace kelvane::platform::sim
