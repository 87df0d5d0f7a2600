#include "seldir/seldir.h"

#include <optional>
#include <stdexcept>

#include "platform/shell_folders.h"
#include "seldir/directory_confirmation.h"

namespace seldir {

using platform::ItemIdList;
using platform::ShellAllocator;
using platform::WindowHandle;

TSelDir::TSelDir(ui::TComponent* owner, platform::Platform* os) : ui::TComponent(owner), os_(os) {}

platform::Platform& TSelDir::Os() const {
  if (os_ == nullptr) throw std::logic_error("TSelDir " + Name + " has no platform");
  return *os_;
}

void TSelDir::SetDirectory(const std::string& value) {
  if (!value.empty() && value.back() == '\\') {
    directory_ = value.substr(0, value.size() - 1);
  } else if (value.empty()) {
    directory_ = Os().CurrentDirectory();
  } else {
    directory_ = value;
  }
  if (FBrowseWindow && !directory_.empty()) {
    Os().SelectInBrowser(FBrowseWindow, directory_);
  }
}

void TSelDir::SetFolder(TShellFolder value) {
  std::string path;
  const auto folder = ShellFolderOf(value);
  // SdDesktop, the namespace root, is not looked up: like SdNone it leaves
  // the directory empty.
  if (folder && *folder != platform::SpecialFolder::NamespaceRoot) {
    platform::Platform& os = Os();
    ShellAllocator allocator(os);
    path = platform::SpecialFolderPath(os, allocator, {}, *folder);
  }
  directory_ = path;
  folder_ = value;
}

bool TSelDir::Execute() { return OldStyle ? ExecuteOldStyle() : ExecuteBrowser(); }

WindowHandle TSelDir::OwnerWindow() {
  ui::TControl* control = Owner() != nullptr ? Owner()->AsControl() : nullptr;
  const ui::TCustomForm* form = control != nullptr ? control->AsForm() : nullptr;
  if (form != nullptr && form->WindowHandle()) return form->WindowHandle();
  return Os().ApplicationWindow();
}

bool TSelDir::ExecuteBrowser() {
  platform::Platform& os = Os();
  bool result = false;
  std::string path;
  SetDirectory(directory_);  // stays in effect whatever the user does

  platform::BrowseRecord record;
  record.owner = OwnerWindow();
  std::optional<ShellAllocator> rootAllocator;
  if (const auto root = ShellFolderOf(folder_)) {
    rootAllocator.emplace(os);
    record.root = platform::LocateSpecialFolder(os, *rootAllocator, {}, *root);
  }
  record.title = Title;
  record.callback = [this](WindowHandle browser, platform::BrowserEvent event) { OnBrowserEvent(browser, event); };
  record.image = 0;

  ShellAllocator chosenAllocator(os);
  ItemIdList chosen;
  {
    // The browser's window is known only while the browser is open.
    struct Closed {
      WindowHandle& window;
      ~Closed() { window = {}; }
    } closed{FBrowseWindow};
    chosen = os.ShBrowseForFolder(record);
  }

  // After Cancel there is no list to ask for a path.
  if (chosen && os.ShGetPathFromIdList(chosen, record.displayName)) {
    path = record.displayName.substr(0, record.displayName.find('\0'));
    result = !path.empty();
  }
  chosenAllocator.Free(chosen);
  if (rootAllocator) rootAllocator->Free(record.root);
  // As the shell gives it: a drive root keeps its backslash.
  if (!path.empty()) directory_ = path;
  return result;
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
    return ConfirmDirectory(os, dialog, chosen, options);
  };
  const bool confirmed = os.DirectoryDialog(record);
  // The working path starts at the root and becomes the confirmed folder; it
  // is stored even after Cancel, so a set root is then the directory.
  const std::string working = confirmed ? record.directory : OSRoot;
  if (!working.empty()) directory_ = working;
  return confirmed;
}

}  // namespace seldir
