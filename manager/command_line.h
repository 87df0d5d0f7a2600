// The manager's command line. A managed program may start it with "/x" and a
// second argument: "DNR" selects the protected mode, anything else names a file
// to delete when the manager closes. Every other command line is ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace manager {

// Splits a command line as the process received it: blanks (characters of
// code 32 or less) separate arguments; double quotes, which are removed, let
// an argument hold blanks. The program name is the first argument.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

struct StartOptions {
  bool protectOwnDir = false;
  std::string deleteOnClose;
};

// `arguments` without the program name. Only exactly two arguments with a
// first one of "/x" (case-sensitive) count.
StartOptions ReadStartOptions(const std::vector<std::string>& arguments);

}  // namespace manager
