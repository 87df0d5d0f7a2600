// One GET of a download through WinHTTP: the session with the user's proxy
// and the stall limit as its time-outs, the redirect rule, the answer's
// headers and its body as it arrives.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"

namespace platform::win32 {

// How many redirects a download follows; the next one fails it. A server
// that redirects to itself would otherwise be asked for ever.
inline constexpr int kDownloadRedirectLimit = 10;

// A WinHTTP session: every wait on the server (connecting, sending, waiting
// for the answer or the next bytes of the body) ends after `stallLimit` of
// silence, and the connection with it.
InternetHandle OpenSession(std::chrono::milliseconds stallLimit);

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
  // http and https. False when no answer came that is not a redirect.
  bool Open(void* session, const std::string& url, std::uint64_t from, const std::string& validator);
  const Answer& Headers() const { return answer_; }
  void* Handle() const { return request_.get(); }
  // Waits for bytes of the body (as many as have arrived, up to `space`) or its end.
  BodyRead Read(char* buffer, DWORD space, DWORD& read);

 private:
  bool Send(void* session, const std::wstring& url, std::uint64_t from, const std::string& validator);
  InternetHandle connection_;
  InternetHandle request_;
  Answer answer_;
  DWORD available_ = 0;  // bytes the last query said are there and not yet read
};

}  // namespace platform::win32
