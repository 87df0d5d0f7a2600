// URLDownloadToFileA with the checks its result lacks and a bound on stalls.
#pragma once

#include <chrono>
#include <string>

namespace platform::win32 {

// How long a download may go without any sign of progress before it is given
// up. The URL download service has no time limit of its own that works: Wine's
// internet reads ignore the receive time-outs, and a read blocked on a server
// that accepted the connection and then went quiet returns only when that
// server closes it, which may be never. Half a minute is far longer than any
// pause of a working server, and ends a stalled download (and the action that
// waits for it) within a minute.
inline constexpr std::chrono::milliseconds kDownloadStallLimit{30000};

// The temporary folder's files that hold a transfer's bytes until it ends
// (GetTempFileName's prefix): `<prefix>XXXX.tmp`.
inline constexpr const char* kDownloadPartPrefix = "vdl";

// Downloads `url` into the file `path`; 0 (S_OK) on success, else an HRESULT.
//
// URLDownloadToFileA by itself reports success for an HTTP error page (the
// page becomes the file) and, under Wine, for a connection the server closed
// without an answer and for a body it cut short; a status callback sees the
// server's final status code and the byte counts, so these become failures
// here (INET_E_DOWNLOAD_FAILURE).
//
// The transfer runs on a thread of its own into a part file in the temporary
// folder; the calling thread blocks (serving no messages) until it ends, or
// until it has shown no progress for kDownloadStallLimit
// (INET_E_CONNECTION_TIMEOUT). A stalled transfer is left to itself: when its
// server finally lets go, it deletes its part file, and it never writes
// `path`. Only a complete download is moved to `path`; after a failure there
// is no file at `path`, not even one that was there before.
long DownloadUrlToFile(const std::string& url, const std::string& path);

// The same with another stall limit; the tests use a short one.
long DownloadUrlToFile(const std::string& url, const std::string& path, std::chrono::milliseconds stallLimit);

}  // namespace platform::win32
