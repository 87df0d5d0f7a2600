// Times the manager's download path (the internet functions on its worker
// thread, with the checks) for one address: prints the milliseconds.
//   bench_download_timer.exe URL TARGET
// As the manager does, it removes the address's cached copy first (outside
// the timing), and afterwards too, so that runs do not pile up copies.
#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include <cstdio>

#include "platform/win32/url_download.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_download_timer URL TARGET\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  DeleteUrlCacheEntryA(argv[1]);  // often there is none
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const long result = platform::win32::DownloadUrlToFile(argv[1], argv[2]);
  QueryPerformanceCounter(&end);
  DeleteUrlCacheEntryA(argv[1]);
  if (result != 0) {
    std::fprintf(stderr, "download failed: 0x%08lx\n", static_cast<unsigned long>(result));
    return 1;
  }
  std::printf("%.0f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  CoUninitialize();
  return 0;
}
