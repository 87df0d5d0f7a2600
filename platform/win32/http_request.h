// One GET of a download through WinHTTP: the session with the user's proxy,
// TLS 1.2 and newer and the stall limit as its time-outs, the redirect rule,
// the answer's headers and its body as it arrives.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/download_rules.h"
#include "platform/win32/scoped.h"

namespace platform::win32 {

// How many redirects a download follows; the next one fails it. A server
// that redirects to itself would otherwise be asked for ever.
inline constexpr int kDownloadRedirectLimit = 10;

// A WinHTTP session through the user's proxy (proxy.h) that speaks TLS 1.2
// and 1.3 (1.2 alone where the system refuses 1.3: Windows before 11; on
// Windows 7 WinHTTP offers only TLS 1.0 unless asked): every wait on the
// server (resolving, connecting, the handshake and sending, waiting for the
// answer or the next bytes of the body) ends after `stallLimit` of silence,
// and the connection with it.
InternetHandle OpenSession(std::chrono::milliseconds stallLimit);

// The sessions of one download, one for each route its requests take (a
// redirect may lead to a host the user's script routes otherwise; WinHTTP
// takes a route per session).
class Sessions {
 public:
  explicit Sessions(std::chrono::milliseconds stallLimit);
  // The session through which `url` goes by the user's settings; null when it cannot be opened.
  void* For(const std::wstring& url);

 private:
  std::chrono::milliseconds stallLimit_;
  InternetHandle fixed_;                            // the fixed route, which asks the script too
  std::map<std::wstring, InternetHandle> routed_;  // by "<access type> <proxy> <bypass>"
};

// Which wait a transfer's thread is in, for the watchdog of the caller's
// thread: when it began and how long it may last. Each phase (finding the
// proxy, connecting and sending, the answer's headers, each read of the
// body, a pause before asking again) begins a wait of its own.
class WaitWatch {
 public:
  // The first wait begins now.
  explicit WaitWatch(std::uint32_t limitMs) { Begin(limitMs); }
  void Begin(std::uint32_t limitMs) { wait_ = (std::uint64_t{limitMs} << 32) | GetTickCount(); }
  // True when the current wait has lasted longer than its limit and `graceMs`.
  bool Overdue(std::uint32_t graceMs) const {
    const std::uint64_t wait = wait_;  // before the clock: a wait begun after the reading is no silence
    return SilentLongerThan(static_cast<std::uint32_t>(wait), GetTickCount(),
                            static_cast<std::uint32_t>(wait >> 32) + graceMs);
  }

 private:
  std::atomic<std::uint64_t> wait_;
};

// The headers of the final answer that a download reads.
struct Answer {
  DWORD status = 0;
  std::vector<std::string> contentLengths;  // every Content-Length header
  std::string contentEncoding;
  std::string contentRange;
  std::string acceptRanges;
  std::string etag;
  std::string lastModified;
};

// How reading a piece of the body went.
enum class BodyRead : std::uint8_t { Bytes, End, Broken };

class HttpRequest {
 public:
  // Asks for `url`, with "Range: bytes=<from>-" and "If-Range: <validator>"
  // when `from` is not 0, and follows redirects: at most
  // kDownloadRedirectLimit, never from https to plain http, and only to
  // http and https. A proxy that asks for the user's logon gets it by the
  // system's integrated methods (the server never does). Each wait begins
  // on `watch`, limited by `stallLimit`. False when no answer came that is
  // not a redirect.
  bool Open(Sessions& sessions, const std::string& url, std::uint64_t from, const std::string& validator,
            WaitWatch& watch, std::chrono::milliseconds stallLimit);
  const Answer& Headers() const { return answer_; }
  void* Handle() const { return request_.get(); }
  // Waits for bytes of the body or its end: at least what has arrived, and
  // on a fast link a larger piece (see ReadPiece), up to `space`.
  BodyRead Read(char* buffer, DWORD space, DWORD& read);

 private:
  bool Send(Sessions& sessions, const std::wstring& url, std::uint64_t from, const std::string& validator,
            WaitWatch& watch, std::uint32_t limitMs);
  InternetHandle connection_;
  InternetHandle request_;
  Answer answer_;
  DWORD available_ = 0;  // bytes the last query said are there and not yet read
  std::uint64_t bodyRead_ = 0;  // bytes of the body read so far
  DWORD bodyStarted_ = 0;       // when the first of them arrived (GetTickCount)
  std::uint32_t limitMs_ = 0;   // the stall limit
};

// How much one read of the body asks for, given what has arrived and the
// link's speed so far. A read that asks for more than has arrived waits
// until it all has (and shows no progress meanwhile), so only on a fast link
// does a read ask for more: what the link brought so far in a tenth of a
// second, or in a 400th of the stall limit where that is less, and never
// more than 256 KiB. Such a piece comes within a quarter of the limit even
// if the link slows down a hundredfold in the middle of it. Larger pieces
// take WinHTTP through fewer calls: over https under Wine, reads of a whole
// megabyte took a quarter less time than reads of what had arrived.
DWORD ReadPiece(DWORD available, DWORD space, std::uint64_t readSoFar, DWORD elapsedMs, std::uint32_t limitMs);

}  // namespace platform::win32
