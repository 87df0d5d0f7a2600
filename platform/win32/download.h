// The download of a setup or update file: WinHTTP on a thread of its own,
// while the caller's thread serves its messages and reports progress.
#pragma once

#include <chrono>
#include <string>

#include "platform/handles.h"
#include "platform/platform.h"

namespace platform::win32 {

// How long a download may go without a byte arriving before the attempt is
// given up. It counts silence only: WinHTTP ends a wait for the answer or
// for the next bytes after this long (and closes the connection), and a
// link that brings a byte now and then is a slow one, not a stall. Half a
// minute is far longer than any pause of a working server.
inline constexpr std::chrono::milliseconds kDownloadStallLimit{30000};

// A broken transfer of a file that the server offers in ranges goes on where
// it stopped, this many times at most.
inline constexpr int kDownloadResumptions = 5;

// The temporary folder's files that hold a transfer's bytes until it ends
// (GetTempFileName's prefix): `<prefix>XXXX.tmp`.
inline constexpr const char* kDownloadPartPrefix = "vdl";

// Downloads `url` (http or https) into the file `path`, serving the
// application's message queue while it waits and telling `observer`.
//
// Only a whole file counts: the first answer must be 200 with one plain
// Content-Length, no content coding and a body of exactly that length. An
// answer without a length (its end is only the close, or chunked framing
// that the system reports alike whether cut or not), odd or differing
// lengths, a coded body, an empty one, an error page and a connection
// closed without an answer fail. An https server must show a certificate
// that a trusted authority vouches for and that names its host. Redirects
// are followed up to kDownloadRedirectLimit, never from https to plain http,
// and only to http and https. Nothing comes from or goes into a cache.
//
// A connection that breaks (closed, reset, or silent for the stall limit)
// after bytes arrived is asked again for the rest, when the first answer
// offered byte ranges and a validator (a strong ETag, else Last-Modified):
// a 206 from the held length on with the same total continues, a 200 (the
// file changed) starts again, anything else fails; at most
// kDownloadResumptions times, and not after a resumption that brought
// nothing beyond what was held before.
//
// The transfer writes a part file in the temporary folder, which the system
// deletes when its handle closes unless the transfer delivered it, also when
// the manager ends meanwhile. A cancel or a failure ends the caller's wait at
// once; the transfer's thread ends at its next read (at the latest after
// the stall limit of silence) and closes its connection. The whole file is
// then moved to `path` (replacing what lay there) by a handle that holds it
// from that moment: returned in `held`, it lets others read the file but
// not change, replace or delete it until it is closed.
DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer, HeldFile& held,
                        std::chrono::milliseconds stallLimit = kDownloadStallLimit);

void ReleaseFile(HeldFile held);

// Deletes the part files that earlier runs left in the temporary folder
// (after a crash): ours by their prefix, and only those no process holds.
void RemoveLeftPartFiles();

}  // namespace platform::win32
