// A stand-in for the system's "timeout" command, which Wine lacks: the
// removal batch file's "timeout /T 2 /nobreak" waits its two seconds.
// Installed into the test prefix's system folders by the scenario runner.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "/T") == 0 || std::strcmp(argv[i], "/t") == 0) {
      Sleep(static_cast<DWORD>(std::atoi(argv[i + 1])) * 1000);
      return 0;
    }
  }
  return 1;
}
