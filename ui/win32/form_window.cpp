#include "ui/win32/form_window.h"

#include <algorithm>
#include <string>

namespace ui::win32 {

namespace {

constexpr const char* kPanelClass = "TPanel";
constexpr int kFirstControlId = 100;

HWND gApplicationWindow = nullptr;
std::vector<FormWindow*> gForms;  // in creation order; the first is the main window

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace

// One real window behind one control: mirrors the control's state into the
// window and turns the window's notifications into the control's events.
struct ControlWindow final : ControlPeer {
  ControlWindow(FormWindow& form, TControl& bound) : owner(form), control(bound) {}

  void TextChanged(const std::string& text) override {
    settingText = true;  // the edit's own change notification is not a user change
    SetWindowTextA(window, text.c_str());
    settingText = false;
  }
  void EnabledChanged(bool enabled) override { EnableWindow(window, enabled ? TRUE : FALSE); }
  void ItemIndexChanged(int index) override { SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  void Focus() override { SetFocus(window); }

  void Notified(WORD code);
  LRESULT ButtonMouse(UINT message, LPARAM lParam);

  FormWindow& owner;
  TControl& control;
  HWND window = nullptr;
  WNDPROC original = DefWindowProcA;
  bool settingText = false;
  bool tracking = false;  // a speed button held down with the mouse
};

namespace {

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      // Notifications of our own controls to their panel; everything else
      // (a combo box's list talking to the combo box) goes on as usual.
      if (ControlWindow* child = self->owner.FindByHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notified(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = CallWindowProcA(self->original, window, message, wParam, lParam);
      if (auto* windowed = dynamic_cast<TWinControl*>(&self->control)) self->owner.Form().FocusMovedTo(windowed);
      return result;
    }
    case WM_CHAR:
      if (auto* edit = dynamic_cast<TEdit*>(&self->control)) {
        const char key = edit->KeyPress(static_cast<char>(wParam));
        if (key == '\0') return 0;
        wParam = static_cast<unsigned char>(key);
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dynamic_cast<TSpeedButton*>(&self->control) != nullptr) return self->ButtonMouse(message, lParam);
      break;
    default:
      break;
  }
  return CallWindowProcA(self->original, window, message, wParam, lParam);
}

void RegisterClasses(const std::string& formClass, WNDPROC formProc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!GetClassInfoExA(wc.hInstance, kPanelClass, &wc)) {
    wc.lpfnWndProc = ControlProc;  // the panel routes its children's notifications
    wc.lpszClassName = kPanelClass;
    RegisterClassExA(&wc);
  }
  WNDCLASSEXA fc{};
  fc.cbSize = sizeof fc;
  fc.hInstance = GetModuleHandleA(nullptr);
  if (!GetClassInfoExA(fc.hInstance, formClass.c_str(), &fc)) {
    fc.lpfnWndProc = formProc;
    fc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    fc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    fc.hIcon = LoadIconA(fc.hInstance, MAKEINTRESOURCEA(1));
    if (fc.hIcon == nullptr) fc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    fc.lpszClassName = formClass.c_str();
    RegisterClassExA(&fc);
  }
}

// The closed field of a drop-down list is as high as its font makes it; the
// field's item height is adjusted until the whole control has the layout's
// height. The value read back is not always the value set (Wine adds 2), so
// each step corrects the value set last by what the height still lacks.
void FitClosedHeight(HWND combo, int height) {
  auto field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 4 && field > 0; ++attempt) {
    RECT closed;
    GetWindowRect(combo, &closed);
    const int difference = height - static_cast<int>(closed.bottom - closed.top);
    if (difference == 0 || field + difference <= 0) return;
    field += difference;
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
}

HFONT CreateUiFont(bool bold) {
  return CreateFontA(-12, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Segoe UI");
}

}  // namespace

void ControlWindow::Notified(WORD code) {
  if (auto* combo = dynamic_cast<TComboBox*>(&control)) {
    if (code == CBN_SELCHANGE) combo->UserSelected(static_cast<int>(SendMessageA(window, CB_GETCURSEL, 0, 0)));
  } else if (dynamic_cast<TEdit*>(&control) != nullptr) {
    if (code == EN_CHANGE && !settingText) control.UserChangedText(WindowText(window));
  } else if (auto* button = dynamic_cast<TSpeedButton*>(&control)) {
    if (code == BN_CLICKED) button->Click();
  } else if (auto* image = dynamic_cast<TImage*>(&control)) {
    if (code == STN_CLICKED && image->OnClick) image->OnClick(image);
  }
}

// Speed buttons take no focus: the mouse is tracked here instead of by the
// button itself, which would move the focus to it. A release over the button
// reports BN_CLICKED to the parent like any button (BM_CLICK comes this way too).
LRESULT ControlWindow::ButtonMouse(UINT message, LPARAM lParam) {
  RECT client;
  GetClientRect(window, &client);
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const bool inside = PtInRect(&client, point) != FALSE;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      tracking = true;
      SetCapture(window);
      SendMessageA(window, BM_SETSTATE, TRUE, 0);
      break;
    case WM_MOUSEMOVE:
      if (tracking) SendMessageA(window, BM_SETSTATE, inside ? TRUE : FALSE, 0);
      break;
    case WM_LBUTTONUP:
      if (tracking) {
        tracking = false;
        if (GetCapture() == window) ReleaseCapture();
        SendMessageA(window, BM_SETSTATE, FALSE, 0);
        if (inside && IsWindowEnabled(window)) {
          SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                       reinterpret_cast<LPARAM>(window));
        }
      }
      break;
    case WM_CAPTURECHANGED:
      if (tracking) {
        tracking = false;
        SendMessageA(window, BM_SETSTATE, FALSE, 0);
      }
      break;
    default:
      break;
  }
  return 0;
}

