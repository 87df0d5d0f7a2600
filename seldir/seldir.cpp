#include "seldir/seldir.h"

#include <optional>
#include <stdexcept>

#include "seldir/directory_confirmation.h"

namespace seldir {

namespace {

using platform::ItemIdList;
using platform::WindowHandle;

// A shell allocator reference, released when the operation that obtained it
// ends; without one the item id lists it would free are left alone.
class ShellAllocator {
 public:
  explicit ShellAllocator(platform::Platform& os) : os_(os) {
    if (os_.ShGetMalloc(allocator_) < 0) allocator_ = {};
  }
  ~ShellAllocator() {
    if (allocator_) os_.AllocatorRelease(allocator_);
  }
  ShellAllocator(const ShellAllocator&) = delete;
  ShellAllocator& operator=(const ShellAllocator&) = delete;

  void Free(ItemIdList itemList) {
    if (allocator_ && itemList) os_.AllocatorFree(allocator_, itemList);
  }

 private:
  platform::Platform& os_;
  platform::AllocatorHandle allocator_;
};

// The item id list of a special folder, or none.
ItemIdList FolderLocation(platform::Platform& os, int csidl) {
  ItemIdList itemList;
  if (os.ShGetSpecialFolderLocation(WindowHandle{}, csidl, itemList) < 0) return {};
  return itemList;
}

}  // namespace

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
    // wParam non-zero: lParam is a path.
    Os().SendTextMessage(FBrowseWindow, kBffmSetSelectionA, ~std::uintptr_t{0}, directory_);
  }
}

void TSelDir::SetFolder(TShellFolder value) {
  std::string path;
  const int id = ShellFolderId(value);
  if (id > 0) {
    platform::Platform& os = Os();
    ShellAllocator allocator(os);
    if (const ItemIdList itemList = FolderLocation(os, id)) {
      std::string found;
      if (os.ShGetPathFromIdList(itemList, found)) path = found.substr(0, found.find('\0'));
      allocator.Free(itemList);
    }
  }
  directory_ = path;
  folder_ = value;
}

bool TSelDir::Execute() { return OldStyle ? ExecuteOldStyle() : ExecuteBrowser(); }

WindowHandle TSelDir::OwnerWindow() {
  const auto* form = dynamic_cast<const ui::TForm*>(Owner());
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
  if (folder_ != TShellFolder::SdNone) {
    rootAllocator.emplace(os);
    record.root = FolderLocation(os, ShellFolderId(folder_));
  }
  record.title = Title;
  record.flags = 0;
  record.callback = BrowseCallback;
  record.data = reinterpret_cast<std::intptr_t>(this);
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

int TSelDir::BrowseCallback(WindowHandle window, unsigned message, std::intptr_t /*parameter*/, std::intptr_t data) {
  if (message == kBffmInitialized) {
    try {
      auto* self = reinterpret_cast<TSelDir*>(data);
      self->FBrowseWindow = window;
      self->SetDirectory(self->directory_);  // selects it in the browser
    } catch (...) {
      // Nothing may reach the shell; the browser opens without a selection.
    }
  }
  return 0;
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
