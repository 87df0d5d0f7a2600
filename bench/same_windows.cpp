// The start-up benchmark's second reference: the windows the manager shows at
// start, made with plain Win32 calls and nothing else. It has what the main
// window is (common controls of version 6 by its manifest, COM started, the
// application window for the task bar, the main window of the same caption
// and size with a panel, two bold labels, a drop-down list of five entries,
// an edit field, ten buttons and an icon, in the fonts of the manager) and
// none of what the manager does besides (no list file, no owner drawing, no
// glyphs, hints or pointers). The manager's time against this one's is the
// cost of the program beyond its windows.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

struct Child {
  const char* windowClass;
  const char* text;
  DWORD style;
  int left, top, width, height;
  bool bold;
};

constexpr Child kChildren[] = {
    {"Static", "Which program would you like to download and install or update ? Please select program ...", 0, 18,
     16, 267, 30, true},
    {"Static", "", SS_ICON, 343, 15, 32, 32, false},
    {"ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 18, 58, 271, 400, false},
    {"Button", "Website", 0, 304, 58, 114, 23, false},
    {"Button", "Viruscheck", 0, 304, 86, 114, 23, false},
    {"Static", "Where should the program be installed or updated ? Please confirm or select directory ...", 0, 18,
     99, 256, 30, true},
    {"Button", "Explorer", 0, 304, 114, 114, 23, false},
    {"Edit", "C:\\Program Files\\Vandrel", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 18, 142, 271, 23, false},
    {"Button", "Select directory", 0, 304, 142, 114, 23, false},
    {"Button", "Download and install selected program", 0, 18, 192, 401, 25, true},
    {"Button", "Execute selected program", WS_DISABLED, 18, 224, 401, 25, true},
    {"Button", "Update && reset selected program", WS_DISABLED, 18, 256, 401, 25, true},
    {"Button", "Remove selected program", WS_DISABLED, 18, 287, 401, 25, true},
    {"Button", "Remove this manager itself from the system", 0, 18, 319, 401, 25, true},
    {"Button", "EXIT", 0, 167, 364, 105, 25, true},
};

constexpr const char* kEntries[] = {"First program", "Second program", "Third program", "Fourth program",
                                    "Fifth program"};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "SameWindows";
  RegisterClassA(&wc);
  HWND application = CreateWindowA(wc.lpszClassName, "Vandrel download manager",
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, GetSystemMetrics(SM_CXSCREEN) / 2,
                                   GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, nullptr);
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER | WS_CLIPCHILDREN;
  RECT frame{0, 0, 443, 411};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTEXTHELP);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  HWND window = CreateWindowExA(WS_EX_CONTEXTHELP, wc.lpszClassName, "Download, install, execute or remove software ...",
                                style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, application, nullptr,
                                instance, nullptr);
  HWND panel = CreateWindowExA(WS_EX_CLIENTEDGE, "Static", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 443, 411,
                               window, nullptr, instance, nullptr);
  HFONT regular = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Segoe UI");
  HFONT bold = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Segoe UI");
  for (const Child& child : kChildren) {
    HWND control = CreateWindowA(child.windowClass, child.text, WS_CHILD | WS_VISIBLE | child.style, child.left,
                                 child.top, child.width, child.height, panel, nullptr, instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(child.bold ? bold : regular), FALSE);
    if ((child.style & SS_ICON) != 0 && lstrcmpA(child.windowClass, "Static") == 0) {
      SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    if (lstrcmpA(child.windowClass, "ComboBox") == 0) {
      for (const char* entry : kEntries) SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
      SendMessageA(control, CB_SETCURSEL, 0, 0);
    }
  }
  ShowWindow(application, SW_SHOWNOACTIVATE);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  CoUninitialize();
  return 0;
}