FormWindow::FormWindow(TForm& form) : form_(form) {
  const std::string className = "T" + form.Name;
  RegisterClasses(className, FormProc);
  regularFont_ = CreateUiFont(false);
  boldFont_ = CreateUiFont(true);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_CONTEXTHELP;
  RECT frame{0, 0, form.ClientWidth, form.ClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  window_ = CreateWindowExA(exStyle, className.c_str(), form.Text().c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  form_.SetWindowHandle(reinterpret_cast<std::uintptr_t>(window_));
  gForms.push_back(this);
  CreateControls();
  form_.SetCloser([this] { SendMessageA(window_, WM_CLOSE, 0, 0); });
}

FormWindow::~FormWindow() {
  for (auto& control : controls_) control->control.SetPeer(nullptr);
  form_.SetCloser(nullptr);
  form_.SetWindowHandle(0);
  gForms.erase(std::remove(gForms.begin(), gForms.end(), this), gForms.end());
  if (IsWindow(window_)) DestroyWindow(window_);
  DeleteObject(regularFont_);
  DeleteObject(boldFont_);
}

void FormWindow::CreateControls() {
  int id = kFirstControlId;
  for (TComponent* component : form_.Components()) {
    auto* control = dynamic_cast<TControl*>(component);
    if (control == nullptr) continue;  // non-visual components have no window
    HWND parent = window_;
    if (control->Parent() != &form_) {
      ControlWindow* parentWindow = nullptr;
      for (auto& candidate : controls_) {
        if (&candidate->control == control->Parent()) parentWindow = candidate.get();
      }
      if (parentWindow == nullptr) continue;  // parents come before their children
      parent = parentWindow->window;
    }

    const char* windowClass = "Static";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    int height = control->Height;
    if (dynamic_cast<TPanel*>(control) != nullptr) {
      windowClass = kPanelClass;
      style |= WS_CLIPCHILDREN;
      exStyle = WS_EX_CLIENTEDGE;
    } else if (dynamic_cast<TComboBox*>(control) != nullptr) {
      windowClass = "ComboBox";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      height = 400;  // the height of the open list; the closed field follows the item height
    } else if (dynamic_cast<TEdit*>(control) != nullptr) {
      windowClass = "Edit";
      style |= ES_AUTOHSCROLL | WS_TABSTOP;
      exStyle = WS_EX_CLIENTEDGE;
    } else if (dynamic_cast<TSpeedButton*>(control) != nullptr) {
      windowClass = "Button";
      style |= BS_PUSHBUTTON;
    } else if (dynamic_cast<TImage*>(control) != nullptr) {
      style |= SS_ICON | SS_NOTIFY;
    } else {
      style |= SS_LEFT;
    }
    if (!control->Enabled()) style |= WS_DISABLED;

    auto peer = std::make_unique<ControlWindow>(*this, *control);
    peer->window = CreateWindowExA(exStyle, windowClass, control->Text().c_str(), style, control->Left, control->Top,
                                   control->Width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (peer->window == nullptr) continue;
    SetWindowLongPtrA(peer->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer.get()));
    if (windowClass != kPanelClass) {
      peer->original = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(peer->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
    }
    SendMessageA(peer->window, WM_SETFONT, reinterpret_cast<WPARAM>(control->Bold ? boldFont_ : regularFont_), FALSE);

    if (auto* combo = dynamic_cast<TComboBox*>(control)) {
      for (const auto& item : combo->Items) SendMessageA(peer->window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      SendMessageA(peer->window, CB_SETITEMHEIGHT, 0, 15);
      FitClosedHeight(peer->window, control->Height);
      SendMessageA(peer->window, CB_SETCURSEL, static_cast<WPARAM>(combo->ItemIndex()), 0);
    } else if (dynamic_cast<TImage*>(control) != nullptr) {
      HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
      if (icon == nullptr) icon = LoadIconA(nullptr, IDI_APPLICATION);
      SendMessageA(peer->window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    control->SetPeer(peer.get());
    controls_.push_back(std::move(peer));
  }
}

ControlWindow* FormWindow::FindByHandle(HWND window) const {
  for (const auto& control : controls_) {
    if (control->window == window) return control.get();
  }
  return nullptr;
}

void FormWindow::ShowCentered() {
  RECT frame;
  GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  // The first tab stop takes the focus, as in a dialog.
  TWinControl* first = nullptr;
  for (const auto& control : controls_) {
    auto* windowed = dynamic_cast<TWinControl*>(&control->control);
    if (windowed != nullptr && windowed->TabOrder >= 0 && windowed->Enabled() &&
        (first == nullptr || windowed->TabOrder < first->TabOrder)) {
      first = windowed;
    }
  }
  if (first != nullptr) first->SetFocus();
}

bool FormWindow::HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  std::vector<TWinControl*> stops;
  for (const auto& control : controls_) {
    auto* windowed = dynamic_cast<TWinControl*>(&control->control);
    if (windowed != nullptr && windowed->TabOrder >= 0 && windowed->Enabled()) stops.push_back(windowed);
  }
  if (stops.empty()) return true;
  std::sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->TabOrder < b->TabOrder; });
  const ControlWindow* focused = FindByHandle(GetFocus());
  auto current = std::find_if(stops.begin(), stops.end(),
                              [&](TWinControl* stop) { return focused != nullptr && &focused->control == stop; });
  const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  std::size_t next = 0;
  if (current != stops.end()) {
    const auto at = static_cast<std::size_t>(current - stops.begin());
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  stops[next]->SetFocus();
  return true;
}

LRESULT CALLBACK FormWindow::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_CLOSE:
        if (self->form_.CloseQuery()) DestroyWindow(window);
        return 0;
      case WM_ACTIVATE:
        // Coming back (after a box, a dialog or another program), the
        // control that had the focus gets it again, not the bare frame.
        if (LOWORD(wParam) != WA_INACTIVE) {
          if (TWinControl* active = self->form_.ActiveControl(); active != nullptr && active->Peer() != nullptr) {
            active->Peer()->Focus();
            return 0;
          }
        }
        break;
      case WM_COMMAND:
        // Our controls report to their panel; automation may also send their
        // notifications to the form itself.
        if (ControlWindow* child = self->FindByHandle(reinterpret_cast<HWND>(lParam))) {
          child->Notified(HIWORD(wParam));
          return 0;
        }
        break;
      case WM_DESTROY:
        if (!gForms.empty() && gForms.front() == self) PostQuitMessage(0);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateApplicationWindow(const char* title) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "TApplication";
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
  RegisterClassExA(&wc);
  gApplicationWindow = CreateWindowExA(0, wc.lpszClassName, title, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                                       nullptr, nullptr, wc.hInstance, nullptr);
  return gApplicationWindow;
}

HWND ApplicationWindow() { return gApplicationWindow; }

namespace {
void Dispatch(MSG& message) {
  for (FormWindow* form : gForms) {
    if (form->HandleTabKey(message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}
}  // namespace

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

void ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
      return;
    }
    Dispatch(message);
  }
}

}  // namespace ui::win32
