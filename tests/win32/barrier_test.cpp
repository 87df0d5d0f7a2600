// The barrier at the doors Windows opens: an error raised in a handler
// reaches the application's error box, and the program goes on working. In
// the 32-bit build an error unwinding through the system's frames ends the
// program, so without the barrier this test does not get to its end there.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "platform/win32/message_loop.h"
#include "platform/win32/modal_section.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/dialog_robot.h"
#include "tests/win32/win32_test_support.h"
#include "ui/forms.h"

namespace {

using namespace win32_tests;

std::atomic<bool> gFailNextAllocation{false};

struct HandlerForm : ui::TForm {
  HandlerForm() : ui::TForm(nullptr) {
    Name = "HandlerForm";
    SetText("Handlers");
    ClientWidth = 200;
    ClientHeight = 120;
    Panel1.SetParent(this);
    Panel1.Width = 200;
    Panel1.Height = 120;
    Place(Fails, "Fails", 10);
    Place(Works, "Works", 40);
    Place(Box, "Ticks", 70);
  }
  void Place(ui::TControl& control, const char* text, int top) {
    control.SetParent(&Panel1);
    control.Left = 10;
    control.Top = top;
    control.Width = 120;
    control.Height = 25;
    control.SetText(text);
  }
  ui::TPanel Panel1{this};
  ui::TSpeedButton Fails{this};
  ui::TBitBtn Works{this};
  ui::TCheckBox Box{this};
};

class Barrier : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application.ShowException = [this](const std::string& message) {
      os_.ApplicationMessageBox(message, ui::Application.Title, platform::kErrorBox);
    };
    form_ = &ui::Application.CreateForm<HandlerForm>();
    form_->Show();
    window_ = reinterpret_cast<HWND>(form_->WindowHandle().value);
    gReportedErrors.clear();
  }
  void TearDown() override {
    ui::Application.Release(*form_);
    ui::Application.ShowException = nullptr;
  }
  HWND Button(const char* text) const { return FindChildWindow(window_, "Button", text); }

  // Answers the error box and keeps its text.
  std::function<bool()> AnswerErrorBox() {
    return [this] {
      HWND box = FindThreadDialog(ui::Application.Title);
      if (box == nullptr) return false;
      boxText_ = TextOf(GetDlgItem(box, 0xFFFF));
      Press(FindChildWindow(box, "Button"));
      return true;
    };
  }

  platform::Win32Platform os_;
  HandlerForm* form_ = nullptr;
  HWND window_ = nullptr;
  std::string boxText_;
};

TEST_F(Barrier, AnErrorInAClickHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
  int worked = 0;
  form_->Fails.OnClick = [](ui::TObject*) { throw std::runtime_error("The handler failed"); };
  form_->Works.OnClick = [&](ui::TObject*) { ++worked; };
  {
    DialogRobot robot({AnswerErrorBox()});
    // The button's own procedure sends the click to its parent: the error
    // rises inside the system's SendMessage.
    SendMessageA(Button("Fails"), BM_CLICK, 0, 0);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(boxText_, "The handler failed.");
  EXPECT_EQ(gReportedErrors, (std::vector<std::string>{"The handler failed"}));

  SendMessageA(Button("Works"), BM_CLICK, 0, 0);
  SendMessageA(Button("Ticks"), BM_CLICK, 0, 0);
  EXPECT_EQ(worked, 1);
  EXPECT_TRUE(form_->Box.Checked());
  EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(Barrier, AnErrorInAKeyHandlerOfTheMessageLoopIsReportedToo) {
  form_->KeyPreview = true;
  form_->OnKeyPress = [](ui::TObject*, char& key) {
    if (key == 'x') throw std::runtime_error("No x here");
  };
  form_->Box.SetFocus();
  PostMessageA(Button("Ticks"), WM_CHAR, 'x', 1);
  PostMessageA(Button("Ticks"), WM_CHAR, ' ', 1);
  {
    DialogRobot robot({AnswerErrorBox()});
    for (int i = 0; i < 200 && boxText_.empty(); ++i) {
      platform::win32::ProcessMessages();
      Sleep(20);
    }
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(boxText_, "No x here.");
}

TEST_F(Barrier, AnAllocationThatFailsWhileWindowsAreCollectedComesOutOfTheEnumerationAsItself) {
  ASSERT_TRUE(IsWindowEnabled(window_));
  bool thrown = false;
  gFailNextAllocation = true;  // the list of the windows to disable
  try {
    const platform::win32::ModalSection modal;
  } catch (const std::bad_alloc&) {
    thrown = true;
  }
  gFailNextAllocation = false;
  EXPECT_TRUE(thrown);
  EXPECT_TRUE(IsWindowEnabled(window_));  // nothing was disabled
}

}  // namespace

// Every allocation of the test program, one of which may be made to fail;
// from malloc, as the runtime's own, whose delete frees them.
void* operator new(std::size_t size) {
  if (gFailNextAllocation.exchange(false)) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
