#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

namespace kelvane::platform::sim {

// events.log: one tab-separated line per event, appended as it happens so
// that the log shows how far a run got even when it ends abruptly. A tab
// or a line break inside a field is written as \t, \r or \n.
class EventLog {
 public:
  explicit EventLog(std::filesystem::path path) : path_(std::move(path)) {}
  void Append(std::initializer_list<std::string> fields) const;

 private:
  std::filesystem::path path_;
};

}  // namespace kelvane::platform::sim
