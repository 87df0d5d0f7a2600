// The clipboard on the real platform.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/message_loop.h"
#include "platform/win32/scoped.h"

namespace platform {

namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer
// reading what changed): try again in small steps for about half a second,
// serving nothing meanwhile.
constexpr DWORD kClipboardPatienceMs = 500;
constexpr DWORD kClipboardStepMs = 20;

bool OpenClipboardPatiently(HWND owner) {
  const DWORD start = GetTickCount();
  while (!OpenClipboard(owner)) {
    if (GetTickCount() - start >= kClipboardPatienceMs) return false;
    ::Sleep(kClipboardStepMs);
  }
  return true;
}

}  // namespace

bool Win32Platform::SetClipboardText(const std::string& text) {
  // The clipboard takes a movable global block with the text and its NUL.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return false;
  if (void* bytes = GlobalLock(block)) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
  }
  if (!OpenClipboardPatiently(win32::ApplicationWindow())) {
    GlobalFree(block);
    return false;
  }
  bool placed = false;
  {
    const win32::OpenedClipboard opened;
    EmptyClipboard();
    placed = SetClipboardData(CF_TEXT, block) != nullptr;
  }
  if (!placed) GlobalFree(block);  // the clipboard owns it only once placed
  return placed;
}

}  // namespace platform
