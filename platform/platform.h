// Every operating-system service the manager calls, one small interface per
// purpose. The portable core talks only to these and names what it means (a
// folder kind, a box style, a browser event); platform/win32 implements them
// with the real Win32 calls and the system's numbers, and the tests script
// each with a small double that records calls (tests/support).
//
// Platform is all of them at once, for the windows that use many; a part of
// the core that needs one service takes only that one. The bases are
// virtual so that a double of the whole can be put together from the small
// doubles.
#pragma once

#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/downloads.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell_namespace.h"
#include "platform/window_services.h"

namespace platform {

class Platform : public virtual Files,
                 public virtual Processes,
                 public virtual Windows,
                 public virtual Boxes,
                 public virtual Downloads,
                 public virtual Clipboard,
                 public virtual ShellFolders {};

}  // namespace platform
