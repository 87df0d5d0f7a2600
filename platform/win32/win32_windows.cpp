// The application's windows, modal sections and message queue on the real
// platform.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <memory>

#include "platform/win32/message_loop.h"
#include "platform/win32/modal_section.h"
#include "platform/win32/system_codes.h"

namespace platform {

WindowHandle Win32Platform::ApplicationWindow() { return win32::FromWindow(win32::ApplicationWindow()); }

std::unique_ptr<ModalSection> Win32Platform::BeginModal() { return std::make_unique<win32::ModalSection>(); }

void Win32Platform::ProcessMessages() { win32::ProcessMessages(); }

std::uint32_t Win32Platform::TickCount() { return GetTickCount(); }

void Win32Platform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform
