// The shell's folders on the real platform: special folders' paths, the
// folder browser and the old-style directory dialog. The shell hands out
// every folder as an item id list in memory of its allocator (IMalloc),
// which frees it here; nothing of that leaves this file.
#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <memory>
#include <optional>

#include "platform/win32/barrier.h"
#include "platform/win32/directory_dialog.h"
#include "platform/win32/modal_section.h"
#include "platform/win32/system_codes.h"
#include "platform/win32/system_library.h"

namespace platform {

namespace {

// A reference to the shell's allocator, released when it goes out of scope.
// Without one, lists are not freed and the lookups go on.
class ShellAllocator {
 public:
  ShellAllocator() {
    static const auto getMalloc = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetMalloc);
    if (getMalloc == nullptr || getMalloc(&malloc_) != S_OK) malloc_ = nullptr;
  }
  ~ShellAllocator() {
    if (malloc_ != nullptr) malloc_->Release();
  }
  ShellAllocator(const ShellAllocator&) = delete;
  ShellAllocator& operator=(const ShellAllocator&) = delete;

  bool Available() const { return malloc_ != nullptr; }
  void Free(LPITEMIDLIST list) {
    if (malloc_ != nullptr && list != nullptr) malloc_->Free(list);
  }

 private:
  IMalloc* malloc_ = nullptr;
};

// The item id list of a special folder, to be freed with `allocator`;
// nullptr when the shell cannot locate the folder.
LPITEMIDLIST LocateSpecialFolder(ShellAllocator& allocator, HWND owner, SpecialFolder folder) {
  LPITEMIDLIST list = nullptr;
  HRESULT result = E_FAIL;
  if (const KNOWNFOLDERID* known = win32::KnownFolderId(folder)) {
    // Folders without a CSIDL, where the system knows them (Vista and later).
    static const auto knownFolderList = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetKnownFolderIDList);
    if (knownFolderList != nullptr) result = knownFolderList(*known, 0, nullptr, &list);
  } else {
    static const auto folderLocation = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetSpecialFolderLocation);
    if (folderLocation != nullptr) result = folderLocation(owner, win32::ShellFolderId(folder), &list);
  }
  if (result == S_OK) return list;
  allocator.Free(list);  // a failed call should give none; nothing is left behind if it did
  return nullptr;
}

// The file-system path of an item; empty when it has none.
std::string PathOf(LPCITEMIDLIST list) {
  const auto buffer = std::make_unique<char[]>(MAX_PATH);
  buffer[0] = '\0';
  static const auto pathFromList = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetPathFromIDListA);
  if (pathFromList == nullptr || pathFromList(list, buffer.get()) == FALSE) return {};
  return buffer.get();
}

// comctl32 knows a subclass by its procedure and this number.
constexpr UINT_PTR kBrowserSubclass = 1;

// Wine's browser often misses a newly made folder on the first request to
// select it and finds it on the second: every path selection, ours and that
// of automation, reaches the browser twice. Elsewhere the second changes nothing.
LRESULT BrowserMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == BFFM_SETSELECTIONA || message == BFFM_SETSELECTIONW) && wParam != 0) {
    DefSubclassProc(window, message, wParam, lParam);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK BrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR /*data*/) noexcept {
  const LRESULT result = win32::Guarded<LRESULT>(0, [&] { return BrowserMessage(window, message, wParam, lParam); });
  // The window's last message: the subclass goes with it.
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, BrowserProc, id);
  return result;
}

void BrowseNotification(HWND window, UINT message, LPARAM context) {
  // A second subclassing of the same window changes nothing. Without the
  // subclass the browser works all the same, only without the second try.
  if (message == BFFM_INITIALIZED) SetWindowSubclass(window, BrowserProc, kBrowserSubclass, 0);
  const auto& callback = *reinterpret_cast<const BrowseCallback*>(context);
  if (callback) callback(win32::FromWindow(window), win32::BrowserEventOf(message));
}

// Whatever the core's callback does, the browser goes on (0 is what every
// notification expects); an error goes to the application's error box.
int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM /*parameter*/, LPARAM context) noexcept {
  return win32::Guarded(0, [&] {
    BrowseNotification(window, message, context);
    return 0;
  });
}

}  // namespace

FolderPath Win32Platform::SpecialFolderPath(WindowHandle owner, SpecialFolder folder) {
  ShellAllocator allocator;
  FolderPath found;
  found.allocatorUnavailable = !allocator.Available();
  if (const LPITEMIDLIST list = LocateSpecialFolder(allocator, win32::AsWindow(owner), folder)) {
    found.path = PathOf(list);
    allocator.Free(list);
  }
  return found;
}

std::optional<std::string> Win32Platform::BrowseForFolder(BrowseRequest& request) {
  std::optional<ShellAllocator> rootAllocator;
  LPITEMIDLIST root = nullptr;
  if (request.root) {
    rootAllocator.emplace();
    root = LocateSpecialFolder(*rootAllocator, nullptr, *request.root);
  }
  ShellAllocator chosenAllocator;
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = win32::AsWindow(request.owner);
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = request.title.c_str();
  info.ulFlags = 0;  // the classic browser: no edit field, no new-folder button
  info.lpfn = BrowseCallbackProc;
  info.lParam = reinterpret_cast<LPARAM>(&request.callback);
  info.iImage = 0;
  static const auto browse = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHBrowseForFolderA);
  LPITEMIDLIST chosen = nullptr;
  if (browse != nullptr) {
    // The browser's dialog disables and enables its owner itself.
    const win32::ModalSection modal(info.hwndOwner);
    chosen = browse(&info);
  }
  // After Cancel there is no list to ask for a path.
  std::optional<std::string> path;
  if (chosen != nullptr) {
    std::string chosenPath = PathOf(chosen);
    if (!chosenPath.empty()) path = std::move(chosenPath);
  }
  chosenAllocator.Free(chosen);
  if (rootAllocator) rootAllocator->Free(root);
  return path;
}

void Win32Platform::SelectInBrowser(WindowHandle browser, const std::string& path) {
  // wParam non-zero: lParam is a path, not an item id list.
  SendMessageA(win32::AsWindow(browser), BFFM_SETSELECTIONA, ~WPARAM{0}, reinterpret_cast<LPARAM>(path.c_str()));
}

bool Win32Platform::DirectoryDialog(DirectoryDialogRecord& record) { return win32::ShowDirectoryDialog(record); }

}  // namespace platform
