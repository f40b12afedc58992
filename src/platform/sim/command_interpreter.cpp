#include "platform/sim/command_interpreter.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/sim/image/text_case.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

// A started command: carried out before run returns, so it has always ended.
class FinishedProcess final : public platform::Process {
 public:
  FinishedProcess(const Machine& machine, std::string commandLine)
      : machine_(machine), commandLine_(std::move(commandLine)) {}
  bool WaitForExit(unsigned) override {
    machine_.Check(Operation::WaitForExit, commandLine_, UnspecifiedError());
    return true;
  }

 private:
  const Machine& machine_;
  std::string commandLine_;
};

}  // namespace

// Splits a command line into words; quotes group a word and are dropped.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  bool inWord = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void RemoveDirectory(Machine& machine, const std::vector<std::string>& words) {
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i].size() == 2 && words[i][0] == '/') continue;  // /S, /Q
    const auto folder = machine.drive().Find(words[i]);
    // A missing folder: cmd says so on a console nobody reads.
    if (folder && Drive::IsFolder(*folder)) machine.Delete(*folder, true);
  }
}

}  // namespace

void RunBatchFile(Machine& machine, const DriveItem& file) {
  std::ifstream in(file.host, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string command = Trimmed(line);
    if (command.empty()) continue;
    if (SameIgnoringAsciiCase(command, "@echo off") || SameIgnoringAsciiCase(command, "echo off")) continue;
    const auto words = Words(machine.Expand(command, true));
    if (!words.empty() && (SameIgnoringAsciiCase(words[0], "rd") || SameIgnoringAsciiCase(words[0], "rmdir"))) {
      RemoveDirectory(machine, words);
    } else {
      machine.log().Append({"cmd", "not recognised", command});
    }
  }
}

std::unique_ptr<platform::Process> StartCommand(Machine& machine, const std::string& commandLine,
                                                const std::function<void()>& started) {
  const auto words = Words(commandLine);
  if (words.empty()) throw FileNotFound();
  const std::string& program = words[0];
  if (EndsIgnoringAsciiCase(program, ".bat") || EndsIgnoringAsciiCase(program, ".cmd")) {
    const auto file = machine.drive().Find(program);
    if (!file || !Drive::IsFile(*file)) throw FileNotFound();
    started();
    RunBatchFile(machine, *file);
  } else if ((SameIgnoringAsciiCase(program, "net") || SameIgnoringAsciiCase(program, "net.exe")) &&
             words.size() == 3 &&
             (SameIgnoringAsciiCase(words[1], "stop") || SameIgnoringAsciiCase(words[1], "start"))) {
    started();
    // A missing service: net reports it on its console; nobody reads it.
    if (std::string* state = machine.config().ServiceState(words[2])) {
      *state = SameIgnoringAsciiCase(words[1], "stop") ? "stopped" : "running";
    }
  } else if (SameIgnoringAsciiCase(program, "shutdown") || SameIgnoringAsciiCase(program, "shutdown.exe")) {
    started();
    for (const auto& word : words) {
      const bool restart = SameIgnoringAsciiCase(word, "-r") || SameIgnoringAsciiCase(word, "/r");
      if (restart) machine.config().pendingRestart = true;
    }
  } else {
    throw FileNotFound();
  }
  return std::make_unique<FinishedProcess>(machine, commandLine);
}

}  // namespace kelvane::platform::sim
