// Key handlers take characters of the ANSI code page. Windows' comctl32
// turns a window it subclasses into one that takes UTF-16; Wine 8's keeps it
// ANSI, so the test turns the field's window as Windows would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/dialog_robot.h"
#include "ui/forms.h"
#include "ui/win32/control_window.h"

namespace {

struct TypingForm : ui::TForm {
  TypingForm() : ui::TForm(nullptr) {
    Name = "TypingForm";
    Edit1.SetParent(this);
  }
  ui::TEdit Edit1{this};
};

TEST(Typing, AKeyHandlerTakesTheAnsiCharacterAlsoFromAFieldThatTakesUtf16) {
  if (GetACP() != 1252) GTEST_SKIP() << "the euro sign is 0x80 in code page 1252 only";
  auto& form = ui::Application.CreateForm<TypingForm>();
  std::string seen;
  form.Edit1.OnKeyPress = [&](ui::TObject*, char& key) { seen += key; };
  form.Show();
  HWND edit = win32_tests::FindChildWindow(reinterpret_cast<HWND>(form.WindowHandle().value), "Edit");
  const LONG_PTR procedure = GetWindowLongPtrA(edit, GWLP_WNDPROC);
  if (!IsWindowUnicode(edit)) SetWindowLongPtrW(edit, GWLP_WNDPROC, procedure);
  ASSERT_TRUE(IsWindowUnicode(edit));
  SendMessageW(edit, WM_CHAR, 0x20AC, 1);
  SetWindowLongPtrA(edit, GWLP_WNDPROC, procedure);
  EXPECT_EQ(seen, "\x80");
  // A key the handler replaces goes on in the window's own kind.
  EXPECT_EQ(ui::win32::TypedParam('\x80', true), WPARAM{0x20AC});
  EXPECT_EQ(ui::win32::TypedParam('\x80', false), WPARAM{0x80});
  ui::Application.Release(form);
}

}  // namespace
