#include "seldir/seldir.h"

#include <optional>
#include <stdexcept>
#include <utility>

#include "seldir/directory_confirmation.h"

namespace seldir {

using platform::WindowHandle;

TSelDir::TSelDir(ui::TComponent* owner, std::optional<platform::Platform> os)
    : ui::TComponent(owner), os_(std::move(os)) {}

platform::Platform& TSelDir::Os() {
  if (!os_) throw std::logic_error("TSelDir " + Name + " has no platform");
  return *os_;
}

void TSelDir::SetDirectory(const std::string& value) {
  if (!value.empty() && value.back() == '\\') {
    directory_ = value.substr(0, value.size() - 1);
  } else if (value.empty()) {
    directory_ = Os().environment.CurrentDirectory();
  } else {
    directory_ = value;
  }
  if (FBrowseWindow && !directory_.empty()) {
    Os().shell.SelectInBrowser(FBrowseWindow, directory_);
  }
}

void TSelDir::SetFolder(TShellFolder value) {
  std::string path;
  const auto folder = ShellFolderOf(value);
  // SdDesktop, the namespace root, is not looked up: like SdNone it leaves
  // the directory empty.
  if (folder && *folder != platform::SpecialFolder::NamespaceRoot) {
    path = Os().shell.SpecialFolderPath({}, *folder).path;
  }
  directory_ = path;
  folder_ = value;
}

bool TSelDir::Execute() { return OldStyle ? ExecuteOldStyle() : ExecuteBrowser(); }

WindowHandle TSelDir::OwnerWindow() {
  ui::TControl* control = Owner() != nullptr ? Owner()->AsControl() : nullptr;
  const ui::TCustomForm* form = control != nullptr ? control->AsForm() : nullptr;
  if (form != nullptr && form->WindowHandle()) return form->WindowHandle();
  return Os().windows.ApplicationWindow();
}

bool TSelDir::ExecuteBrowser() {
  platform::ShellFolders& shell = Os().shell;
  SetDirectory(directory_);  // stays in effect whatever the user does

  platform::BrowseRequest request;
  request.owner = OwnerWindow();
  request.root = ShellFolderOf(folder_);
  request.title = Title;
  request.callback = [this](WindowHandle browser, platform::BrowserEvent event) { OnBrowserEvent(browser, event); };

  std::optional<std::string> path;
  {
    // The browser's window is known only while the browser is open.
    struct Closed {
      WindowHandle& window;
      ~Closed() { window = {}; }
    } closed{FBrowseWindow};
    path = shell.BrowseForFolder(request);
  }
  // As the shell gives it: a drive root keeps its backslash.
  if (path) directory_ = *path;
  return path.has_value();
}

// An error here goes to the application's error box; the browser opens all
// the same, without the selection.
void TSelDir::OnBrowserEvent(WindowHandle browser, platform::BrowserEvent event) {
  if (event != platform::BrowserEvent::Initialized) return;
  FBrowseWindow = browser;
  SetDirectory(directory_);  // selects it in the browser
}

bool TSelDir::ExecuteOldStyle() {
  platform::DirectoryDialogRecord record;
  record.owner = OwnerWindow();
  record.directory = OSRoot;
  record.helpContext = OSHelpContext;
  platform::Platform& os = Os();
  const TSelectDirOpts options = OSOptions;
  record.confirm = [&os, options](WindowHandle dialog, const std::string& chosen) {
    return ConfirmDirectory(os.files, os.boxes, dialog, chosen, options);
  };
  const bool confirmed = os.shell.DirectoryDialog(record);
  // The working path starts at the root and becomes the confirmed folder; it
  // is stored even after Cancel, so a set root is then the directory.
  const std::string working = confirmed ? record.directory : OSRoot;
  if (!working.empty()) directory_ = working;
  return confirmed;
}

}  // namespace seldir
