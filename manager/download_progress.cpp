#include "manager/download_progress.h"

#include <cstdio>

#include "ui/form_description.h"
#include "ui/forms/download_form.h"

namespace manager {

namespace {

constexpr std::uint32_t kShowAfterMs = 1000;
constexpr double kMegabyte = 1024.0 * 1024.0;

std::string Amount(double bytes) {
  char text[32];
  if (bytes < kMegabyte) {
    std::snprintf(text, sizeof text, "%.0f KB", bytes / 1024.0);
  } else {
    std::snprintf(text, sizeof text, "%.1f MB", bytes / kMegabyte);
  }
  return text;
}

}  // namespace

std::string ProgressLine(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs) {
  std::string line = Amount(static_cast<double>(held));
  if (total != 0) line += " of " + Amount(static_cast<double>(total));
  if (held == 0 || elapsedMs == 0) return line;
  const double perSecond = static_cast<double>(held) * 1000.0 / elapsedMs;
  line += ", " + Amount(perSecond) + "/s";
  if (total > held) {
    const auto seconds = static_cast<unsigned long>(static_cast<double>(total - held) / perSecond + 0.5);
    line += seconds < 120 ? ", about " + std::to_string(seconds) + " s left"
                          : ", about " + std::to_string((seconds + 30) / 60) + " min left";
  }
  return line;
}

TDownloadForm::TDownloadForm(ui::TComponent* owner, const std::string& name, platform::StopToken stop)
    : ui::TForm(owner) {
  Name = "DownloadForm";
  ui::LoadForm(*this, ui::kDownloadFormDescription);
  SetText("Downloading " + name + " ...");
  BitBtn1.Default = true;
  BitBtn1.Cancel = true;
  BitBtn1.OnClick = [stop](ui::TObject*) { stop.RequestStop(); };
  // The close box cancels too; the watch takes the window away.
  OnClose = [stop](ui::TObject*, ui::TCloseAction& action) {
    stop.RequestStop();
    action = ui::TCloseAction::caNone;
  };
}

DownloadWatch::DownloadWatch(ui::TForm& main, std::string name, platform::StopToken stop,
                             platform::ModalSection& modal)
    : DownloadObserver(std::move(stop)), main_(main), name_(std::move(name)), modal_(modal) {}

DownloadWatch::~DownloadWatch() {
  if (form_ == nullptr) return;
  try {
    modal_.Leave();  // before the window hides: the activation passes to the main window
    form_->Hide();
    ui::Application.Release(*form_);
  } catch (...) {
    ui::Application.HandleCurrentException();
  }
}

void DownloadWatch::Progress(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs) {
  if (form_ == nullptr) {
    if (elapsedMs < kShowAfterMs) return;
    form_ = &ui::Application.CreateForm<TDownloadForm>(nullptr, name_, Stop());
    form_->PopupParent = &main_;
    form_->SetPosition(main_.Left, main_.Top);  // made now: its outer size is known from here on
    form_->SetPosition(main_.Left + (main_.Width - form_->Width) / 2, main_.Top + (main_.Height - form_->Height) / 2);
    form_->Show();
  }
  if (total != 0) form_->ProgressBar1.SetPosition(static_cast<int>(held * ui::TProgressBar::kMax / total));
  form_->Label1.SetText(ProgressLine(held, total, elapsedMs));
}

}  // namespace manager
