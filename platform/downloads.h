// Downloads of a file from an http or https address, watched by the
// caller.
#pragma once

#include <cstdint>
#include <string>

#include "platform/download_rules.h"
#include "platform/handles.h"

namespace platform {

// What a running download tells its caller and asks it, on the caller's
// thread, a few times a second while the transfer runs.
class DownloadObserver {
 public:
  // `held` bytes of the file have arrived, of `total` (0 while not known);
  // `elapsedMs` since the download began.
  virtual void Progress(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs) = 0;
  // True ends the download as cancelled.
  virtual bool CancelRequested() = 0;

 protected:
  ~DownloadObserver() = default;
};

class Downloads {
 public:
  virtual ~Downloads() = default;

  // Downloads `url` (http or https) into the file `path` while serving the
  // application's message queue (platform/win32/download.h has the rules).
  // Only a file proven whole is placed at `path`; it is then held open,
  // readable but not to be changed, replaced or deleted by anyone, until
  // ReleaseFile. After a failure or a cancel `path` is as it was.
  virtual DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                  HeldFile& held) = 0;
  // Copies the file `from` into `path` the same way: watched, cancellable,
  // placed only whole and held.
  virtual DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                              HeldFile& held) = 0;
  virtual void ReleaseFile(HeldFile held) = 0;
  // Deletes what a download into `folder` left when its run ended without
  // cleaning up (a crash): only the manager's own part files, and only those
  // no process holds.
  virtual void RemoveLeftPartFiles(const std::string& folder) = 0;
};

}  // namespace platform
