#include "platform/win32/download.h"

#include <algorithm>
#include <atomic>
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

// The caller tells its observer about the progress this often. Its thread
// wakes for every message as it comes, and otherwise only for the report:
// every wake-up takes a processor from the transfer.
constexpr DWORD kReportEveryMs = 250;
// The caller gives up on a wait this long after its limit, should the
// system not end it (it never failed to here).
constexpr DWORD kWatchdogGraceMs = 5000;

// One transfer, shared by the caller and the thread that runs it. The caller
// may give up (a cancel) and return while the thread is still blocked in a
// read, so the last of the two to let go cleans up: the part file goes with
// it unless the caller placed it. The thread's outcome is its exit code.
struct Transfer {
  std::string source;  // the address, or the file to copy
  bool copy;
  std::chrono::milliseconds stallLimit;
  PartFile part;
  StopToken stop;  // the caller's: its cancel, or its giving up
  std::atomic<std::uint64_t> held{0};
  std::atomic<std::uint64_t> total{0};
  WaitWatch watch{static_cast<std::uint32_t>(kDownloadStallLimit.count())};

  Transfer(std::string from, bool isCopy, const std::string& target, std::chrono::milliseconds limit,
           StopToken stopToken)
      : source(std::move(from)), copy(isCopy), stallLimit(limit), part(target), stop(std::move(stopToken)) {
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
    if (transfer.stop.StopRequested()) return false;
    Sleep(50);
  }
  return !transfer.stop.StopRequested();
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
    if (transfer.stop.StopRequested()) return DownloadResult::Cancelled;
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
      if (transfer.stop.StopRequested()) return DownloadResult::Cancelled;
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
    if (transfer.stop.StopRequested()) return DownloadResult::Cancelled;
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
// on the heap, and touches nothing but the transfer and its part file. It
// lets go of both before it ends; its exit code is the outcome.
DWORD WINAPI RunTransfer(void* parameter) noexcept {
  const std::unique_ptr<std::shared_ptr<Transfer>> handover(static_cast<std::shared_ptr<Transfer>*>(parameter));
  Transfer& transfer = **handover;
  try {
    return static_cast<DWORD>(transfer.copy ? CopyIn(transfer) : Receive(transfer));
  } catch (...) {
    // Nothing may unwind into the system's frames: a transfer that could not
    // go on failed, and the caller tells it as such.
    return static_cast<DWORD>(DownloadResult::Failed);
  }
}

// The outcome of a thread that has ended.
DownloadResult OutcomeOf(HANDLE thread) {
  DWORD code = 0;
  if (!GetExitCodeThread(thread, &code)) return DownloadResult::Failed;
  switch (code) {
    case static_cast<DWORD>(DownloadResult::Downloaded):
      return DownloadResult::Downloaded;
    case static_cast<DWORD>(DownloadResult::Cancelled):
      return DownloadResult::Cancelled;
    default:
      return DownloadResult::Failed;
  }
}

// Asks the transfer to stop when the caller's wait ends before its thread
// does (a cancel, the watchdog, an error): the thread stops at its next read.
struct StopUnlessEnded {
  Transfer& transfer;
  bool ended = false;
  ~StopUnlessEnded() {
    if (!ended) transfer.stop.RequestStop();
  }
};

DownloadResult Run(const std::shared_ptr<Transfer>& transfer, DownloadObserver& observer, OwnedHandle& held) {
  held.reset();
  if (!transfer->part) return DownloadResult::Failed;

  auto* handover = new std::shared_ptr<Transfer>(transfer);
  const OwnedHandle thread(CreateThread(nullptr, 0, RunTransfer, handover, 0, nullptr));
  if (!thread) {
    delete handover;
    return DownloadResult::Failed;
  }

  const DWORD start = GetTickCount();
  DWORD reported = start;
  // The thread's end: it has let go of the transfer by then, and with it of
  // a part file that is not to be placed, which is gone when this returns.
  const HANDLE ended = thread.get();
  const auto report = [&] { observer.Progress(transfer->held, transfer->total, GetTickCount() - start); };
  StopUnlessEnded ending{*transfer};
  while (MsgWaitForMultipleObjectsEx(1, &ended, kReportEveryMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
    ProcessMessages();
    if (observer.CancelRequested()) return DownloadResult::Cancelled;
    if (GetTickCount() - reported >= kReportEveryMs) {
      report();
      reported = GetTickCount();
    }
    // WinHTTP ends every silent wait at its limit; this bounds one it does not.
    if (transfer->watch.Overdue(kWatchdogGraceMs)) return DownloadResult::Failed;
  }
  ending.ended = true;
  report();
  if (observer.CancelRequested()) return DownloadResult::Cancelled;
  const DownloadResult outcome = OutcomeOf(thread.get());
  if (outcome != DownloadResult::Downloaded) return outcome;
  held = transfer->part.Place(transfer->total);
  return held ? DownloadResult::Downloaded : DownloadResult::Failed;
}

}  // namespace

DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                        OwnedHandle& held, std::chrono::milliseconds stallLimit) {
  return Run(std::make_shared<Transfer>(url, false, path, stallLimit, observer.Stop()), observer, held);
}

DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer, OwnedHandle& held) {
  return Run(std::make_shared<Transfer>(from, true, path, kDownloadStallLimit, observer.Stop()), observer, held);
}

}  // namespace platform::win32
