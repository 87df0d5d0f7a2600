#include "platform/win32/download.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <utility>

#include "platform/download_rules.h"
#include "platform/win32/http_request.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/part_file.h"
#include "platform/win32/part_writer.h"
#include "platform/win32/scoped.h"

namespace platform::win32 {

namespace {

// The caller's thread serves its queue at least this often, and tells its
// observer about the progress at most this often.
constexpr DWORD kServeEveryMs = 100;
constexpr DWORD kReportEveryMs = 250;
// The caller gives up on a wait this long after its limit, should the
// system not end it (it never failed to here).
constexpr DWORD kWatchdogGraceMs = 5000;

// One transfer, shared by the caller and the thread that runs it. The caller
// may give up (a cancel) and return while the thread is still blocked in a
// read, so the last of the two to let go cleans up: the part file goes with
// it unless the caller placed it.
struct Transfer {
  std::string source;  // the address, or the file to copy
  bool copy;
  std::chrono::milliseconds stallLimit;
  PartFile part;
  OwnedHandle finished{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> cancelled{false};
  std::atomic<std::uint64_t> held{0};
  std::atomic<std::uint64_t> total{0};
  WaitWatch watch{static_cast<std::uint32_t>(kDownloadStallLimit.count())};
  // The thread's outcome, valid once `finished` is set.
  DownloadResult result = DownloadResult::Failed;
  std::exception_ptr error;

  Transfer(std::string from, bool isCopy, const std::string& target, std::chrono::milliseconds limit)
      : source(std::move(from)), copy(isCopy), stallLimit(limit), part(target) {
    watch.Begin(LimitMs());
  }
  std::uint32_t LimitMs() const { return static_cast<std::uint32_t>(std::clamp<std::int64_t>(stallLimit.count(), 1, 600000)); }
};

// What an answer means for the held bytes.
enum class Taken : std::uint8_t { Fails, Starts, Continues, Changed };

Taken TakeAnswer(const Answer& answer, std::uint64_t held, std::uint64_t total, const ResumeOffer& offer, bool resuming) {
  if (!IsIdentityEncoding(answer.contentEncoding)) return Taken::Fails;
  const std::optional<std::uint64_t> length = AnnouncedLength(answer.contentLengths);
  if (answer.status == 200) return length && *length != 0 ? Taken::Starts : Taken::Fails;
  if (!resuming || answer.status != 206) return Taken::Fails;
  const std::optional<ContentRange> range = ParseContentRange(answer.contentRange);
  if (!range || (!answer.contentLengths.empty() && length != total - held)) return Taken::Changed;
  return ContinuesHeldBytes(offer, answer.etag, answer.lastModified, *range, held, total) ? Taken::Continues
                                                                                          : Taken::Changed;
}

// Waits `ms` before asking again; false when the download was cancelled meanwhile.
bool Pause(Transfer& transfer, std::uint32_t ms) {
  transfer.watch.Begin(ms);
  for (std::uint32_t waited = 0; waited < ms; waited += 50) {
    if (transfer.cancelled) return false;
    Sleep(50);
  }
  return !transfer.cancelled;
}

DownloadResult Receive(Transfer& transfer) {
  transfer.watch.Begin(transfer.LimitMs());
  Sessions sessions(transfer.stallLimit);
  PartWriter part(transfer.part.Handle());
  std::uint64_t held = 0, total = 0, most = 0;
  ResumeOffer offer;
  int connectionFailures = 0;
  for (int attempt = 0; attempt <= kDownloadResumptions; ++attempt) {
    const std::uint64_t mostBefore = most;
    HttpRequest request;
    const bool answered = request.Open(sessions, transfer.source, held, offer.validator, transfer.watch,
                                       transfer.stallLimit);
    if (transfer.cancelled) return DownloadResult::Cancelled;
    if (!answered) {
      // A resumption whose connection failed or was refused: again after a pause.
      if (attempt == 0) return DownloadResult::Failed;
      if (!Pause(transfer, ResumptionPauseMs(connectionFailures++))) return DownloadResult::Cancelled;
      continue;
    }
    switch (TakeAnswer(request.Headers(), held, total, offer, attempt > 0)) {
      case Taken::Fails:
        return DownloadResult::Failed;
      case Taken::Changed:  // its bytes are of another version: from the first byte, without a range
        if (!part.Restart()) return DownloadResult::Failed;
        held = most = 0;
        offer = {};
        transfer.held = 0;
        continue;
      case Taken::Starts:
        if (held != 0) {  // the whole file again: it changed
          if (!part.Restart()) return DownloadResult::Failed;
          held = most = 0;
        }
        total = *AnnouncedLength(request.Headers().contentLengths);
        offer = ReadResumeOffer(request.Headers().acceptRanges, request.Headers().etag, request.Headers().lastModified);
        break;
      case Taken::Continues:
        break;
    }
    transfer.held = held;
    transfer.total = total;
    for (;;) {
      if (transfer.cancelled) return DownloadResult::Cancelled;
      transfer.watch.Begin(transfer.LimitMs());
      DWORD read = 0;
      if (request.Read(part.Space(), part.SpaceLeft(), read) != BodyRead::Bytes) break;
      held += read;
      transfer.held = held;
      if (held > total || !part.Add(read)) return DownloadResult::Failed;
    }
    if (!part.Flush()) return DownloadResult::Failed;
    if (held == total) return DownloadResult::Downloaded;
    // Broken off: the rest may be asked for when the server offers ranges
    // and the last try brought something new.
    most = std::max(most, held);
    if (held == 0 || !offer.ranges || offer.validator.empty() || most == mostBefore) break;
  }
  return DownloadResult::Failed;
}

// The copy of a file beside the manager: nobody may write it meanwhile.
DownloadResult CopyIn(Transfer& transfer) {
  const OwnedHandle from(CreateFileA(transfer.source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!from || !GetFileSizeEx(from.get(), &size)) return DownloadResult::Failed;
  transfer.total = static_cast<std::uint64_t>(size.QuadPart);
  PartWriter part(transfer.part.Handle());
  std::uint64_t held = 0;
  for (;;) {
    if (transfer.cancelled) return DownloadResult::Cancelled;
    transfer.watch.Begin(transfer.LimitMs());
    DWORD read = 0;
    if (!ReadFile(from.get(), part.Space(), part.SpaceLeft(), &read, nullptr)) return DownloadResult::Failed;
    if (read == 0) break;
    held += read;
    transfer.held = held;
    if (!part.Add(read)) return DownloadResult::Failed;
  }
  return part.Flush() && held == transfer.total ? DownloadResult::Downloaded : DownloadResult::Failed;
}

// The transfer's thread: it owns one reference to the transfer, handed over
// on the heap, and touches nothing but the transfer and its part file.
DWORD WINAPI RunTransfer(void* parameter) noexcept {
  const std::unique_ptr<std::shared_ptr<Transfer>> handover(static_cast<std::shared_ptr<Transfer>*>(parameter));
  Transfer& transfer = **handover;
  try {
    transfer.result = transfer.copy ? CopyIn(transfer) : Receive(transfer);
  } catch (...) {
    // Nothing may unwind into the system's frames: the caller rethrows it.
    transfer.error = std::current_exception();
  }
  SetEvent(transfer.finished.get());
  return 0;
}

// Sets the transfer's cancel flag however the caller's wait ends: its
// thread then stops at its next read.
struct EndTransferOnExit {
  Transfer& transfer;
  ~EndTransferOnExit() { transfer.cancelled = true; }
};

DownloadResult Run(const std::shared_ptr<Transfer>& transfer, DownloadObserver& observer, HeldFile& held) {
  held = {};
  if (!transfer->finished || !transfer->part) return DownloadResult::Failed;
  const EndTransferOnExit ending{*transfer};

  auto* handover = new std::shared_ptr<Transfer>(transfer);
  const OwnedHandle thread(CreateThread(nullptr, 0, RunTransfer, handover, 0, nullptr));
  if (!thread) {
    delete handover;
    return DownloadResult::Failed;
  }

  const DWORD start = GetTickCount();
  DWORD reported = start;
  const HANDLE finished = transfer->finished.get();
  const auto report = [&] { observer.Progress(transfer->held, transfer->total, GetTickCount() - start); };
  while (MsgWaitForMultipleObjectsEx(1, &finished, kServeEveryMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
    ProcessMessages();
    if (observer.CancelRequested()) return DownloadResult::Cancelled;
    if (GetTickCount() - reported >= kReportEveryMs) {
      report();
      reported = GetTickCount();
    }
    // WinHTTP ends every silent wait at its limit; this bounds one it does not.
    if (transfer->watch.Overdue(kWatchdogGraceMs)) return DownloadResult::Failed;
  }
  // The thread has its outcome; it lets go of the transfer as it ends, and
  // with it of a part file that is not to be placed: gone when this returns.
  WaitForSingleObject(thread.get(), kWatchdogGraceMs);
  report();
  if (transfer->error) std::rethrow_exception(transfer->error);
  if (observer.CancelRequested()) return DownloadResult::Cancelled;
  if (transfer->result != DownloadResult::Downloaded) return transfer->result;
  OwnedHandle file = transfer->part.Place(transfer->total);
  if (!file) return DownloadResult::Failed;
  held = HeldFile{reinterpret_cast<std::uintptr_t>(file.release())};
  return DownloadResult::Downloaded;
}

}  // namespace

DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer, HeldFile& held,
                        std::chrono::milliseconds stallLimit) {
  return Run(std::make_shared<Transfer>(url, false, path, stallLimit), observer, held);
}

DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer, HeldFile& held) {
  return Run(std::make_shared<Transfer>(from, true, path, kDownloadStallLimit), observer, held);
}

void ReleaseFile(HeldFile held) {
  if (held) CloseHandle(reinterpret_cast<HANDLE>(held.value));
}

}  // namespace platform::win32
