// What the user sees of a download that takes more than a moment: a small
// window with a bar, the figures and Cancel, owned by the main window and
// centred on it, made once the download has run for a second.
#pragma once

#include <cstdint>
#include <string>

#include "platform/downloads.h"
#include "platform/window_services.h"
#include "ui/forms.h"

namespace manager {

// "3.4 MB of 12.0 MB, 1.2 MB/s, about 7 s left": what has arrived, of how
// much, the mean speed since the start and the time left at that speed.
// Parts not yet known are left out.
std::string ProgressLine(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs);

class TDownloadForm : public ui::TForm {
 public:
  // `name` is the executable's name, as the caption shows it; Cancel (or
  // Enter, Esc or the close box) asks for `stop`.
  TDownloadForm(ui::TComponent* owner, const std::string& name, platform::StopToken stop);

  ui::TPanel Panel1{this, "Panel1"};
  ui::TProgressBar ProgressBar1{this, "ProgressBar1"};
  ui::TLabel Label1{this, "Label1"};
  ui::TBitBtn BitBtn1{this, "BitBtn1"};
};

// Watches one download for `main`: shows the window after a second and
// updates it. The download ends when its `stop` is asked for: by the user's
// cancel in the window, or by the main window's close. The window goes with
// the watch, once the windows that `modal` disabled take input again.
class DownloadWatch final : public platform::DownloadObserver {
 public:
  DownloadWatch(ui::TForm& main, std::string name, platform::StopToken stop, platform::ModalSection& modal);
  ~DownloadWatch();
  DownloadWatch(const DownloadWatch&) = delete;
  DownloadWatch& operator=(const DownloadWatch&) = delete;

  void Progress(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs) override;

  // The window, while it is there.
  TDownloadForm* Window() const { return form_; }

 private:
  ui::TForm& main_;
  std::string name_;
  platform::ModalSection& modal_;
  TDownloadForm* form_ = nullptr;
};

}  // namespace manager
