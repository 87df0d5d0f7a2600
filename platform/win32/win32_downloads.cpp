// Downloads on the real platform (platform/win32/download.h has the rules).
#include "platform/win32/win32_platform.h"

#include "platform/win32/download.h"
#include "platform/win32/part_file.h"
#include "platform/win32/scoped.h"

namespace platform {

namespace {

// The hold on a placed file, handed over to the portable core.
HeldFile HandOver(win32::OwnedHandle file, Downloads& downloads) {
  if (!file) return {};
  return HeldFile(HeldFileHandle{reinterpret_cast<std::uintptr_t>(file.release())}, downloads);
}

}  // namespace

DownloadResult Win32Platform::Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                       HeldFile& held) {
  win32::OwnedHandle file;
  const DownloadResult result = win32::Download(url, path, observer, file);
  held = HandOver(std::move(file), *this);
  return result;
}

DownloadResult Win32Platform::Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                                   HeldFile& held) {
  win32::OwnedHandle file;
  const DownloadResult result = win32::Copy(from, path, observer, file);
  held = HandOver(std::move(file), *this);
  return result;
}

void Win32Platform::ReleaseFile(HeldFileHandle held) noexcept {
  win32::OwnedHandle{reinterpret_cast<HANDLE>(held.value)}.reset();
}

void Win32Platform::RemoveLeftPartFiles(const std::string& folder) { win32::RemoveLeftPartFiles(folder); }

}  // namespace platform
