#include "platform/win32/system_library.h"

#include <string>

namespace platform::win32 {

FARPROC SystemFunction(const char* library, const char* name) {
  // A library once loaded stays for the program's life: no FreeLibrary.
  HMODULE module = GetModuleHandleA(library);
  if (module == nullptr) {
    char folder[MAX_PATH] = "";
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    module = LoadLibraryA((std::string(folder) + "\\" + library).c_str());
  }
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

}  // namespace platform::win32
