// The whole platform for the windows' tests: one record of calls, one
// scripted file system and a small double of each service (fake_files.h,
// fake_services.h, fake_shell_folders.h), each given the record and, where
// it touches files, the file system. The doubles' members are reached
// through this one object; it converts to the bundle the windows take. A
// test of a part that takes one or two services makes those doubles alone.
#pragma once

#include "platform/platform.h"
#include "tests/support/call_log.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_services.h"
#include "tests/support/fake_shell_folders.h"

namespace testing_support {

class FakePlatform : public CallLog,
                     public FakeFiles,
                     public FakeEnvironment,
                     public FakeProcesses,
                     public FakeShellOpener,
                     public FakeWindows,
                     public FakeBoxes,
                     public FakeClipboard,
                     public FakeDownloads,
                     public FakeShellFolders {
 public:
  // The record and the file system are bases made before the doubles that are given them.
  FakePlatform()
      : FakeFiles(*static_cast<CallLog*>(this)),
        FakeEnvironment(*static_cast<FakeFiles*>(this)),
        FakeProcesses(*static_cast<CallLog*>(this)),
        FakeShellOpener(*static_cast<CallLog*>(this)),
        FakeWindows(*static_cast<CallLog*>(this)),
        FakeBoxes(*static_cast<CallLog*>(this)),
        FakeClipboard(*static_cast<CallLog*>(this)),
        FakeDownloads(*static_cast<CallLog*>(this), *static_cast<FakeFiles*>(this)),
        FakeShellFolders(*static_cast<CallLog*>(this)) {}

  operator platform::Platform() { return {*this, *this, *this, *this, *this, *this, *this, *this, *this}; }
};

}  // namespace testing_support
