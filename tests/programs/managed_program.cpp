// Stand-in for an installed program: records how it was started and ends;
// in the demo it first shows how it was started.
#include <windows.h>

#include "tests/programs/test_program.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  const std::string self = test_programs::OwnPath();
  const test_programs::Behaviour behaviour = test_programs::ReadBehaviour(self);
  if (behaviour.hold) {
    const std::string release = self + ".release";
    while (GetFileAttributesA(release.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(20);
  }
  if (behaviour.sleepMs > 0) Sleep(behaviour.sleepMs);
  test_programs::RecordStart(self, test_programs::ArgumentText());
  if (behaviour.window) {
    const std::string text = "This stand-in for an installed program was started as\r\n\r\n" + self + "\r\n\r\nwith the arguments\r\n\r\n" +
                             (test_programs::ArgumentText().empty() ? std::string("(none)") : test_programs::ArgumentText());
    MessageBoxA(nullptr, text.c_str(), "Installed program", MB_OK | MB_ICONINFORMATION);
  }
  return behaviour.fail ? 1 : 0;
}
