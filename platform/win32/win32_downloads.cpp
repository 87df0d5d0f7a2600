// Downloads on the real platform (platform/win32/download.h has the rules).
#include "platform/win32/win32_platform.h"

#include "platform/win32/download.h"
#include "platform/win32/part_file.h"
#include "platform/win32/scoped.h"

namespace platform {

namespace {

// Runs a transfer to `path` and hands the hold on the placed file over to
// the portable core.
template <class Transfer>
DownloadResult Fetch(Transfer transfer, Downloads& downloads, HeldFile& held) {
  win32::OwnedHandle file;
  const DownloadResult result = transfer(file);
  held = file ? HeldFile(HeldFileHandle{reinterpret_cast<std::uintptr_t>(file.release())}, downloads) : HeldFile();
  return result;
}

}  // namespace

DownloadResult Win32Platform::Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                       HeldFile& held) {
  return Fetch([&](win32::OwnedHandle& file) { return win32::Download(url, path, observer, file); }, *this, held);
}

DownloadResult Win32Platform::Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                                   HeldFile& held) {
  return Fetch([&](win32::OwnedHandle& file) { return win32::Copy(from, path, observer, file); }, *this, held);
}

void Win32Platform::ReleaseFile(HeldFileHandle held) noexcept {
  win32::OwnedHandle{reinterpret_cast<HANDLE>(held.value)}.reset();
}

void Win32Platform::RemoveLeftPartFiles(const std::string& folder) { win32::RemoveLeftPartFiles(folder); }

}  // namespace platform
