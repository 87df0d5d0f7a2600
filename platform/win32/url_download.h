// The download of a setup or update file: the internet functions with the
// checks a plain download lacks, a rule for redirects and a bound on stalls.
#pragma once

#include <chrono>
#include <string>

namespace platform::win32 {

// How long a download may go without a byte of the file arriving before it is
// given up. The internet functions have no time limit of their own that
// works: Wine's internet reads ignore the receive time-outs, and a read
// blocked on a server that accepted the connection and then went quiet
// returns only when that server closes it, which may be never. Half a minute
// is far longer than any pause of a working server, and ends a stalled
// download (and the action that waits for it) within a minute. Only bytes of
// the file count, read in pieces of 64 KiB (a connection slower than about
// 2 KB/s is a stall): connections, requests and redirects do not, so a
// server that keeps answering with anything else is a stall too.
inline constexpr std::chrono::milliseconds kDownloadStallLimit{30000};

// How many redirects a download follows; the next one fails it. A server
// that redirects to itself would otherwise be asked for ever.
inline constexpr int kDownloadRedirectLimit = 10;

// The temporary folder's files that hold a transfer's bytes until it ends
// (GetTempFileName's prefix): `<prefix>XXXX.tmp`.
inline constexpr const char* kDownloadPartPrefix = "vdl";

// Downloads `url` (http or https) into the file `path`; 0 (S_OK) on success,
// else an HRESULT.
//
// Only the server's answer 200 with the whole announced body is a success:
// an HTTP error page, a connection closed without an answer and a body cut
// short fail (INET_E_DOWNLOAD_FAILURE). An https server must show a
// certificate that a trusted authority vouches for and that names its host
// (else the internet functions' certificate error, such as
// ERROR_INTERNET_INVALID_CA). Redirects are followed up to
// kDownloadRedirectLimit (then ERROR_HTTP_REDIRECT_FAILED), but once a
// request went over https never to plain http
// (ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR); other schemes are refused
// (INET_E_UNKNOWN_PROTOCOL). Nothing is read from or written to the internet
// cache, so every download asks the server.
//
// The transfer runs on a thread of its own into a part file in the temporary
// folder; the calling thread blocks (serving no messages) until it ends, or
// until no piece of the file has arrived for kDownloadStallLimit
// (INET_E_CONNECTION_TIMEOUT). A stalled transfer is left to itself: when its
// server finally lets go, it deletes its part file, and it never writes
// `path`. Only a complete download is moved to `path`; after a failure there
// is no file at `path`, not even one that was there before. An exception in
// the transfer's thread reaches the caller.
long DownloadUrlToFile(const std::string& url, const std::string& path);

// The same with another stall limit; the tests use a short one.
long DownloadUrlToFile(const std::string& url, const std::string& path, std::chrono::milliseconds stallLimit);

}  // namespace platform::win32
