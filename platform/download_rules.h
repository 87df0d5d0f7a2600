// What a download reads from a server's answers to decide whether the file
// arrived whole and whether a broken transfer may go on where it stopped.
// Portable: the Win32 transfer hands it the headers' texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// How a download ended, as its caller sees it.
enum class DownloadResult : std::uint8_t {
  Downloaded,  // the whole file lies at the target
  Failed,      // nothing was placed; a file that lay at the target is unchanged
  Cancelled,   // the same, because the user asked for it
};

// The length of the body an answer announces: exactly one value, given by
// every Content-Length header, written as a plain decimal number (no sign,
// no blanks, no other base); nothing otherwise. A body whose end only the
// closing of the connection or its chunked framing shows cannot be told
// from one cut short, so it has no length.
std::optional<std::uint64_t> AnnouncedLength(const std::vector<std::string>& contentLengths);

// True for an answer body that is the file's own bytes: no Content-Encoding,
// or "identity".
bool IsIdentityEncoding(std::string_view contentEncoding);

// "bytes <first>-<last>/<total>" of a 206 answer.
struct ContentRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  std::uint64_t total = 0;
};
std::optional<ContentRange> ParseContentRange(std::string_view text);

// What the first answer says about asking for the rest after a break, and
// what the held bytes came with. If-Range takes a strong ETag only, and a
// date only where the answer gave no ETag at all: a weak ETag leaves no
// validator, so nothing is resumed.
struct ResumeOffer {
  bool ranges = false;     // Accept-Ranges: bytes
  std::string validator;   // for If-Range; empty: none
  bool byDate = false;     // the validator is the Last-Modified date
};
ResumeOffer ReadResumeOffer(std::string_view acceptRanges, std::string_view etag, std::string_view lastModified);

// True when a 206 answer continues a part file of `held` bytes of a file
// of `total` bytes: its range starts there, runs to the end and names the
// same total.
bool ContinuesPartFile(const ContentRange& range, std::uint64_t held, std::uint64_t total);

// True when a 206 answer may be joined to the held bytes: it carries the
// validator they came with (the same strong ETag; the same Last-Modified
// where they came without an ETag) and its range continues them to the same
// total. Any other 206 is of a changed file (a server or cache that ignored
// If-Range), whose bytes would make a file of two versions.
bool ContinuesHeldBytes(const ResumeOffer& held, std::string_view etag, std::string_view lastModified,
                        const ContentRange& range, std::uint64_t heldBytes, std::uint64_t total);

// How long to wait before asking again after the `retry`th (from 0)
// resumption whose connection failed: 1 s, then 2, then 4.
std::uint32_t ResumptionPauseMs(int retry);

// True when a wait that began at `lastByteTick` (a byte, or a new phase of
// the transfer) lasted more than `limitMs` until `now`, both read from the
// system's millisecond tick, which wraps after 49 days. A stamp the
// transfer's thread made after the caller read the clock counts as now, not
// as 49 days ago.
bool SilentLongerThan(std::uint32_t lastByteTick, std::uint32_t now, std::uint32_t limitMs);

}  // namespace platform
