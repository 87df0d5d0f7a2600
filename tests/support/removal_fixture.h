// The main window on a scripted platform whose public desktop holds a
// shortcut of each program and of the manager, and whose special folders
// have paths: what removing a program, or the manager, may touch.
#pragma once

#include <string>

#include "tests/support/main_window_fixture.h"

namespace testing_support {

inline constexpr const char* kDesktop = "C:\\users\\Public\\Desktop";

// The special folders' paths that the removal's tests assume; the folders
// not named here have no path.
inline void ScriptGuardedFolders(FakeShellFolders& shell) {
  shell.folderPath = "";
  using platform::SpecialFolder;
  shell.knownFolders = {{SpecialFolder::Windows, "C:\\windows"},
                        {SpecialFolder::System, "C:\\windows\\system32"},
                        {SpecialFolder::ProgramFiles, "C:\\Program Files"},
                        {SpecialFolder::ProgramFilesX86, "C:\\Program Files (x86)"},
                        {SpecialFolder::Profile, "C:\\users\\bob"},
                        {SpecialFolder::CommonDesktop, kDesktop},
                        {SpecialFolder::AppData, "C:\\users\\bob\\AppData\\Roaming"},
                        {SpecialFolder::CommonAppData, "C:\\ProgramData"},
                        {SpecialFolder::Documents, "C:\\users\\bob\\Documents"}};
}

class RemovalFixture : public MainWindowFixture {
 protected:
  void SetUp() override {
    ScriptGuardedFolders(os);
    os.AddDirectory(kDesktop);
    for (const char* name : {"Orvik Studio Pro", "Selvo", "Brunda", "Fennick", "Vandrel download manager", "Mine"}) {
      os.AddFile(std::string(kDesktop) + "\\" + name + ".lnk");
    }
  }
  bool Shortcut(const char* name) const { return os.HasFile(std::string(kDesktop) + "\\" + name + ".lnk"); }
};

}  // namespace testing_support
