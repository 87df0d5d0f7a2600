// The real clipboard while a second thread holds it with a window of its own,
// as another program would: the copy waits for a holder that lets go within
// half a second and gives up, leaving the old text, on one that does not.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "platform/win32/win32_platform.h"

namespace {

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<held>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Holds the clipboard from construction on, until `LetGoAfter` has been
// called and that many milliseconds have passed.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : held_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), letGo_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] {
      HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      opened_ = OpenClipboard(window) != FALSE;
      SetEvent(held_);
      WaitForSingleObject(letGo_, INFINITE);
      Sleep(delayMs_);
      if (opened_) CloseClipboard();
      DestroyWindow(window);
    });
    WaitForSingleObject(held_, INFINITE);
  }
  ~ClipboardHolder() {
    LetGoAfter(0);
    thread_.join();
    CloseHandle(held_);
    CloseHandle(letGo_);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  bool Holds() const { return opened_; }
  void LetGoAfter(DWORD milliseconds) {
    if (WaitForSingleObject(letGo_, 0) == WAIT_OBJECT_0) return;
    delayMs_ = milliseconds;
    SetEvent(letGo_);
  }

 private:
  HANDLE held_;
  HANDLE letGo_;
  DWORD delayMs_ = 0;
  bool opened_ = false;
  std::thread thread_;
};

TEST(Clipboard, ACopyWaitsForAHolderThatLetsGoWithinHalfASecondAndGivesUpOnOneThatDoesNot) {
  platform::Win32Platform os;
  ASSERT_TRUE(os.SetClipboardText("before"));
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Holds());
    const DWORD start = GetTickCount();
    EXPECT_FALSE(os.SetClipboardText("never placed"));
    EXPECT_GE(GetTickCount() - start, 450u);  // it did wait
  }
  EXPECT_EQ(ClipboardText(), "before");
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Holds());
    holder.LetGoAfter(150);  // while the copy tries again
    EXPECT_TRUE(os.SetClipboardText("https://download.example/a.exe"));
  }
  EXPECT_EQ(ClipboardText(), "https://download.example/a.exe");
}

}  // namespace
