#include "platform/win32/system_library.h"

#include <string>

namespace platform::win32 {

HMODULE LoadSystemLibrary(const char* library) {
  // A library once loaded stays for the program's life: no FreeLibrary.
  if (HMODULE module = GetModuleHandleA(library)) return module;
  char folder[MAX_PATH] = "";
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(folder) + "\\" + library).c_str());
}

FARPROC SystemFunction(const char* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

}  // namespace platform::win32
