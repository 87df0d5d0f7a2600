#include "platform/win32/download.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "platform/download_rules.h"
#include "platform/win32/http_request.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/part_writer.h"
#include "platform/win32/scoped.h"

namespace platform::win32 {

namespace {


// The caller's thread serves its queue at least this often, and tells its
// observer about the progress at most this often.
constexpr DWORD kServeEveryMs = 100;
constexpr DWORD kReportEveryMs = 250;

std::string TemporaryFolder() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  return length == 0 || length > MAX_PATH ? std::string() : std::string(folder, length);
}

// A new part file in `folder`, opened for writing by us alone and deleted by
// the system when its handle closes (also when the process ends) unless
// KeepPartFile was called.
OwnedHandle NewPartFile(const std::string& folder, std::string& path) {
  char name[MAX_PATH];
  if (folder.empty() || GetTempFileNameA(folder.c_str(), kDownloadPartPrefix, 0, name) == 0) return nullptr;
  path = name;
  HANDLE file = CreateFileA(name, GENERIC_WRITE | DELETE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(name);
    return nullptr;
  }
  FILE_DISPOSITION_INFO removal{TRUE};
  SetFileInformationByHandle(file, FileDispositionInfo, &removal, sizeof removal);
  return OwnedHandle(file);
}

bool KeepPartFile(HANDLE file) {
  FILE_DISPOSITION_INFO removal{FALSE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &removal, sizeof removal) != FALSE;
}

// The file's identity: its index on its volume. Wine gives a handle whose
// file was renamed since it was opened the volume number 0, so the volumes
// are compared only where both are known: the move never leaves the volume.
bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  if (!GetFileInformationByHandle(a, &first) || !GetFileInformationByHandle(b, &second)) return false;
  const bool volumesKnown = first.dwVolumeSerialNumber != 0 && second.dwVolumeSerialNumber != 0;
  return (!volumesKnown || first.dwVolumeSerialNumber == second.dwVolumeSerialNumber) &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

OwnedHandle OpenForReading(const std::string& path, DWORD sharing) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return OwnedHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Moves `from` to `path` on the same volume, replacing what lies there, and
// holds it: readable by others, and by nobody changed, replaced or deleted.
// A handle that lets the move happen follows the file, and the holding handle
// (which lets nobody move or delete it) must open that very file.
OwnedHandle MoveAndHold(const std::string& from, const std::string& path) {
  const OwnedHandle moving = OpenForReading(from, FILE_SHARE_READ | FILE_SHARE_DELETE);
  if (!moving || !MoveFileExA(from.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return nullptr;
  OwnedHandle held = OpenForReading(path, FILE_SHARE_READ);
  return held && SameFile(moving.get(), held.get()) ? std::move(held) : nullptr;
}

// One transfer, shared by the caller and the thread that runs it. The caller
// may give up (a cancel) and return while the thread is still blocked in a
// read, so the last of the two to let go cleans up.
struct Transfer {
  std::string url;
  std::chrono::milliseconds stallLimit;
  std::string partPath;
  OwnedHandle partFile;  // the thread's, until it ends
  OwnedHandle finished{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> cancelled{false};
  std::atomic<std::uint64_t> held{0};
  std::atomic<std::uint64_t> total{0};
  std::atomic<DWORD> lastByteTick{GetTickCount()};
  // The thread's outcome, valid once `finished` is set.
  DownloadResult result = DownloadResult::Failed;
  std::exception_ptr error;
  bool delivered = false;  // the part file became the target

  Transfer(std::string address, std::chrono::milliseconds limit) : url(std::move(address)), stallLimit(limit) {}
  ~Transfer() {
    partFile.reset();
    if (!partPath.empty() && !delivered) DeleteFileA(partPath.c_str());
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
};

// Checks an answer against what is held; false fails the download. A 200
// starts the file (again), a 206 must continue it.
bool TakeAnswer(const Answer& answer, std::uint64_t& held, std::uint64_t& total, ResumeOffer& offer, PartWriter& part,
                bool resuming) {
  if (!IsIdentityEncoding(answer.contentEncoding)) return false;
  const std::optional<std::uint64_t> length = AnnouncedLength(answer.contentLengths);
  if (answer.status == 200) {
    if (!length || *length == 0) return false;
    if (held != 0 && !part.Restart()) return false;  // the file changed: from its first byte
    held = 0;
    total = *length;
    offer = ReadResumeOffer(answer.acceptRanges, answer.etag, answer.lastModified);
    return true;
  }
  if (!resuming || answer.status != 206) return false;
  const std::optional<ContentRange> range = ParseContentRange(answer.contentRange);
  if (!answer.contentLengths.empty() && length != total - held) return false;
  return range && ContinuesPartFile(*range, held, total);
}

DownloadResult Receive(Transfer& transfer) {
  const InternetHandle session = OpenSession(transfer.stallLimit);
  if (!session) return DownloadResult::Failed;
  PartWriter part(transfer.partFile.get());
  std::uint64_t held = 0, total = 0, most = 0;
  ResumeOffer offer;
  for (int attempt = 0; attempt <= kDownloadResumptions; ++attempt) {
    const std::uint64_t mostBefore = most;
    HttpRequest request;
    const bool answered = request.Open(session.get(), transfer.url, held, offer.validator);
    if (transfer.cancelled) return DownloadResult::Cancelled;
    if (!answered || !TakeAnswer(request.Headers(), held, total, offer, part, attempt > 0)) {
      return DownloadResult::Failed;
    }
    transfer.held = held;
    transfer.total = total;
    for (;;) {
      if (transfer.cancelled) return DownloadResult::Cancelled;
      DWORD read = 0;
      if (request.Read(part.Space(), part.SpaceLeft(), read) != BodyRead::Bytes) break;
      held += read;
      transfer.held = held;
      transfer.lastByteTick = GetTickCount();
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

// The transfer's thread: it owns one reference to the transfer, handed over
// on the heap, and touches nothing but the transfer and its part file.
DWORD WINAPI RunTransfer(void* parameter) noexcept {
  const std::unique_ptr<std::shared_ptr<Transfer>> handover(static_cast<std::shared_ptr<Transfer>*>(parameter));
  Transfer& transfer = **handover;
  try {
    transfer.result = Receive(transfer);
    if (transfer.result == DownloadResult::Downloaded && !KeepPartFile(transfer.partFile.get())) {
      transfer.result = DownloadResult::Failed;
    }
  } catch (...) {
    // Nothing may unwind into the system's frames: the caller rethrows it.
    transfer.error = std::current_exception();
  }
  transfer.partFile.reset();  // a part file not kept goes now, and its connection went with the session
  SetEvent(transfer.finished.get());
  return 0;
}

// Moves the finished part file to `path`, held from that moment.
DownloadResult Deliver(Transfer& transfer, const std::string& path, HeldFile& held) {
  OwnedHandle file = MoveAndHold(transfer.partPath, path);
  if (file) {
    transfer.delivered = true;
  } else {
    // Another volume: a copy beside the target first, moved the same way.
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return DownloadResult::Failed;
    std::string besidePath;
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    if (!NewPartFile(folder.empty() ? std::string(".\\") : folder, besidePath)) return DownloadResult::Failed;
    // The new part file went with its handle: the copy makes it again.
    if (CopyFileA(transfer.partPath.c_str(), besidePath.c_str(), FALSE)) file = MoveAndHold(besidePath, path);
    if (!file) {
      DeleteFileA(besidePath.c_str());
      return DownloadResult::Failed;
    }
  }
  held = HeldFile{reinterpret_cast<std::uintptr_t>(file.release())};
  return DownloadResult::Downloaded;
}

// Sets the transfer's cancel flag however the caller's wait ends: its
// thread then stops at its next read.
struct EndTransferOnExit {
  Transfer& transfer;
  ~EndTransferOnExit() { transfer.cancelled = true; }
};

}  // namespace

DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer, HeldFile& held,
                        std::chrono::milliseconds stallLimit) {
  held = {};
  auto transfer = std::make_shared<Transfer>(url, stallLimit);
  transfer->partFile = NewPartFile(TemporaryFolder(), transfer->partPath);
  if (!transfer->finished || !transfer->partFile) return DownloadResult::Failed;
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
    const DWORD lastByte = transfer->lastByteTick;  // the transfer's thread may move it on at any time
    const DWORD now = GetTickCount();
    if (now - reported >= kReportEveryMs) {
      report();
      reported = now;
    }
    // WinHTTP ends every silent wait at the stall limit; this bounds one it does not.
    if (SilentLongerThan(lastByte, now, static_cast<DWORD>(stallLimit.count()) + 5000)) return DownloadResult::Failed;
  }
  report();
  if (transfer->error) std::rethrow_exception(transfer->error);
  if (observer.CancelRequested()) return DownloadResult::Cancelled;
  if (transfer->result != DownloadResult::Downloaded) return transfer->result;
  return Deliver(*transfer, path, held);
}

void ReleaseFile(HeldFile held) {
  if (held) CloseHandle(reinterpret_cast<HANDLE>(held.value));
}

void RemoveLeftPartFiles() {
  const std::string folder = TemporaryFolder();
  if (folder.empty()) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + kDownloadPartPrefix + "*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // A running transfer's part file is open without sharing: it stays.
    DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace platform::win32
