// Tells whether this machine runs Windows programs of this build's width
// under Wine: tools/test.sh runs it before the 32-bit lane, which needs a
// kernel that executes 32-bit code, Wine's 32-bit loader and a prefix with
// a 32-bit part. Prints what it ran as and ends with 0.
#include <windows.h>

#include <cstdio>

int main() {
  BOOL onWow64 = FALSE;
  if (IsWow64Process(GetCurrentProcess(), &onWow64) == FALSE) return 1;
  std::printf("a %u-bit Windows program ran%s\n", static_cast<unsigned>(sizeof(void*) * 8),
              onWow64 != FALSE ? " on WoW64" : "");
  return 0;
}
