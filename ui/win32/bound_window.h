// Our own window classes (forms and panels) are bound at birth: the object
// passed as the last argument of CreateWindowExA arrives with WM_NCCREATE, is
// kept in the window's user data and gets every message from then on, each
// behind the exception barrier. Until WM_NCCREATE, and once the user data is
// cleared (the object is going away), the window does what DefWindowProcA
// does.
#pragma once

#include <windows.h>

#include "platform/win32/barrier.h"

namespace ui::win32 {

// The window procedure of a class bound to objects of type T, which has
//   void Bind(HWND window);                             // at WM_NCCREATE
//   LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
template <class T>
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self != nullptr) self->Bind(window);
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const LRESULT result =
      platform::win32::Guarded<LRESULT>(0, [&] { return self->Message(message, wParam, lParam); });
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  return result;
}

// Registers a window class bound to objects of type T, once: a second call
// finds it registered. `prototype` gives the cursor, background and icon.
template <class T>
void RegisterBoundClass(const char* name, WNDCLASSEXA prototype) {
  prototype.cbSize = sizeof prototype;
  prototype.hInstance = GetModuleHandleA(nullptr);
  prototype.lpszClassName = name;
  prototype.lpfnWndProc = BoundWindowProc<T>;
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(prototype.hInstance, name, &existing)) return;
  RegisterClassExA(&prototype);
}

// Stops sending the window's messages to its object.
inline void Unbind(HWND window) {
  if (IsWindow(window)) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

}  // namespace ui::win32
