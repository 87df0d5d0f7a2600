// Opening with the shell on the real platform.
#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "platform/win32/system_codes.h"
#include "platform/win32/system_library.h"

namespace platform {

using win32::AsWindow;

bool Win32Platform::ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                              const std::string& parameters, const std::string& directory, ShowCommand show) {
  static const auto shellExecute = VANDREL_SYSTEM_FUNCTION(kShellLibrary, ShellExecuteA);
  if (shellExecute == nullptr) return false;
  const auto none = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
  const HINSTANCE result = shellExecute(AsWindow(owner), none(operation), target.c_str(), none(parameters),
                                        none(directory), win32::ShowWindowCommand(show));
  return reinterpret_cast<std::uintptr_t>(result) > 32;  // up to 32: an error code
}

}  // namespace platform
