// What the test programs (the stand-ins for the managed programs, their setup
// programs and update installers) share: their command line, the behaviour a
// test asks of them, and the record of each start.
//
// A test chooses a behaviour through the file "<program file name>.behaviour"
// beside the program (e.g. "orvik100.exe.behaviour"), or, when there is none,
// through the environment variable VANDREL_TEST_BEHAVIOUR. Words, separated by
// blanks, commas or line breaks:
//   sleep=N   run N milliseconds before doing anything else
//   hold      (installed program) before anything else, wait until a file
//             "<program file name>.release" lies beside it: a test decides
//             when the program ends, with no clock involved
//   fail      create nothing and end with exit code 1
//   nothing   create nothing and end with exit code 0
//   window    (installed program) show a window with the command line after
//             recording it, until the user closes it: the demo sets this
#pragma once

#include <string>

namespace test_programs {

struct Behaviour {
  unsigned sleepMs = 0;
  bool hold = false;
  bool fail = false;
  bool nothing = false;
  bool window = false;
};

std::string OwnPath();
// The command line after the program name and the blanks that follow it.
std::string ArgumentText();
Behaviour ReadBehaviour(const std::string& ownPath);
// Appends the argument text and CR LF to the program path with the extension
// ".cmdline": one line per start, written when the program is done.
void RecordStart(const std::string& ownPath, const std::string& arguments);

}  // namespace test_programs
