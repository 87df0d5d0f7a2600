#include "platform/win32/part_writer.h"

namespace platform::win32 {

bool PartWriter::Add(DWORD count) {
  gathered_ += count;
  return gathered_ < kPieceSize || Flush();
}

bool PartWriter::Flush() {
  DWORD written = 0;
  const bool ok = gathered_ == 0 || (WriteFile(file_, buffer_.data(), gathered_, &written, nullptr) && written == gathered_);
  gathered_ = 0;
  return ok;
}

bool PartWriter::Restart() {
  gathered_ = 0;
  return SetFilePointer(file_, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file_);
}

}  // namespace platform::win32
