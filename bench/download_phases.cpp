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
// The process is set up as the manager's is when its first download begins:
// the window's libraries loaded (user32 and what it brings), WinHTTP not yet.
// WinHTTP is loaded within the first figure, as the manager loads it then.
// (Linking WinHTTP made winhttp-arrived 10-15 ms short of the limit; loading
// user32 with it, 30-40 ms long.)
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/win32/download.h"
#include "platform/win32/http_request.h"
#include "platform/win32/system_library.h"

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

// Opens the request for `url`, reads its body with `readAll` into a 1 MiB
// buffer, closes the request and its session, and prints "<name>
// <milliseconds>" for the whole: a download through WinHTTP ends with the
// closing of its handles, as the manager's does (the first close of a
// process took 10 ms over http).
template <class ReadAll>
bool Time(const char* name, const char* url, ReadAll readAll) {
  const double start = Milliseconds();
  {
    platform::win32::Sessions sessions(platform::win32::kDownloadStallLimit);
    HttpRequest request;
    platform::win32::WaitWatch watch{30000};
    if (!request.Open(sessions, url, 0, "", watch, platform::win32::kDownloadStallLimit)) return false;
    std::vector<char> buffer(1024 * 1024);
    readAll(request, buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  std::printf("%s %.0f\n", name, Milliseconds() - start);
  return true;
}

// WinHTTP's reads, bound after the library was loaded by the first request.
struct Reads {
  decltype(&::WinHttpQueryDataAvailable) queryData = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpQueryDataAvailable);
  decltype(&::WinHttpReadData) read = VANDREL_SYSTEM_FUNCTION(kHttpLibrary, WinHttpReadData);
};

void ReadArrived(HttpRequest& request, char* buffer, DWORD size) {
  const Reads http;
  DWORD available = 0, read = 0;
  while (http.queryData(request.Handle(), &available) && available != 0) {
    if (!http.read(request.Handle(), buffer, std::min(available, size), &read) || read == 0) break;
  }
}

void ReadPieces(HttpRequest& request, char* buffer, DWORD size) {
  DWORD read = 0;
  while (request.Read(buffer, size, read) == platform::win32::BodyRead::Bytes) {
  }
}

void ReadWholePieces(HttpRequest& request, char* buffer, DWORD size) {
  const Reads http;
  DWORD read = 0;
  while (http.read(request.Handle(), buffer, size, &read) && read != 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_download_phases URL\n");
    return 2;
  }
  platform::win32::LoadSystemLibrary("user32.dll");
  const bool ok = Time("winhttp-arrived", argv[1], ReadArrived) && Time("winhttp-pieces", argv[1], ReadPieces) &&
                  Time("winhttp-1m", argv[1], ReadWholePieces);
  if (!ok) std::fprintf(stderr, "a fetch failed\n");
  return ok ? 0 : 1;
}
