#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <cstring>
#include <memory>
#include <vector>

#include "platform/win32/barrier.h"
#include "platform/win32/directory_dialog.h"
#include "platform/win32/part_file.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/modal_section.h"
#include "platform/win32/scoped.h"
#include "platform/win32/system_codes.h"
#include "platform/win32/system_library.h"
#include "platform/win32/download.h"

namespace platform {

namespace {

HWND AsWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }
WindowHandle FromWindow(HWND window) { return WindowHandle{reinterpret_cast<std::uintptr_t>(window)}; }
HANDLE AsKernelHandle(ProcessHandle handle) { return reinterpret_cast<HANDLE>(handle.value); }

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

}  // namespace

std::string Win32Platform::ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  while (true) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32Platform::CommandLine() { return GetCommandLineA(); }

std::string Win32Platform::CurrentDirectory() {
  char buffer[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(buffer, length);
}

bool Win32Platform::FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::DirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> Win32Platform::ReadFile(const std::string& path) {
  win32::OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
    if (read == 0) return content;
    content.append(chunk, read);
  }
  return std::nullopt;
}

// The new bytes go into a file beside the old one, which then takes its
// place: a write that fails halfway (a full disk, a stick pulled out) leaves
// the old file whole.
bool Win32Platform::WriteFile(const std::string& path, const std::string& bytes) {
  const std::size_t separator = path.find_last_of("\\/:");
  const std::string folder = separator == std::string::npos ? "." : path.substr(0, separator + 1);
  char fresh[MAX_PATH];
  if (GetTempFileNameA(folder.c_str(), "vnw", 0, fresh) == 0) return false;
  bool written = false;
  {
    win32::OwnedHandle file(CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD count = 0;
    written = file &&
              (bytes.empty() || (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                                 count == bytes.size())) &&
              FlushFileBuffers(file.get());
  }
  if (written && MoveFileExA(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(fresh);
  return false;
}

bool Win32Platform::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Platform::MakeDirectory(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Platform::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool Win32Platform::WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                                       const std::string& file) {
  // A relative name would be looked for in the Windows directory: write the
  // file that the existence test saw, relative to the current directory.
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(file.c_str(), MAX_PATH, full, nullptr);
  const std::string target = length > 0 && length < MAX_PATH ? std::string(full, length) : file;
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), target.c_str()) != FALSE;
}

WindowHandle Win32Platform::ApplicationWindow() { return FromWindow(win32::ApplicationWindow()); }

std::unique_ptr<ModalSection> Win32Platform::BeginModal() { return std::make_unique<win32::ModalSection>(); }

BoxAnswer Win32Platform::SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                          BoxStyle style) {
  return win32::MessageBoxAnswer(win32::ShowModalBox(AsWindow(owner), text, caption, win32::MessageBoxStyle(style)));
}

BoxAnswer Win32Platform::ApplicationMessageBox(const std::string& text, const std::string& caption, BoxStyle style) {
  return win32::MessageBoxAnswer(win32::ShowModalBox(nullptr, text, caption, win32::MessageBoxStyle(style)));
}

void Win32Platform::ShowMessageDialog(const std::string& text, const std::string& caption) {
  ApplicationMessageBox(text, caption, BoxStyle{});
}

void Win32Platform::ProcessMessages() { win32::ProcessMessages(); }

std::uint32_t Win32Platform::TickCount() { return GetTickCount(); }

void Win32Platform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32Platform::ShellExecuteExtended(LaunchRequest& request) {
  SHELLEXECUTEINFOA info{};
#ifndef _WIN64
  static_assert(sizeof info == 60, "the 32-bit launch record is 60 bytes");
#endif
  info.cbSize = sizeof info;  // larger in the 64-bit edition
  info.fMask = (request.returnProcess ? SEE_MASK_NOCLOSEPROCESS : 0) | (request.silent ? SEE_MASK_FLAG_NO_UI : 0);
  info.hwnd = AsWindow(request.owner);
  info.lpVerb = nullptr;  // the file's default action
  info.lpFile = request.file.c_str();
  info.lpParameters = request.parameters.c_str();
  info.lpDirectory = nullptr;  // the started program inherits our current directory
  info.nShow = win32::ShowWindowCommand(request.show);
  info.hInstApp = nullptr;
  static const auto shellExecuteEx = VANDREL_SYSTEM_FUNCTION(kShellLibrary, ShellExecuteExA);
  const bool started = shellExecuteEx != nullptr && shellExecuteEx(&info) != FALSE;
  request.process = ProcessHandle{reinterpret_cast<std::uintptr_t>(info.hProcess)};
  return started;
}

bool Win32Platform::ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                              const std::string& parameters, const std::string& directory, ShowCommand show) {
  static const auto shellExecute = VANDREL_SYSTEM_FUNCTION(kShellLibrary, ShellExecuteA);
  if (shellExecute == nullptr) return false;
  const auto none = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
  const HINSTANCE result = shellExecute(AsWindow(owner), none(operation), target.c_str(), none(parameters),
                                        none(directory), win32::ShowWindowCommand(show));
  return reinterpret_cast<std::uintptr_t>(result) > 32;  // up to 32: an error code
}

