#include "ui/win32/combo_box_window.h"

namespace ui::win32 {

namespace {

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

}  // namespace

WindowKind ComboBoxWindow::MadeAs() const {
  // The window's height is that of the open list; the closed field follows the item height.
  return {.windowClass = "ComboBox", .style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, .height = 400};
}

void ComboBoxWindow::Created() {
  for (const auto& item : combo_.Items) SendMessageA(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  FitHeights();
  ItemIndexChanged(combo_.ItemIndex());
}

void ComboBoxWindow::Rescaled() { FitHeights(); }

void ComboBoxWindow::FitHeights() {
  SendMessageA(window_, CB_SETITEMHEIGHT, 0, Scaled(15));
  FitClosedHeight(window_, Scaled(combo_.Height));
}

void ComboBoxWindow::Notified(WORD code) {
  if (code == CBN_SELCHANGE) combo_.UserSelected(static_cast<int>(SendMessageA(window_, CB_GETCURSEL, 0, 0)));
}

void ComboBoxWindow::ItemIndexChanged(int index) {
  SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace ui::win32
