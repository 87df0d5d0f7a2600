// Times the manager's download path (WinHTTP on its worker thread, with the
// checks, the part file and its placing) for one address: prints the
// milliseconds.
//   bench_download_timer.exe URL TARGET
#include <windows.h>

#include <cstdio>

#include "platform/win32/download.h"

namespace {

// The manager's caller without a window: nothing shown, nothing cancelled.
struct Unwatched final : platform::DownloadObserver {
  void Progress(std::uint64_t, std::uint64_t, std::uint32_t) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_download_timer URL TARGET\n");
    return 2;
  }
  Unwatched observer;
  platform::win32::OwnedHandle held;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const platform::DownloadResult result = platform::win32::Download(argv[1], argv[2], observer, held);
  QueryPerformanceCounter(&end);
  held.reset();
  if (result != platform::DownloadResult::Downloaded) {
    std::fprintf(stderr, "download failed\n");
    return 1;
  }
  std::printf("%.0f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  return 0;
}
