// Every operating-system service the manager calls, one small interface per
// purpose. The portable core talks only to these and names what it means (a
// folder kind, a box style, a browser event); platform/win32 implements them
// with the real Win32 calls and the system's numbers, and the tests script
// each with a small double that records calls (tests/support).
//
// A part of the core asks for the services it uses and no more; Platform
// bundles them all, for the windows that use many.
#pragma once

#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/downloads.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell_folders.h"
#include "platform/shell_opener.h"
#include "platform/window_services.h"

namespace platform {

struct Platform {
  Files& files;
  Environment& environment;
  Processes& processes;
  ShellOpener& opener;
  WindowServices& windows;
  Boxes& boxes;
  Downloads& downloads;
  Clipboard& clipboard;
  ShellFolders& shell;
};

}  // namespace platform
