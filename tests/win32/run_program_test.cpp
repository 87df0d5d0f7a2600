// RunProgram on the real shell with our test programs as the started
// programs: the wait, the disabled main window, and what the setup program
// makes of "/DIR=".
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/main_window.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"
#include "ui/win32/application_window.h"
#include "ui/win32/form_window.h"

namespace {

using namespace win32_tests;

constexpr DWORD kProgramRunsMs = 1500;

// Enabled states of the main window, seen by a timer whose messages are only
// dispatched when the message queue is served.
std::vector<bool> gSeenEnabled;
std::vector<bool> gSeenApplicationEnabled;  // the task bar's button
HWND gWatched = nullptr;
void CALLBACK WatchWindow(HWND, UINT, UINT_PTR, DWORD) {
  gSeenEnabled.push_back(IsWindowEnabled(gWatched) != FALSE);
  gSeenApplicationEnabled.push_back(IsWindowEnabled(platform::win32::ApplicationWindow()) != FALSE);
}

// An installer's close request, sent once while the wait serves the queue.
void CALLBACK EndTheSession(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  SendMessageA(gWatched, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
}

// The manager's platform with its executable in `dir`: its list lies there.
struct ManagerIn : platform::Win32Platform {
  explicit ManagerIn(const std::string& dir) : exe(dir + "\\vandrel.exe") {}
  std::string ModuleFileName() override { return exe; }
  std::string exe;
};

class RunProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    programs_ = PathFromEnvironment("VANDREL_TEST_PROGRAMS");
    ASSERT_FALSE(programs_.empty()) << "VANDREL_TEST_PROGRAMS names the test programs' directory";
    ui::win32::AttachWindow(form_);
    main_ = reinterpret_cast<HWND>(form_.WindowHandle().value);
    ASSERT_NE(main_, nullptr);
    ShowWindow(main_, SW_SHOWNOACTIVATE);  // a modal section disables the windows shown
  }
  void TearDown() override {
    SetEnvironmentVariableA("VANDREL_TEST_BEHAVIOUR", nullptr);
    for (const std::string& file : desktopFiles_) DeleteFileA(file.c_str());
  }

  // A copy of a test program under `name` in the test's directory.
  std::string Install(const char* program, const std::string& name) {
    const std::string path = dir_ / name;
    EXPECT_TRUE(CopyFileA((programs_ + "\\" + program).c_str(), path.c_str(), FALSE)) << path;
    return path;
  }
  std::string Desktop() {
    return manager::GetSpecialFolder(os_, os_, os_.ApplicationWindow(), platform::SpecialFolder::CommonDesktop);
  }

  // Waits up to 10 s for a file a program writes when it ends.
  static bool AppearsWithin10s(const std::string& path) {
    for (int i = 0; i < 200 && !IsFile(path); ++i) Sleep(50);
    return IsFile(path);
  }

  platform::Win32Platform os_;
  manager::TForm1 form_{nullptr, os_};
  HWND main_ = nullptr;
  TempDir dir_{"run program"};
  std::string programs_;
  std::vector<std::string> desktopFiles_;
};

TEST_F(RunProgramTest, WaitReturnsOnlyAfterTheProgramEndedWithTheWindowDisabledMeanwhile) {
  const std::string program = Install("test_managed_program.exe", "ORVIK.exe");
  ASSERT_TRUE(WriteAll(program + ".behaviour", "sleep=" + std::to_string(kProgramRunsMs)));
  const std::string arguments = catalogue::ProgramArguments(0, "C:\\Program Files\\Vandrel\\vandrel.exe");

  gSeenEnabled.clear();
  gSeenApplicationEnabled.clear();
  gWatched = main_;
  ui::win32::ShowApplicationWindow();  // the task bar's button, as the manager shows it
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, WatchWindow);
  const DWORD start = GetTickCount();
  const bool started = form_.RunProgram(program, arguments, platform::ShowCommand::Normal, true);
  const DWORD elapsed = GetTickCount() - start;
  KillTimer(nullptr, timer);
  ShowWindow(platform::win32::ApplicationWindow(), SW_HIDE);

  EXPECT_TRUE(started);
  EXPECT_GE(elapsed, kProgramRunsMs);
  EXPECT_LT(elapsed, kProgramRunsMs + 8000);  // not much longer than the program ran
  // The program wrote its record as it ended: it had ended when RunProgram returned.
  EXPECT_EQ(ReadAll(dir_ / "ORVIK.cmdline"), arguments + "\r\n");
  // Messages were served during the wait, and the window stayed disabled.
  EXPECT_GE(gSeenEnabled.size(), 2u);
  for (bool enabled : gSeenEnabled) EXPECT_FALSE(enabled);
  EXPECT_TRUE(IsWindowEnabled(main_));
  // The task bar's button minimises and restores the manager meanwhile.
  for (bool enabled : gSeenApplicationEnabled) EXPECT_TRUE(enabled);
}

