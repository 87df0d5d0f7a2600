// The running process on the real platform.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <vector>

namespace platform {

std::string Win32Platform::ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  while (true) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32Platform::CommandLine() { return GetCommandLineA(); }

std::string Win32Platform::CurrentDirectory() {
  char buffer[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(buffer, length);
}

std::string Win32Platform::EnvironmentVariable(const std::string& name) {
  std::string value(MAX_PATH, '\0');
  DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
  if (length > value.size()) {
    value.resize(length);
    length = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
  }
  value.resize(length < value.size() ? length : 0);
  return value;
}

}  // namespace platform
