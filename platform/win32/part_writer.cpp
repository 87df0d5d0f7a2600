#include "platform/win32/part_writer.h"

namespace platform::win32 {

PartWriter::PartWriter(HANDLE file) : file_(file), buffers_{std::vector<char>(kPieceSize), std::vector<char>(kPieceSize)} {
  // Without its thread (or its events) every piece is written at once.
  if (work_ && idle_) thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

PartWriter::~PartWriter() {
  if (!thread_) return;
  WaitIdle();
  stop_ = true;
  SetEvent(work_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI PartWriter::Run(void* parameter) noexcept {
  auto& writer = *static_cast<PartWriter*>(parameter);
  for (;;) {
    WaitForSingleObject(writer.work_.get(), INFINITE);
    if (writer.stop_) return 0;
    if (!writer.Write(writer.pending_, writer.pendingSize_)) writer.failed_ = true;
    SetEvent(writer.idle_.get());
  }
}

bool PartWriter::Write(const char* bytes, DWORD size) {
  DWORD written = 0;
  return size == 0 || (WriteFile(file_, bytes, size, &written, nullptr) && written == size);
}

bool PartWriter::WaitIdle() {
  if (thread_) WaitForSingleObject(idle_.get(), INFINITE);
  return !failed_;
}

bool PartWriter::HandOver() {
  const char* piece = buffers_[current_].data();
  const DWORD size = gathered_;
  gathered_ = 0;
  if (!thread_) {
    if (!Write(piece, size)) failed_ = true;
    return !failed_;
  }
  if (!WaitIdle()) return false;
  ResetEvent(idle_.get());
  pending_ = piece;
  pendingSize_ = size;
  SetEvent(work_.get());
  current_ ^= 1;
  return true;
}

bool PartWriter::Add(DWORD count) {
  gathered_ += count;
  return gathered_ < kPieceSize || HandOver();
}

bool PartWriter::Flush() { return (gathered_ == 0 || HandOver()) && WaitIdle(); }

bool PartWriter::Restart() {
  gathered_ = 0;
  return WaitIdle() && SetFilePointer(file_, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file_);
}

}  // namespace platform::win32
