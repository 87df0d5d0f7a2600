// Starting programs and waiting for them on the real platform.
#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <memory>

#include "platform/win32/scoped.h"
#include "platform/win32/system_codes.h"
#include "platform/win32/system_library.h"

namespace platform {

namespace {

class Win32Process final : public RunningProcess {
 public:
  explicit Win32Process(HANDLE process) : process_(process) {}
  WaitResult Wait(std::uint32_t milliseconds) override {
    return win32::WaitResultOf(::WaitForSingleObject(process_.get(), milliseconds));
  }

 private:
  win32::OwnedHandle process_;
};

}  // namespace

StartResult Win32Platform::Start(const StartRequest& request) {
  SHELLEXECUTEINFOA info{};
#ifndef _WIN64
  static_assert(sizeof info == 60, "the 32-bit launch record is 60 bytes");
#endif
  info.cbSize = sizeof info;  // larger in the 64-bit edition
  // The process comes back to be waited for; the shell shows no error box.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = win32::AsWindow(request.owner);
  info.lpVerb = nullptr;  // the file's default action
  info.lpFile = request.file.c_str();
  info.lpParameters = request.parameters.c_str();
  info.lpDirectory = nullptr;  // the started program inherits our current directory
  info.nShow = win32::ShowWindowCommand(request.show);
  info.hInstApp = nullptr;
  static const auto shellExecuteEx = VANDREL_SYSTEM_FUNCTION(kShellLibrary, ShellExecuteExA);
  StartResult result;
  result.started = shellExecuteEx != nullptr && shellExecuteEx(&info) != FALSE;
  if (info.hProcess != nullptr) result.process = std::make_unique<Win32Process>(info.hProcess);
  return result;
}

}  // namespace platform
