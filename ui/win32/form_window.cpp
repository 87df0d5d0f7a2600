#include "ui/win32/form_window.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/win32/message_loop.h"
#include "ui/win32/application_window.h"
#include "ui/scaling.h"
#include "ui/win32/bound_window.h"
#include "ui/win32/control_factory.h"
#include "ui/win32/display_density.h"
#include "ui/win32/form_frame.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

namespace {

constexpr int kFirstControlId = 100;

HWND OwnerWindow(const TForm& form) {
  if (form.PopupParent != nullptr && form.PopupParent->WindowHandle()) {
    return reinterpret_cast<HWND>(form.PopupParent->WindowHandle().value);
  }
  return platform::win32::ApplicationWindow();
}

}  // namespace

FormWindow::FormWindow(TForm& form) : form_(form), paint_(form), keys_(form, *this, controls_) {
  const std::string className = "T" + form.Name;
  WNDCLASSEXA prototype{};
  prototype.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  prototype.hbrBackground = nullptr;  // the form paints its own colour
  prototype.hIcon = ProgramIcon();
  RegisterBoundClass<FormWindow>(className.c_str(), prototype);
  const Frame frame = FrameOf(form);
  dpi_ = SystemDpi();  // until the window knows its monitor
  RECT outer{0, 0, Scaled(form.ClientWidth, dpi_), Scaled(form.ClientHeight, dpi_)};
  AdjustFrame(outer, frame.style, frame.exStyle, dpi_);
  // window_ is set at WM_NCCREATE, and every message from then on comes here.
  window_ = CreateWindowExA(frame.exStyle, className.c_str(), form.Text().c_str(), frame.style, form.Left, form.Top,
                            outer.right - outer.left, outer.bottom - outer.top, OwnerWindow(form),
                            nullptr, GetModuleHandleA(nullptr), this);
  if (window_ == nullptr) throw std::runtime_error("The window \"" + form.Text() + "\" could not be created (error " +
                                                      std::to_string(GetLastError()) + ")");
  AddFormWindow(window_);
  form_.SetWindowHandle(platform::WindowHandle{reinterpret_cast<std::uintptr_t>(window_)});
  try {
    // Its monitor may be denser or less dense than the system's.
    dpi_ = WindowDpi(window_);
    form_.PixelsPerInch = dpi_;
    paint_.SetDpi(dpi_);
    FitClient();
    ShowProgramIcon(window_);
    CreateControls();
    AddHints();
    SyncBounds();
    // No focus rectangle until the keyboard is used in the window.
    SendMessageA(window_, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  } catch (...) {
    Destroy();  // no destructor runs for an object that was never made
    throw;
  }
}

FormWindow::~FormWindow() { Destroy(); }

void FormWindow::Destroy() {
  // The form's controls may be gone already: nothing reaches them from here on.
  Unbind(window_);
  for (auto& control : controls_) control->Detach();
  if (modal_) modal_->Leave();  // before the window goes, as at EndModal
  RemoveFormWindow(window_);
  if (IsWindow(window_)) DestroyWindow(window_);
  modal_.reset();
  form_.SetWindowHandle({});
}

void AttachWindow(TForm& form) { form.SetFormPeer(std::make_unique<FormWindow>(form)); }

FormWindow* FormWindow::Containing(HWND window) {
  if (window == nullptr) return nullptr;
  HWND root = GetAncestor(window, GA_ROOT);
  if (!IsFormWindow(root)) return nullptr;
  return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(root, GWLP_USERDATA));
}

