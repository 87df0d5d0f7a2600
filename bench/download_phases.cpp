// The limit under the manager's download: the same address read bare through
// the same functions, in the same process, the bytes dropped:
//   bench_download_phases URL
// Prints one line per figure, "<name> <milliseconds>":
//   winhttp-arrived  the manager's request, read as WinHTTP's own examples
//                    read: ask what has arrived, read that, again; without
//                    the manager's thread, part file, checks and move
//                    (the manager reads larger pieces on a fast link:
//                    ReadPiece in platform/win32/http_request.h)
//   winhttp-pieces   the same request read as the manager reads it
//                    (HttpRequest::Read), the bytes dropped
//   winhttp-1m       the same request read in 1 MiB pieces, each read
//                    waiting until its piece is full
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/win32/download.h"
#include "platform/win32/http_request.h"

namespace {

double Milliseconds() {
  static const double perMillisecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMillisecond;
}

using platform::win32::HttpRequest;

bool TimeArrived(const char* url) {
  const double start = Milliseconds();
  platform::win32::Sessions sessions(platform::win32::kDownloadStallLimit);
  HttpRequest request;
  platform::win32::WaitWatch watch{30000};
  if (!request.Open(sessions, url, 0, "", watch, platform::win32::kDownloadStallLimit)) return false;
  std::vector<char> buffer(1024 * 1024);
  DWORD available = 0, read = 0;
  while (WinHttpQueryDataAvailable(request.Handle(), &available) && available != 0) {
    if (!WinHttpReadData(request.Handle(), buffer.data(), std::min<DWORD>(available, 1024 * 1024), &read) || read == 0) {
      break;
    }
  }
  std::printf("winhttp-arrived %.0f\n", Milliseconds() - start);
  return true;
}

bool TimePieces(const char* url) {
  const double start = Milliseconds();
  platform::win32::Sessions sessions(platform::win32::kDownloadStallLimit);
  HttpRequest request;
  platform::win32::WaitWatch watch{30000};
  if (!request.Open(sessions, url, 0, "", watch, platform::win32::kDownloadStallLimit)) return false;
  std::vector<char> buffer(1024 * 1024);
  DWORD read = 0;
  while (request.Read(buffer.data(), static_cast<DWORD>(buffer.size()), read) == platform::win32::BodyRead::Bytes) {
  }
  std::printf("winhttp-pieces %.0f\n", Milliseconds() - start);
  return true;
}

bool TimeWholePieces(const char* url) {
  const double start = Milliseconds();
  platform::win32::Sessions sessions(platform::win32::kDownloadStallLimit);
  HttpRequest request;
  platform::win32::WaitWatch watch{30000};
  if (!request.Open(sessions, url, 0, "", watch, platform::win32::kDownloadStallLimit)) return false;
  std::vector<char> buffer(1024 * 1024);
  DWORD read = 0;
  while (WinHttpReadData(request.Handle(), buffer.data(), static_cast<DWORD>(buffer.size()), &read) && read != 0) {
  }
  std::printf("winhttp-1m %.0f\n", Milliseconds() - start);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_download_phases URL\n");
    return 2;
  }
  const bool ok = TimeArrived(argv[1]) && TimePieces(argv[1]) && TimeWholePieces(argv[1]);
  if (!ok) std::fprintf(stderr, "a fetch failed\n");
  return ok ? 0 : 1;
}
