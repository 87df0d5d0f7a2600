// Downloads on the real platform (platform/win32/download.h has the rules).
#include "platform/win32/win32_platform.h"

#include "platform/win32/download.h"
#include "platform/win32/part_file.h"

namespace platform {

DownloadResult Win32Platform::Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                       HeldFile& held) {
  return win32::Download(url, path, observer, held);
}

DownloadResult Win32Platform::Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                                   HeldFile& held) {
  return win32::Copy(from, path, observer, held);
}

void Win32Platform::ReleaseFile(HeldFile held) { win32::ReleaseFile(held); }

void Win32Platform::RemoveLeftPartFiles(const std::string& folder) { win32::RemoveLeftPartFiles(folder); }

}  // namespace platform