void FormWindow::CreateControls() {
  int id = kFirstControlId;
  for (TComponent* component : form_.Components()) {
    TControl* control = component->AsControl();
    if (control == nullptr) continue;  // non-visual components have no window
    HWND parent = window_;
    if (control->Parent() != &form_) {
      const auto found = std::find_if(controls_.begin(), controls_.end(),
                                      [&](const auto& candidate) { return &candidate->Control() == control->Parent(); });
      if (found == controls_.end()) continue;  // parents come before their children
      parent = (*found)->Handle();
    }
    if (auto made = MakeControlWindow(*this, *control, parent, id++)) controls_.push_back(std::move(made));
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

// The client area gets the layout's size exactly, whatever the frame takes.
void FormWindow::FitClient() {
  const int width = Scaled(form_.ClientWidth, dpi_), height = Scaled(form_.ClientHeight, dpi_);
  RECT client, outer;
  if (!GetClientRect(window_, &client) || !GetWindowRect(window_, &outer)) return;
  if (client.right == width && client.bottom == height) return;
  SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + width - client.right,
               outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moved to a display of another density: the system's suggested place, the
// layout at the new density, and fonts made for it (the old ones go once no
// control uses them).
void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  form_.PixelsPerInch = dpi;
  const auto retired = paint_.SetDpi(dpi);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  FitClient();
  for (const auto& control : controls_) control->Rescale();
  AlignChildren(window_);
  InvalidateRect(window_, nullptr, TRUE);
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
  if (target == nullptr || !target->Enabled() || target->Peer() == nullptr) target = keys_.FirstTabStop();
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

// The other windows take input again and the window that was active before
// takes the activation back while this one is still shown: hiding, it has no
// activation left to hand to another program.
void FormWindow::EndModal() {
  if (modal_) modal_->Leave();
  ShowWindow(window_, SW_HIDE);
  modal_.reset();
}

bool FormWindow::ServeModal() { return platform::win32::ServeOneMessage(); }

void FormWindow::Wake() { PostMessageA(window_, WM_NULL, 0, 0); }

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

// The session ends, for the whole system or, at an installer's close request,
// for this program alone: either way the program ends by itself. The quit goes
// first, so that it ends even when the form's handler fails; every loop that
// runs meanwhile (a box, a modal form, the wait for a started program) leaves
// at it, and the forms and their windows go after the main loop.
void FormWindow::EndSession() {
  if (&form_ == Application.MainForm()) {
    PostQuitMessage(0);
    ShowWindow(window_, SW_HIDE);  // nothing reaches the window any more
  }
  if (form_.OnEndSession) form_.OnEndSession(&form_);
}

// Coming back (after a box, a dialog or another program), the control that
// had the focus gets it again (or, when it was disabled meanwhile, the first
// tab stop), not the bare frame.
bool FormWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) return false;
  TWinControl* active = form_.ActiveControl();
  if (active == nullptr || active->Peer() == nullptr) return false;
  FocusFirst();
  return true;
}

// A click on the form itself: the button went up where it went down.
bool FormWindow::OnMouse(UINT message) {
  if (message == WM_LBUTTONDOWN) pressed_ = true;
  if (message == WM_LBUTTONUP && pressed_) {
    pressed_ = false;
    form_.Click();
  }
  return true;
}

bool FormWindow::OnSysCommand(WPARAM wParam) {
  if ((wParam & 0xFFF0) != SC_MINIMIZE || &form_ != Application.MainForm()) return false;
  MinimizeApplication();
  return true;
}

LRESULT FormWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  switch (message) {
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(wParam)) return 0;
      break;
    case WM_COMMAND:  // automation may also send our controls' notifications to the form itself
    case WM_CTLCOLORSTATIC:
    case WM_DRAWITEM:
      if (ReflectToChild(*this, message, wParam, lParam, result)) return result;
      break;
    case WM_ERASEBKGND:
      FillBackground(window_, reinterpret_cast<HDC>(wParam), paint_.Background());
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (OnMouse(message)) return 0;
      break;
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
      if (OnSysCommand(wParam)) return 0;
      break;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_UPDATEUISTATE:
      // Kept here too, as not every system keeps it for our own windows; the
      // default handling passes it on to the controls.
      if ((HIWORD(wParam) & UISF_HIDEFOCUS) != 0 && LOWORD(wParam) != UIS_INITIALIZE) {
        focusCues_ = LOWORD(wParam) == UIS_CLEAR;
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus)) InvalidateRect(focus, nullptr, FALSE);
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;  // the session may end: nothing is asked
    case WM_ENDSESSION:
      // Only when the session really ends, not when its end was called off.
      if (wParam != FALSE) EndSession();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace ui::win32
