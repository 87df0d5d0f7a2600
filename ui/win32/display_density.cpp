#include "ui/win32/display_density.h"

#include "platform/win32/scoped.h"

namespace ui::win32 {

namespace {

// Functions of Windows 10 1607 and later, not in the headers of the
// Windows 7 build: bound by name where the system has them.
using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <typename Pointer>
Pointer User32Function(const char* name) {
  // user32 is loaded already: every window comes from it.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 != nullptr ? reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                           : nullptr;
}

}  // namespace

int SystemDpi() {
  static const DpiForSystem forSystem = User32Function<DpiForSystem>("GetDpiForSystem");
  if (forSystem != nullptr) return static_cast<int>(forSystem());
  const platform::win32::WindowDC screen(nullptr);
  const int dpi = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int WindowDpi(HWND window) {
  static const DpiForWindow forWindow = User32Function<DpiForWindow>("GetDpiForWindow");
  const int dpi = forWindow != nullptr ? static_cast<int>(forWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

void AdjustFrame(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const AdjustForDpi forDpi = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
  if (forDpi == nullptr || !forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

}  // namespace ui::win32
