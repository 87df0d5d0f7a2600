// Functions of the system's libraries that only some actions need, bound on
// first use. The shell and WinHTTP bring a dozen more libraries along; the
// manager starts without them and loads each when an action first calls into
// it.
#pragma once

#include <windows.h>

namespace platform::win32 {

// The system libraries bound on first use.
inline constexpr const char* kShellLibrary = "shell32.dll";
inline constexpr const char* kHttpLibrary = "winhttp.dll";
inline constexpr const char* kShellUtilityLibrary = "shlwapi.dll";

// The system library `library`, loaded from the system folder (never from
// the program's folder or the current one) unless it is loaded already;
// nullptr when it cannot be.
HMODULE LoadSystemLibrary(const char* library);

// The function `name` of the system library `library`, loaded from the
// system folder (never from the program's folder or the current one) the
// first time; nullptr when the library or the function cannot be found.
FARPROC SystemFunction(const char* library, const char* name);

// The same, typed after the function's own declaration:
//   static const auto open = BindSystemFunction<decltype(&::ShellExecuteA)>(kShellLibrary, "ShellExecuteA");
template <typename Pointer>
Pointer BindSystemFunction(const char* library, const char* name) {
  // Through the generic function type, which any function pointer may be cast to and from.
  return reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(SystemFunction(library, name)));
}

}  // namespace platform::win32

// A function of a system library by its declared name, bound on first use:
//   static const auto open = VANDREL_SYSTEM_FUNCTION(kShellLibrary, ShellExecuteA);
#define VANDREL_SYSTEM_FUNCTION(library, function) \
  ::platform::win32::BindSystemFunction<decltype(&::function)>(::platform::win32::library, #function)
