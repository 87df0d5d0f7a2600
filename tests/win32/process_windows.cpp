#include "tests/win32/process_windows.h"

#include <exception>

namespace win32_tests {

namespace {

struct Search {
  const std::function<bool(HWND, DWORD)>& matches;
  HWND found;
  std::exception_ptr error;  // raised again once EnumWindows has returned
};

BOOL CALLBACK Match(HWND window, LPARAM data) noexcept {
  auto& search = *reinterpret_cast<Search*>(data);
  try {
    if (!IsWindowVisible(window)) return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!search.matches(window, process)) return TRUE;
    search.found = window;
  } catch (...) {
    search.error = std::current_exception();
  }
  return FALSE;
}

}  // namespace

HWND FindVisibleWindow(const std::function<bool(HWND window, DWORD process)>& matches) {
  Search search{matches, nullptr, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  if (search.error) std::rethrow_exception(search.error);
  return search.found;
}

HWND FindProcessWindow(DWORD process, const std::function<bool(HWND window)>& matches) {
  return FindVisibleWindow(
      [&](HWND window, DWORD owner) { return owner == process && (!matches || matches(window)); });
}

}  // namespace win32_tests
