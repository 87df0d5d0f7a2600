// The whole platform for the windows' tests, put together from the small
// doubles of each service (fake_files.h, fake_services.h,
// fake_shell_folders.h), which share one record of calls. A test of a part
// that takes one service uses that service's double alone.
#pragma once

#include "platform/platform.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_services.h"
#include "tests/support/fake_shell_folders.h"

namespace testing_support {

class FakePlatform : public platform::Platform,
                     public virtual FakeFiles,
                     public virtual FakeProcesses,
                     public virtual FakeWindows,
                     public virtual FakeBoxes,
                     public virtual FakeClipboard,
                     public virtual FakeDownloads,
                     public virtual FakeShellFolders {};

}  // namespace testing_support
