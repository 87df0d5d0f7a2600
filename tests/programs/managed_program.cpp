// Stand-in for an installed program: records how it was started and ends.
#include <windows.h>

#include "tests/programs/test_program.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  const std::string self = test_programs::OwnPath();
  const test_programs::Behaviour behaviour = test_programs::ReadBehaviour(self);
  if (behaviour.sleepMs > 0) Sleep(behaviour.sleepMs);
  test_programs::RecordStart(self, test_programs::ArgumentText());
  return behaviour.fail ? 1 : 0;
}
