// The manager's command line as any program may start it: the input is the
// whole command line, program name included.
//
// What must hold:
//  - no argument holds a double quote, and only blanks and quotes are lost:
//    the arguments' characters are the command line's, in order, once the
//    quotes and blanks are taken out of both;
//  - every argument put in quotes and the quoted arguments joined by blanks
//    split into the same arguments again;
//  - the start options come only from exactly "/x" and one more argument
//    after the program name: "DNR" is the protected mode and deletes
//    nothing; anything else is the file to delete and no protected mode.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "manager/command_line.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "command_line: %s\n", what);
  std::abort();
}

std::string WithoutQuotesAndBlanks(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != '"' && static_cast<unsigned char>(c) > 32) kept += c;
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view commandLine(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> arguments = manager::SplitCommandLine(commandLine);

  std::string joined;
  std::string quoted;
  for (const auto& argument : arguments) {
    Require(argument.find('"') == std::string::npos, "an argument kept a quote");
    joined += argument;
    if (!quoted.empty()) quoted += ' ';
    quoted += '"' + argument + '"';
  }
  Require(WithoutQuotesAndBlanks(joined) == WithoutQuotesAndBlanks(commandLine), "characters other than blanks lost");
  Require(manager::SplitCommandLine(quoted) == arguments, "the quoted arguments split differently");

  // As start-up reads it: without the program name.
  const std::vector<std::string> options(arguments.empty() ? arguments.begin() : arguments.begin() + 1,
                                         arguments.end());
  const manager::StartOptions start = manager::ReadStartOptions(options);
  const bool counts = options.size() == 2 && options[0] == "/x";
  Require(start.protectOwnDir == (counts && options[1] == "DNR"), "protected mode without exactly /x DNR");
  Require(start.deleteOnClose == (counts && options[1] != "DNR" ? options[1] : std::string()),
          "the file to delete is not the argument after /x");
  return 0;
}
