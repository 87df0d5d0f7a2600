#include "platform/win32/directory_dialog.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/barrier.h"
#include "platform/win32/modal_section.h"
#include "platform/win32/scoped.h"

namespace platform::win32 {

namespace {

// Predefined window classes of dialog templates.
constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kListBox = 0x0083;
constexpr WORD kComboBox = 0x0085;

// A dialog template in memory: the dialog, then its controls, in dialog units.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const char* caption, const char* font, WORD points) {
    Align();
    Dword(style);
    Dword(0);  // extended style
    count_ = words_.size();
    Word(0);  // number of controls, counted as they are added
    Word(0);  // x
    Word(0);  // y
    Word(static_cast<WORD>(width));
    Word(static_cast<WORD>(height));
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Text(caption);
    Word(points);
    Text(font);
  }

  void Add(WORD windowClass, DWORD style, short x, short y, short width, short height, int id, const char* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(width));
    Word(static_cast<WORD>(height));
    Word(static_cast<WORD>(id));
    Word(0xFFFF);
    Word(windowClass);
    Text(text);
    Word(0);  // no creation data
    ++words_[count_];
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  // ASCII texts: each character is its own UTF-16 code unit.
  void Text(const char* text) {
    for (; *text != '\0'; ++text) Word(static_cast<unsigned char>(*text));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2 != 0) Word(0);  // items start on a DWORD boundary
  }

  std::vector<WORD> words_;
  std::size_t count_ = 0;
};

std::string ItemText(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(control, text.data(), length + 1), 0)));
  return text;
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }

// The full path, without a trailing backslash except at a drive root; empty
// when the text names no path.
std::string FullPath(const std::string& text) {
  char buffer[MAX_PATH];
  const DWORD length = GetFullPathNameA(text.c_str(), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string path(buffer, length);
  while (path.size() > 1 && path.back() == '\\' && !IsRoot(path) && path != "\\\\") path.pop_back();
  return path;
}

std::string Join(const std::string& directory, const std::string& name) {
  return directory.back() == '\\' ? directory + name : directory + "\\" + name;
}

// The directory that `path` names or, when it does not exist, its nearest
// existing parent; empty when there is none.
std::string ExistingDirectory(std::string path) {
  while (!path.empty() && !IsDirectory(path)) {
    const auto separator = path.find_last_of('\\');
    if (separator == std::string::npos) return {};
    std::string parent = path.substr(0, separator);
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';
    if (parent == path) return {};
    path = parent;
  }
  return path;
}

class DirectoryDialog {
 public:
  explicit DirectoryDialog(platform::DirectoryDialogRecord& record) : record_(record) {}

  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return Guarded<INT_PTR>(FALSE, [&] { return HandleMessage(window, message, wParam, lParam); });
  }

 private:
  static INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      reinterpret_cast<DirectoryDialog*>(lParam)->Open(window);
      return TRUE;
    }
    auto* self = reinterpret_cast<DirectoryDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr || message != WM_COMMAND) return FALSE;
    return self->Command(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  }

  void Open(HWND window) {
    window_ = window;
    const std::string start = FullPath(record_.directory.empty() ? "." : record_.directory);
    SetDlgItemTextA(window_, kDirectoryFieldId, start.c_str());
    std::string shown = ExistingDirectory(start);
    if (shown.empty()) shown = FullPath(".");
    FillDrives();
    Show(shown, false);
  }

  void FillDrives() {
    HWND drives = GetDlgItem(window_, kDriveListId);
    char buffer[4 * 26 + 2] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof buffer, buffer);
    if (length == 0 || length > sizeof buffer) return;
    for (const char* drive = buffer; *drive != '\0'; drive += lstrlenA(drive) + 1) {
      SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive));
    }
  }

  // Lists the subdirectories of `directory`; the field follows when asked.
  void Show(const std::string& directory, bool setField) {
    shown_ = directory;
    if (setField) SetDlgItemTextA(window_, kDirectoryFieldId, shown_.c_str());
    std::vector<std::string> names;
    for (const FoundEntry& entry : FindEntries(Join(shown_, "*"))) {
      if (entry.folder) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    if (!IsRoot(shown_)) names.insert(names.begin(), "..");
    HWND list = GetDlgItem(window_, kDirectoryListId);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const auto& name : names) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(GetDlgItem(window_, kDriveListId), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(shown_.substr(0, 3).c_str()));
  }

  std::string SelectedName() const {
    HWND list = GetDlgItem(window_, kDirectoryListId);
    const auto index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return {};
    const auto length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    std::string name(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<std::size_t>(length));
    return name;
  }

  bool Command(int id, int code) {
    switch (id) {
      case kDirectoryListId:
        if (code == LBN_DBLCLK) {
          const std::string name = SelectedName();
          if (!name.empty()) Show(FullPath(Join(shown_, name)), true);
        } else if (code == LBN_SELCHANGE) {
          const std::string name = SelectedName();
          if (!name.empty() && name != "..") SetDlgItemTextA(window_, kDirectoryFieldId, Join(shown_, name).c_str());
        }
        return true;
      case kDriveListId:
        if (code == CBN_SELCHANGE) {
          const std::string drive = ItemText(window_, kDriveListId);
          if (!drive.empty()) Show(drive, true);
        }
        return true;
      case IDOK:
        Confirm();
        return true;
      case IDCANCEL:
        EndDialog(window_, IDCANCEL);
        return true;
      case kDirectoryHelpId: {
        const std::string text = "No help is installed for help context " + std::to_string(record_.helpContext) + ".";
        ShowModalBox(window_, text, platform::kDirectoryDialogCaption, MB_OK | MB_ICONINFORMATION);
        return true;
      }
      default:
        return false;
    }
  }

  void Confirm() {
    std::string text = ItemText(window_, kDirectoryFieldId);
    // A relative name is taken inside the directory shown.
    const bool absolute = (text.size() >= 2 && text[1] == ':') || text.rfind("\\\\", 0) == 0;
    const std::string path = FullPath(text.empty() ? shown_ : absolute ? text : Join(shown_, text));
    if (path.empty()) return;
    if (record_.confirm && !record_.confirm(platform::WindowHandle{reinterpret_cast<std::uintptr_t>(window_)}, path)) {
      SetFocus(GetDlgItem(window_, kDirectoryFieldId));
      return;
    }
    record_.directory = path;
    EndDialog(window_, IDOK);
  }

  platform::DirectoryDialogRecord& record_;
  HWND window_ = nullptr;
  std::string shown_;
};

}  // namespace

