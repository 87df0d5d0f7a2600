#include "ui/win32/form_window.h"

#include <algorithm>
#include <string>

#include "platform/win32/barrier.h"
#include "ui/win32/application.h"
#include "ui/win32/control_window.h"

namespace ui::win32 {

namespace {

constexpr int kFirstControlId = 100;

std::vector<FormWindow*> gForms;  // in creation order

struct Frame {
  DWORD style;
  DWORD exStyle;
};

Frame FrameOf(const TForm& form) {
  Frame frame{WS_CLIPCHILDREN | WS_CAPTION, 0};
  switch (form.BorderStyle) {
    case TBorderStyle::bsSingle:
      frame.style |= WS_BORDER;
      break;
    case TBorderStyle::bsSizeable:
      frame.style |= WS_THICKFRAME;
      break;
    case TBorderStyle::bsDialog:
      frame.style |= WS_DLGFRAME;
      frame.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if ((form.BorderIcons & biSystemMenu) != 0) {
    frame.style |= WS_SYSMENU;
    if (form.BorderStyle != TBorderStyle::bsDialog) {
      if ((form.BorderIcons & biMinimize) != 0) frame.style |= WS_MINIMIZEBOX;
      if ((form.BorderIcons & biMaximize) != 0) frame.style |= WS_MAXIMIZEBOX;
    }
    // The system shows no help button beside a minimise or maximise box.
    if ((form.BorderIcons & biHelp) != 0) frame.exStyle |= WS_EX_CONTEXTHELP;
  }
  if (form.FormStyle == TFormStyle::fsStayOnTop) frame.exStyle |= WS_EX_TOPMOST;
  return frame;
}

void RegisterFormClass(const std::string& className) {
  WNDCLASSEXA fc{};
  fc.cbSize = sizeof fc;
  fc.hInstance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(fc.hInstance, className.c_str(), &fc)) return;
  fc.lpfnWndProc = DefWindowProcA;  // replaced once the window knows its form
  fc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  fc.hbrBackground = nullptr;  // the form paints its own colour
  fc.hIcon = ProgramIcon();
  fc.lpszClassName = className.c_str();
  RegisterClassExA(&fc);
}

}  // namespace

FormWindow::FormWindow(TForm& form) : form_(form), background_(form.Color) {
  const std::string className = "T" + form.Name;
  RegisterFormClass(className);
  const Frame frame = FrameOf(form);
  RECT outer{0, 0, form.ClientWidth, form.ClientHeight};
  AdjustWindowRectEx(&outer, frame.style, FALSE, frame.exStyle);
  window_ = CreateWindowExA(frame.exStyle, className.c_str(), form.Text().c_str(), frame.style, form.Left, form.Top,
                            outer.right - outer.left, outer.bottom - outer.top, platform::win32::ApplicationWindow(),
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  form_.SetWindowHandle(platform::WindowHandle{reinterpret_cast<std::uintptr_t>(window_)});
  gForms.push_back(this);
  ShowProgramIcon(window_);
  CreateControls();
  AddHints();
  SyncBounds();
}

FormWindow::~FormWindow() {
  // The form's controls may be gone already: nothing reaches them from here on.
  detached_ = true;
  for (auto& control : controls_) control->Detach();
  modal_.reset();
  gForms.erase(std::remove(gForms.begin(), gForms.end(), this), gForms.end());
  if (IsWindow(window_)) DestroyWindow(window_);
  form_.SetWindowHandle({});
}

void AttachWindow(TForm& form) { form.SetFormPeer(std::make_unique<FormWindow>(form)); }

const std::vector<FormWindow*>& FormWindow::All() { return gForms; }

FormWindow* FormWindow::Containing(HWND window) {
  if (window == nullptr) return nullptr;
  HWND root = GetAncestor(window, GA_ROOT);
  for (FormWindow* form : gForms) {
    if (form->window_ == root) return form;
  }
  return nullptr;
}

void FormWindow::CreateControls() {
  int id = kFirstControlId;
  for (TComponent* component : form_.Components()) {
    auto* control = dynamic_cast<TControl*>(component);
    if (control == nullptr) continue;  // non-visual components have no window
    HWND parent = window_;
    if (control->Parent() != &form_) {
      const auto found = std::find_if(controls_.begin(), controls_.end(),
                                      [&](const auto& candidate) { return &candidate->Control() == control->Parent(); });
      if (found == controls_.end()) continue;  // parents come before their children
      parent = (*found)->Handle();
    }
    if (auto peer = ControlWindow::Create(*this, *control, parent, id++)) controls_.push_back(std::move(peer));
  }
}

// A control's hint shows when it has one and either the form shows hints or
// the control shows its own.
void FormWindow::AddHints() {
  for (const auto& control : controls_) {
    const TControl& c = control->Control();
    if (c.Hint.empty()) continue;
    if (form_.ShowHint || c.Looks.hintDisplay == THintDisplay::hdShown) hints_.Add(window_, control->Handle(), c.Hint);
  }
}

ControlWindow* FormWindow::FindByHandle(HWND window) const {
  for (const auto& control : controls_) {
    if (control->Handle() == window) return control.get();
  }
  return nullptr;
}

HFONT FormWindow::FontFor(const TControl& control) {
  if (control.Font) return fonts_.Get(*control.Font);
  TFont font = form_.Font.value_or(TFont{});
  if (control.Bold) font.Bold = true;
  return fonts_.Get(font);
}

HBRUSH FormWindow::LabelColours(const TControl& control, HDC dc) {
  const TFont& font = control.Font ? *control.Font : form_.Font.value_or(TFont{});
  SetTextColor(dc, ColourOf(font.Color));
  SetBkMode(dc, TRANSPARENT);
  const TWinControl* parent = control.Parent();
  const TColor under = parent == nullptr || parent == &form_ ? form_.Color : parent->Looks.color;
  return brushes_.Get(under);
}

void FormWindow::AlignChildren(HWND parent) {
  RECT client;
  GetClientRect(parent, &client);
  for (const auto& control : controls_) {
    if (control->Control().Align == TAlign::alClient && GetParent(control->Handle()) == parent) {
      MoveWindow(control->Handle(), 0, 0, client.right, client.bottom, TRUE);
    }
  }
}

void FormWindow::SyncBounds() {
  RECT outer;
  if (!GetWindowRect(window_, &outer)) return;
  form_.Left = outer.left;
  form_.Top = outer.top;
  form_.Width = outer.right - outer.left;
  form_.Height = outer.bottom - outer.top;
}

void FormWindow::Show() {
  if (form_.Position == TPosition::poScreenCenter && !positioned_) {
    SyncBounds();
    form_.Left = (GetSystemMetrics(SM_CXSCREEN) - form_.Width) / 2;
    form_.Top = (GetSystemMetrics(SM_CYSCREEN) - form_.Height) / 2;
    Moved();
  }
  positioned_ = true;
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  FocusFirst();
}

// The control that had the focus gets it back; otherwise the first enabled
// tab stop, as in a dialog; a form without one keeps the focus itself.
void FormWindow::FocusFirst() {
  TWinControl* target = form_.ActiveControl();
  if (target == nullptr || !target->Enabled() || target->Peer() == nullptr) {
    target = nullptr;
    for (const auto& control : controls_) {
      auto* windowed = dynamic_cast<TWinControl*>(&control->Control());
      if (windowed != nullptr && windowed->TabOrder >= 0 && windowed->Enabled() &&
          (target == nullptr || windowed->TabOrder < target->TabOrder)) {
        target = windowed;
      }
    }
  }
  if (target != nullptr) {
    target->SetFocus();
  } else {
    SetFocus(window_);
  }
}

void FormWindow::Hide() { ShowWindow(window_, SW_HIDE); }

void FormWindow::Moved() {
  SetWindowPos(window_, nullptr, form_.Left, form_.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Close() { SendMessageA(window_, WM_CLOSE, 0, 0); }

void FormWindow::BeginModal() { modal_.emplace(window_); }

void FormWindow::EndModal() { modal_.reset(); }

bool FormWindow::ServeModal() { return platform::win32::ServeOneMessage(); }

void FormWindow::Wake() { PostMessageA(window_, WM_NULL, 0, 0); }

bool FormWindow::PreTranslate(MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB) return HandleTabKey(message);
  if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
    return HandleDialogKey(message);
  }
  if (message.message == WM_CHAR && form_.KeyPreview && message.hwnd != window_) {
    const char key = form_.KeyPress(static_cast<char>(message.wParam));
    if (key == '\0') return true;
    message.wParam = static_cast<unsigned char>(key);
  }
  return false;
}

bool FormWindow::HandleTabKey(const MSG& message) {
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  std::vector<TWinControl*> stops;
  for (const auto& control : controls_) {
    auto* windowed = dynamic_cast<TWinControl*>(&control->Control());
    if (windowed != nullptr && windowed->TabOrder >= 0 && windowed->Enabled()) stops.push_back(windowed);
  }
  if (stops.empty()) return true;
  std::stable_sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->TabOrder < b->TabOrder; });
  const ControlWindow* focused = FindByHandle(GetFocus());
  auto current = std::find_if(stops.begin(), stops.end(),
                              [&](TWinControl* stop) { return focused != nullptr && &focused->Control() == stop; });
  const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  std::size_t next = 0;
  if (current != stops.end()) {
    const auto at = static_cast<std::size_t>(current - stops.begin());
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  stops[next]->SetFocus();
  return true;
}

// Enter presses the focused glyph button, or else the default button; Esc
// presses the cancel button. A disabled button stays unpressed, and the key
// goes nowhere else.
bool FormWindow::HandleDialogKey(const MSG& message) {
  const ControlWindow* focused = FindByHandle(GetFocus());
  TBitBtn* target = nullptr;
  bool claimed = false;
  for (const auto& control : controls_) {
    auto* button = dynamic_cast<TBitBtn*>(&control->Control());
    if (button == nullptr) continue;
    if (message.wParam == VK_RETURN) {
      if (focused == control.get()) {
        target = button;
        claimed = true;
        break;
      }
      if (button->Default) {
        target = button;
        claimed = true;
      }
    } else if (button->Cancel) {
      target = button;
      claimed = true;
      break;
    }
  }
  if (target != nullptr && target->Enabled() && IsWindowVisible(window_)) target->Click();
  return claimed;
}

void FormWindow::CloseRequested() {
  if (form_.Modal()) {
    form_.Close();  // ends the showing with Cancel; the close handler runs there
    return;
  }
  if (!form_.CloseQuery()) return;
  if (&form_ == Application.MainForm()) {
    // The application ends; the forms and their windows go after the loop.
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
    return;
  }
  form_.Hide();
  if (form_.LastCloseAction() == TCloseAction::caFree) ReleaseLater(form_);
}

LRESULT CALLBACK FormWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || self->detached_) return DefWindowProcA(window, message, wParam, lParam);
  return platform::win32::Guarded<LRESULT>(0, [&] { return self->Message(message, wParam, lParam); });
}