// An installer asks the manager to close while it waits for a setup program:
// the wait ends at once, the list is written, and the program is on its way
// out (its window hidden, the quit posted); the setup program runs on.
TEST_F(RunProgramTest, AnEndOfSessionEndsTheWaitAndTheProgram) {
  const std::string program = Install("test_managed_program.exe", "BRUNDA.exe");
  ASSERT_TRUE(WriteAll(program + ".behaviour", "hold"));
  ASSERT_EQ(ui::Application.MainForm(), nullptr);
  ManagerIn os(dir_.Path());
  auto& main = ui::Application.CreateForm<manager::TForm1>(nullptr, os);
  ui::win32::AttachWindow(main);
  gWatched = reinterpret_cast<HWND>(main.WindowHandle().value);
  ShowWindow(gWatched, SW_SHOWNOACTIVATE);

  const UINT_PTR timer = SetTimer(nullptr, 0, 300, EndTheSession);
  const bool started = main.RunProgram(program, "", platform::ShowCommand::Normal, true);
  KillTimer(nullptr, timer);
  MSG quit{};
  const bool quitPosted = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  const bool stillRuns = !IsFile(dir_ / "BRUNDA.cmdline");
  const bool visible = IsWindowVisible(gWatched) != FALSE;
  const bool ended = main.SessionEnded();
  ui::Application.DestroyForms();
  ASSERT_TRUE(WriteAll(program + ".release", ""));

  EXPECT_TRUE(started);
  EXPECT_TRUE(quitPosted);
  EXPECT_TRUE(stillRuns);
  EXPECT_FALSE(visible);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(IsFile(dir_ / "vandrel.ini"));
  EXPECT_TRUE(AppearsWithin10s(dir_ / "BRUNDA.cmdline"));
}

// The program is held until the test lets it go: a call that waited for it
// would never return (and the test run's time limit would end it).
TEST_F(RunProgramTest, WithoutWaitReturnsWhileTheProgramStillRuns) {
  const std::string program = Install("test_managed_program.exe", "BRUNDA.exe");
  ASSERT_TRUE(WriteAll(program + ".behaviour", "hold"));

  EXPECT_TRUE(form_.RunProgram(program, "", platform::ShowCommand::Normal, false));
  EXPECT_FALSE(IsFile(dir_ / "BRUNDA.cmdline"));
  EXPECT_TRUE(IsWindowEnabled(main_));
  // It did start, without arguments: let go, it records its start and ends.
  ASSERT_TRUE(WriteAll(program + ".release", ""));
  ASSERT_TRUE(AppearsWithin10s(dir_ / "BRUNDA.cmdline"));
  EXPECT_EQ(ReadAll(dir_ / "BRUNDA.cmdline"), "\r\n");
}

// An error box of the shell's own would wait for an answer, and the call
// would not return: getting here is the check.
TEST_F(RunProgramTest, MissingFileGivesFalseWithTheWindowEnabledAgain) {
  EXPECT_FALSE(form_.RunProgram(dir_ / "missing.exe", "", platform::ShowCommand::Normal, true));
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(RunProgramTest, SetupProgramInstallsIntoTheUnquotedDirectoryWithBlanks) {
  const std::string setup = Install("test_setup_program.exe", catalogue::OwnProgramAt(4).setupFile);  // orvik101.exe
  const std::string installDir = dir_ / "Program Files\\My MIDI";
  const std::string desktop = Desktop();
  ASSERT_FALSE(desktop.empty());
  const std::string shortcut = desktop + catalogue::OwnProgramAt(4).shortcut;
  desktopFiles_.push_back(shortcut);
  DeleteFileA(shortcut.c_str());

  ASSERT_TRUE(form_.RunProgram(setup, catalogue::SetupArguments(installDir), platform::ShowCommand::Normal, true));
  // Right after the wait: the entry's executable, not the setup's name, and the shortcut.
  const std::string program = catalogue::ProgramPath(installDir, 4);
  EXPECT_TRUE(IsFile(program)) << program;
  EXPECT_TRUE(IsFile(shortcut)) << shortcut;
  EXPECT_EQ(ReadAll(dir_ / "orvik101.cmdline"), "/DIR=" + installDir + "\r\n");

  // What it installed is the managed program.
  ASSERT_TRUE(form_.RunProgram(program, "", platform::ShowCommand::Normal, true));
  EXPECT_EQ(ReadAll(installDir + "\\FENNICK.cmdline"), "\r\n");
}

TEST_F(RunProgramTest, UpdateInstallerStopsTheDirectoryBeforeSilent) {
  const std::string update = Install("test_setup_program.exe", catalogue::OwnProgramAt(1).updateFile);  // selvoupd.exe
  const std::string installDir = dir_ / "Selvo dir";
  ASSERT_TRUE(CreateDirectoryA(installDir.c_str(), nullptr));
  ASSERT_TRUE(WriteAll(catalogue::ProgramPath(installDir, 1), "old program"));
  desktopFiles_.push_back(Desktop() + catalogue::OwnProgramAt(1).shortcut);

  ASSERT_TRUE(form_.RunProgram(update, catalogue::UpdateArguments(installDir), platform::ShowCommand::Normal, true));
  const std::string program = ReadAll(catalogue::ProgramPath(installDir, 1));
  EXPECT_EQ(program.substr(0, 2), "MZ");  // replaced in place by the managed program
  // Had " /SILENT" stayed in the directory, its slash would have made a subdirectory.
  EXPECT_FALSE(IsDirectory(installDir + "\\SILENT"));
}

TEST_F(RunProgramTest, BehaviourChosenByTheTestLetsASetupCreateNothing) {
  const std::string setup = Install("test_setup_program.exe", catalogue::OwnProgramAt(3).setupFile);  // brunda100.exe
  const std::string installDir = dir_ / "Brunda";
  desktopFiles_.push_back(Desktop() + catalogue::OwnProgramAt(3).shortcut);
  for (const char* behaviour : {"nothing", "fail"}) {
    SetEnvironmentVariableA("VANDREL_TEST_BEHAVIOUR", behaviour);
    // Started is all RunProgram reports; whether anything was installed the caller tests.
    EXPECT_TRUE(form_.RunProgram(setup, catalogue::SetupArguments(installDir), platform::ShowCommand::Normal, true)) << behaviour;
    EXPECT_FALSE(IsFile(catalogue::ProgramPath(installDir, 3))) << behaviour;
  }
}

}  // namespace
