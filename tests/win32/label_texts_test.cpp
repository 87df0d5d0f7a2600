// Every label of the About box shows its whole text in its own font: a
// fixed-size label cuts what does not fit. (Measured in the process, where
// the labels' fonts are.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "manager/about_box.h"
#include "platform/win32/win32_platform.h"

namespace {

// The labels whose text is wider, or wraps onto more lines, than they are.
std::string CutLabels(HWND window) {
  std::string cut;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    cut += CutLabels(child);
    char className[32] = "";
    char text[256] = "";
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Static") != 0 || (style & SS_TYPEMASK) == SS_ICON ||
        GetWindowTextA(child, text, sizeof text) == 0) {
      continue;
    }
    RECT client;
    GetClientRect(child, &client);
    HDC dc = GetDC(child);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, client.right, 0};
    const bool wraps = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, before);
    ReleaseDC(child, dc);
    // Nor may the label reach past its parent, which would cut it too.
    RECT label, parent;
    GetWindowRect(child, &label);
    GetClientRect(window, &parent);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&parent), 2);
    if (needed.right > client.right || needed.bottom > client.bottom || label.right > parent.right ||
        label.bottom > parent.bottom) {
      cut += std::string(" \"") + text + "\" needs " + std::to_string(needed.right) + " x " +
             std::to_string(needed.bottom) + ", has " + std::to_string(client.right) + " x " +
             std::to_string(client.bottom) + ";";
    }
  }
  return cut;
}

TEST(LabelTexts, TheAboutBoxShowsEveryLabelWhole) {
  platform::Win32Platform os;
  auto& about = ui::Application.CreateForm<manager::TAboutBox>(nullptr, os);
  about.Show();
  EXPECT_EQ(CutLabels(reinterpret_cast<HWND>(about.WindowHandle().value)), "");
  about.Hide();
  ui::Application.Release(about);
}

}  // namespace