WaitResult Win32Platform::WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) {
  return win32::WaitResultOf(::WaitForSingleObject(AsKernelHandle(process), milliseconds));
}

void Win32Platform::CloseHandle(ProcessHandle process) { ::CloseHandle(AsKernelHandle(process)); }

int Win32Platform::ShellDeleteTree(const std::string& directory) {
  // A list of one path: the path and two NUL characters.
  std::string from = directory;
  from.push_back('\0');
  from.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  static const auto fileOperation = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHFileOperationA);
  if (fileOperation == nullptr) return ERROR_MOD_NOT_FOUND;
  const int result = fileOperation(&operation);
  // An operation the user aborted in one of the shell's boxes is no success.
  if (result == 0 && operation.fAnyOperationsAborted) return ERROR_CANCELLED;
  return result;
}

std::optional<std::string> Win32Platform::ToConsoleText(const std::string& text) {
  if (text.empty()) return text;
  const int size = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (wideLength == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideLength);
  // No best fit: a character the console lacks must not become a look-alike, which names another file.
  BOOL lost = FALSE;
  const int length = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &lost);
  if (length == 0 || lost) return std::nullopt;
  std::string converted(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, converted.data(), length, nullptr, &lost);
  if (lost) return std::nullopt;
  return converted;
}

namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer
// reading what changed): try again in small steps for about half a second,
// serving nothing meanwhile.
constexpr DWORD kClipboardPatienceMs = 500;
constexpr DWORD kClipboardStepMs = 20;

bool OpenClipboardPatiently(HWND owner) {
  const DWORD start = GetTickCount();
  while (!OpenClipboard(owner)) {
    if (GetTickCount() - start >= kClipboardPatienceMs) return false;
    ::Sleep(kClipboardStepMs);
  }
  return true;
}

}  // namespace

bool Win32Platform::SetClipboardText(const std::string& text) {
  // The clipboard takes a movable global block with the text and its NUL.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return false;
  if (void* bytes = GlobalLock(block)) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
  }
  if (!OpenClipboardPatiently(win32::ApplicationWindow())) {
    GlobalFree(block);
    return false;
  }
  bool placed = false;
  {
    const win32::OpenedClipboard opened;
    EmptyClipboard();
    placed = SetClipboardData(CF_TEXT, block) != nullptr;
  }
  if (!placed) GlobalFree(block);  // the clipboard owns it only once placed
  return placed;
}

DownloadResult Win32Platform::Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                       HeldFile& held) {
  win32::OwnedHandle file;
  const DownloadResult result = win32::Download(url, path, observer, file);
  held = HeldFile(HeldFileHandle{reinterpret_cast<std::uintptr_t>(file.release())}, *this);
  return result;
}

DownloadResult Win32Platform::Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                                   HeldFile& held) {
  win32::OwnedHandle file;
  const DownloadResult result = win32::Copy(from, path, observer, file);
  held = HeldFile(HeldFileHandle{reinterpret_cast<std::uintptr_t>(file.release())}, *this);
  return result;
}

void Win32Platform::ReleaseFile(HeldFileHandle held) noexcept { ::CloseHandle(reinterpret_cast<HANDLE>(held.value)); }

void Win32Platform::RemoveLeftPartFiles(const std::string& folder) { win32::RemoveLeftPartFiles(folder); }

namespace {

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
  if (callback) callback(FromWindow(window), win32::BrowserEventOf(message));
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

ItemIdList Win32Platform::ShBrowseForFolder(BrowseRecord& record) {
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = AsWindow(record.owner);
  info.pidlRoot = reinterpret_cast<LPCITEMIDLIST>(record.root.value);
  info.pszDisplayName = displayName;
  info.lpszTitle = record.title.c_str();
  info.ulFlags = 0;  // the classic browser: no edit field, no new-folder button
  info.lpfn = BrowseCallbackProc;
  info.lParam = reinterpret_cast<LPARAM>(&record.callback);
  info.iImage = record.image;
  static const auto browse = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHBrowseForFolderA);
  LPITEMIDLIST chosen = nullptr;
  if (browse != nullptr) {
    // The browser's dialog disables and enables its owner itself.
    const win32::ModalSection modal(info.hwndOwner);
    chosen = browse(&info);
  }
  record.displayName = displayName;
  record.image = info.iImage;
  return ItemIdList{reinterpret_cast<std::uintptr_t>(chosen)};
}

void Win32Platform::SelectInBrowser(WindowHandle browser, const std::string& path) {
  // wParam non-zero: lParam is a path, not an item id list.
  SendMessageA(AsWindow(browser), BFFM_SETSELECTIONA, ~WPARAM{0}, reinterpret_cast<LPARAM>(path.c_str()));
}

bool Win32Platform::DirectoryDialog(DirectoryDialogRecord& record) { return win32::ShowDirectoryDialog(record); }

}  // namespace platform