bool ShowDirectoryDialog(platform::DirectoryDialogRecord& record) {
  DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 162,
                        platform::kDirectoryDialogCaption, "MS Shell Dlg", 8);
  dialog.Add(kStatic, SS_LEFT, 7, 7, 206, 8, -1, "Directory &name:");
  dialog.Add(kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 17, 206, 12, kDirectoryFieldId, "");
  dialog.Add(kStatic, SS_LEFT, 7, 34, 140, 8, -1, "&Directories:");
  dialog.Add(kListBox, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 44, 140, 110,
             kDirectoryListId, "");
  dialog.Add(kStatic, SS_LEFT, 154, 34, 59, 8, -1, "Dri&ves:");
  dialog.Add(kComboBox, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 154, 44, 59, 100, kDriveListId, "");
  dialog.Add(kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 163, 104, 50, 14, IDOK, "OK");
  dialog.Add(kButton, BS_PUSHBUTTON | WS_TABSTOP, 163, 122, 50, 14, IDCANCEL, "Cancel");
  if (record.helpContext != 0) {
    dialog.Add(kButton, BS_PUSHBUTTON | WS_TABSTOP, 163, 140, 50, 14, kDirectoryHelpId, "&Help");
  }
  DirectoryDialog state(record);
  HWND owner = reinterpret_cast<HWND>(record.owner.value);
  const ModalSection modal(owner);  // the dialog manager disables and enables the owner itself
  const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), owner, DirectoryDialog::Proc,
                                                 reinterpret_cast<LPARAM>(&state));
  return result == IDOK;
}

}  // namespace platform::win32