LRESULT FormWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_ACTIVATE:
      // Coming back (after a box, a dialog or another program), the
      // control that had the focus gets it again, not the bare frame.
      if (LOWORD(wParam) != WA_INACTIVE) {
        if (TWinControl* active = form_.ActiveControl(); active != nullptr && active->Peer() != nullptr) {
          active->Peer()->Focus();
          return 0;
        }
      }
      break;
    case WM_COMMAND:
      // Our controls report to their parent; automation may also send their
      // notifications to the form itself.
      if (ControlWindow* child = FindByHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notified(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (ControlWindow* child = FindByHandle(reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(LabelColours(child->Control(), reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ControlWindow* child = FindByHandle(item->hwndItem)) {
        child->Draw(*item);
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND:
      FillBackground(window_, reinterpret_cast<HDC>(wParam), background_.Get());
      return 1;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP:
      if (pressed_) {
        pressed_ = false;
        form_.Click();
      }
      return 0;
    case WM_CHAR:
      // The form itself has the focus (or the character was sent to it).
      form_.KeyPress(static_cast<char>(wParam));
      return 0;
    case WM_SIZE:
      AlignChildren(window_);
      break;
    case WM_WINDOWPOSCHANGED:
      SyncBounds();
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE && &form_ == Application.MainForm()) {
        MinimizeApplication();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace ui::win32
