#include "manager/command_line.h"

namespace manager {

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (true) {
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    if (i >= commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !IsBlank(commandLine[i])); ++i) {
      if (commandLine[i] == '"') {
        quoted = !quoted;
      } else {
        argument += commandLine[i];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

StartOptions ReadStartOptions(const std::vector<std::string>& arguments) {
  StartOptions options;
  if (arguments.size() != 2 || arguments[0] != "/x") return options;
  if (arguments[1] == "DNR") {
    options.protectOwnDir = true;
  } else {
    options.deleteOnClose = arguments[1];
  }
  return options;
}

}  // namespace manager
