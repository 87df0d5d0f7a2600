// Downloads of a file from an http or https address, watched by the
// caller.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/download_rules.h"
#include "platform/handles.h"

namespace platform {

class Downloads;

// The one request to stop a download: the progress window's Cancel and the
// main window's close ask for it, the caller's wait and the transfer's
// thread both read it. Copies share the request.
class StopToken {
 public:
  void RequestStop() const noexcept { stop_->store(true); }
  bool StopRequested() const noexcept { return stop_->load(); }

 private:
  std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
};

// A placed file held open against change (Downloads::Download and Copy):
// others may read it, nobody may change, replace or delete it until its
// owner lets go, by going out of scope or by being assigned another (or no)
// file. Moved, never copied.
class HeldFile {
 public:
  HeldFile() = default;
  HeldFile(HeldFileHandle handle, Downloads& downloads) noexcept : handle_(handle), downloads_(&downloads) {}
  HeldFile(HeldFile&& other) noexcept
      : handle_(std::exchange(other.handle_, {})), downloads_(std::exchange(other.downloads_, nullptr)) {}
  HeldFile& operator=(HeldFile&& other) noexcept;
  ~HeldFile() { Release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  explicit operator bool() const noexcept { return static_cast<bool>(handle_); }
  HeldFileHandle Handle() const noexcept { return handle_; }

 private:
  void Release() noexcept;
  HeldFileHandle handle_;
  Downloads* downloads_ = nullptr;
};

// What a running download tells its caller and asks it, on the caller's
// thread, a few times a second while the transfer runs.
class DownloadObserver {
 public:
  // `held` bytes of the file have arrived, of `total` (0 while not known);
  // `elapsedMs` since the download began.
  virtual void Progress(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs) = 0;
  // The download's stop: once requested, the download ends as cancelled.
  const StopToken& Stop() const { return stop_; }
  bool CancelRequested() const { return stop_.StopRequested(); }

 protected:
  explicit DownloadObserver(StopToken stop = {}) : stop_(std::move(stop)) {}
  ~DownloadObserver() = default;

 private:
  StopToken stop_;
};

class Downloads {
 public:
  virtual ~Downloads() = default;

  // Downloads `url` (http or https) into the file `path` while serving the
  // application's message queue (platform/win32/download.h has the rules).
  // Only a file proven whole is placed at `path`; it is then held open,
  // readable but not to be changed, replaced or deleted by anyone, as long
  // as `held` holds it. After a failure or a cancel `path` is as it was.
  // A failure of the transfer comes back as the result, not as an error.
  virtual DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                  HeldFile& held) = 0;
  // Copies the file `from` into `path` the same way: watched, cancellable,
  // placed only whole and held.
  virtual DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                              HeldFile& held) = 0;
  // Deletes what a download into `folder` left when its run ended without
  // cleaning up (a crash): only the manager's own part files, and only those
  // no process holds.
  virtual void RemoveLeftPartFiles(const std::string& folder) = 0;

 protected:
  // Lets go of a file that Download or Copy held: only its HeldFile does.
  friend class HeldFile;
  virtual void ReleaseFile(HeldFileHandle held) noexcept = 0;
};

inline HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, {});
    downloads_ = std::exchange(other.downloads_, nullptr);
  }
  return *this;
}

inline void HeldFile::Release() noexcept {
  if (handle_ && downloads_ != nullptr) downloads_->ReleaseFile(std::exchange(handle_, {}));
}

}  // namespace platform
