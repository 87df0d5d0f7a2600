// The download of a setup or update file, or its copy from a file beside
// the manager: WinHTTP or the file on a thread of its own, while the
// caller's thread serves its messages and reports progress.
#pragma once

#include <chrono>
#include <string>

#include "platform/platform.h"
#include "platform/win32/scoped.h"

namespace platform::win32 {

// How long each wait of a download may last in silence before the attempt
// is given up: finding the proxy, resolving, connecting, the TLS handshake,
// each redirect's answer, the headers, each read of the body. WinHTTP ends
// such a wait after this long (and closes the connection); a link that
// brings a byte now and then is a slow one, not a stall. Half a minute is
// far longer than any pause of a working server.
inline constexpr std::chrono::milliseconds kDownloadStallLimit{30000};

// A broken transfer of a file that the server offers in ranges goes on where
// it stopped (or starts again when the file changed), this many times at most.
inline constexpr int kDownloadResumptions = 5;

// Downloads `url` (http or https) into the file `path`, serving the
// application's message queue while it waits and telling `observer`.
//
// Only a whole file counts: the first answer must be 200 with one plain
// Content-Length, no content coding and a body of exactly that length. An
// answer without a length (its end is only the close, or chunked framing
// that the system reports alike whether cut or not), odd or differing
// lengths, a coded body, an empty one, an error page and a connection
// closed without an answer fail. An https server must show a certificate
// that a trusted authority vouches for and that names its host, over TLS
// 1.2 or newer. Redirects are followed up to kDownloadRedirectLimit, never
// from https to plain http, and only to http and https. Nothing comes from
// or goes into a cache. The route is the user's (proxy.h).
//
// A connection that breaks (closed, reset, or silent for the stall limit)
// after bytes arrived is asked again for the rest, when the first answer
// offered byte ranges and a validator (a strong ETag; Last-Modified where
// there was no ETag): a 206 with the same validator that continues the
// held bytes to the same total goes on; a 200, or any other 206 (a server
// that ignored If-Range after the file changed), starts again from the
// first byte; anything else fails. A resumption whose connection fails is
// tried again after a pause (1 s, 2 s, then 4 s). At most
// kDownloadResumptions times in all, and not after a resumption that
// brought nothing beyond what was held before.
//
// The bytes go to a part file beside `path` (part_file.h), which the system
// deletes when its handle closes unless the transfer finished it, also when
// the manager ends meanwhile. A cancel (the observer's stop) or a failure ends
// the caller's wait at once; the transfer's thread ends at its next read (at
// the latest after the stall limit of silence) and closes its connection. The
// thread's outcome is its exit code: a failure on it comes back as Failed.
// The whole file is then renamed to `path` (replacing what lay there) through
// its own handle and held from that moment: returned in `held`, it lets
// others read the file but not change, replace or delete it until it is
// closed.
DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                        OwnedHandle& held, std::chrono::milliseconds stallLimit = kDownloadStallLimit);

// Copies the file `from` to `path` the same way: on the transfer's thread,
// through a part file beside `path`, placed and held like a download. The
// file `from` is opened for reading while nobody writes it.
DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer, OwnedHandle& held);

}  // namespace platform::win32
