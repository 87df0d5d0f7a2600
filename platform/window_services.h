// The application's windows, its message queue and the clock the waits
// read.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace platform {

class Windows {
 public:
  virtual ~Windows() = default;

  virtual WindowHandle ApplicationWindow() = 0;
  virtual void EnableWindow(WindowHandle window, bool enable) = 0;
  // Serves every message waiting in the application's queue.
  virtual void ProcessMessages() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace platform
