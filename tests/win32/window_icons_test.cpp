// The program's icon on its windows: the title bar of a form with a system
// menu, and the application window, which is the task bar's button. (Wine
// answers these questions only inside the process, so they are asked here
// rather than by the scenarios.)
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/message_loop.h"
#include "ui/forms.h"
#include "ui/win32/painting.h"

namespace {

struct IconForm : ui::TForm {
  IconForm() : ui::TForm(nullptr) {
    Name = "IconForm";
    SetText("Icons");
    ClientWidth = 120;
    ClientHeight = 60;
  }
};

HICON IconOf(HWND window, WPARAM size) {
  return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, size, 0));
}

TEST(WindowIcons, FormsAndTheApplicationWindowCarryTheProgramIcon) {
  auto& form = ui::Application.CreateForm<IconForm>();
  EXPECT_EQ(form.WindowHandle().value, 0u) << "a hidden form has no window yet";
  form.Show();
  HWND window = reinterpret_cast<HWND>(form.WindowHandle().value);
  ASSERT_NE(window, nullptr);
  const HICON icon = ui::win32::ProgramIcon();
  ASSERT_NE(icon, nullptr);
  HWND application = platform::win32::ApplicationWindow();
  EXPECT_EQ(GetWindow(window, GW_OWNER), application);
  for (HWND carrier : {window, application}) {
    EXPECT_EQ(IconOf(carrier, ICON_BIG), icon);
    EXPECT_EQ(IconOf(carrier, ICON_SMALL), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(carrier, GCLP_HICON)), icon);
  }
  ui::Application.Release(form);
}

}  // namespace
