// The application's windows, their modal sections, the message queue and
// the clock the waits read.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/handles.h"

namespace platform {

// A modal section (platform/win32/modal_section.h): while it lives the
// application's other windows take no input; when it ends they take input
// again and the window that was active before is active again.
class ModalSection {
 public:
  virtual ~ModalSection() = default;  // leaves it, if that was not done yet
  // Ends it while the window that stood modal is still shown: the windows take
  // input again and the one active before takes the activation back, so the
  // modal window no longer has it when it hides.
  virtual void Leave() = 0;
};

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  virtual WindowHandle ApplicationWindow() = 0;
  // Begins a modal section: the application's windows that take input now
  // take none until it ends (an action that waits on another program or a
  // download).
  virtual std::unique_ptr<ModalSection> BeginModal() = 0;
  // Serves every message waiting in the application's queue.
  virtual void ProcessMessages() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace platform
