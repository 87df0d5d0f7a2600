#include "ui/win32/text_windows.h"

#include <algorithm>

// clang-format off
#include <windows.h>
#include <richedit.h>
// clang-format on

#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"
#include "ui/scaling.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

namespace {

// Loaded once; without it, a plain edit field shows the lines.
const char* RichEditClass() {
  static const bool loaded = platform::win32::LoadSystemLibrary("riched20.dll") != nullptr;
  return loaded ? RICHEDIT_CLASSA : "Edit";
}

bool Centred(const TControl& control) { return control.Alignment == TAlignment::taCenter; }

}  // namespace

WindowKind LabelWindow::MadeAs() const {
  const DWORD alignment = Centred(control_) ? SS_CENTER : control_.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
  return {.style = SS_NOTIFY | alignment};
}

void LabelWindow::FitText() {
  if (!control_.AutoSize && host_.Dpi() == kDesignDpi) return;
  const platform::win32::WindowDC dc(window_);
  if (dc.get() == nullptr) return;
  SIZE size{};
  const std::string& text = control_.Text();
  {
    const platform::win32::Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0)));
    if (!control_.AutoSize) return Widen(dc.get(), text);
    if (!GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size)) return;
  }
  control_.Width = Unscaled(size.cx, host_.Dpi());
  control_.Height = Unscaled(size.cy, host_.Dpi());
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Into one line as wide as the text, about its centre when centred, within
// its parent; a text that needs more lines than one stays as it is.
void LabelWindow::Widen(HDC dc, const std::string& text) {
  RECT place, parent;
  if (!GetWindowRect(window_, &place) || !GetClientRect(GetParent(window_), &parent)) return;
  MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&place), 2);
  const int width = place.right - place.left, height = place.bottom - place.top;
  RECT wrapped{0, 0, width, 0}, line{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
  DrawTextA(dc, text.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE);
  if (wrapped.bottom <= height || line.bottom > height || line.right <= width) return;
  const int wider = std::min<int>(line.right, parent.right);
  const int left = Centred(control_) ? std::max<int>(0, place.left - (wider - width + 1) / 2) : place.left;
  SetWindowPos(window_, nullptr, std::min<int>(left, parent.right - wider), place.top, wider, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void LabelWindow::Notified(WORD code) {
  if (code == STN_CLICKED) control_.Click();
}

WindowKind ImageWindow::MadeAs() const { return {.style = SS_ICON | SS_NOTIFY}; }

// A screen reader reads the icon by its window text, its hint: stored by the
// default procedure, since the icon control takes a text as an icon's name.
void ImageWindow::Created() {
  Rescaled();
  if (!control_.Hint.empty()) DefWindowProcA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(control_.Hint.c_str()));
}

// At the system's icon size, the very icon the title bar shows; at another,
// one made for the control from the resource's nearest size. An icon made
// before goes once the control shows the new one.
void ImageWindow::Rescaled() {
  const int size = Scaled(control_.Width);
  platform::win32::OwnedIcon made = size == GetSystemMetrics(SM_CXICON) ? nullptr : ProgramIcon(size);
  SendMessageA(window_, STM_SETICON, reinterpret_cast<WPARAM>(made ? made.get() : ProgramIcon()), 0);
  icon_ = std::move(made);
}

void ImageWindow::Notified(WORD code) {
  if (code == STN_CLICKED) control_.Click();
}

WindowKind EditWindow::MadeAs() const {
  return {.windowClass = "Edit", .style = ES_AUTOHSCROLL | WS_TABSTOP, .exStyle = WS_EX_CLIENTEDGE};
}

void EditWindow::Notified(WORD code) {
  if (code == EN_CHANGE && !SettingText()) edit_.UserChangedText(WindowText(window_));
}

bool EditWindow::OnChar(char& key) {
  key = edit_.KeyPress(key);
  return key != '\0';
}

WindowKind RichEditWindow::MadeAs() const {
  return {.windowClass = RichEditClass(),
          .style = ES_MULTILINE | (rich_.ReadOnly ? ES_READONLY : 0u) | (Centred(rich_) ? ES_CENTER : 0u) | WS_TABSTOP,
          .exStyle = WS_EX_CLIENTEDGE};
}

void RichEditWindow::CentreLines() {
  if (!Centred(rich_)) return;
  PARAFORMAT format{};
  format.cbSize = sizeof format;
  format.dwMask = PFM_ALIGNMENT;
  format.wAlignment = PFA_CENTER;
  CHARRANGE all{0, -1};
  SendMessageA(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  SendMessageA(window_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  CHARRANGE start{0, 0};
  SendMessageA(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
}

}  // namespace ui::win32
