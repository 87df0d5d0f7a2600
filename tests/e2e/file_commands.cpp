// Commands that prepare and check files and directories, and answer boxes.
#include <fstream>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/win32/win32_test_support.h"

namespace e2e {

namespace {

using win32_tests::HttpServer;
using win32_tests::IsDirectory;
using win32_tests::IsFile;
using win32_tests::PathFromEnvironment;
using win32_tests::RemoveTree;

void MakeDirectories(const std::string& path) {
  for (auto at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
  Expect(IsDirectory(path), "cannot create directory " + path);
}

// Shows CR, LF and other control bytes readably in a failure message.
std::string Visible(const std::string& bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 32) {
      out += "\\x" + std::to_string(c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::vector<HANDLE>& HeldFiles() {
  static std::vector<HANDLE> files;
  return files;
}

HWND WaitForBox(Session& s, const std::string& caption) {
  HWND box = WaitFor([&] { return FindProcessDialog(s, caption); }, 10000);
  Expect(box != nullptr, "no box captioned \"" + caption + "\"");
  return box;
}

const bool registered = [] {
  RegisterCommand("mkdir", 1, [](Session&, const Line& l) { MakeDirectories(l.args[0]); });

  // A folder that a program started by the manager still uses (a batch
  // file's command interpreter has it as its current directory for a moment
  // after the batch file deleted itself) goes once that program has ended:
  // tried again for up to 10 s.
  RegisterCommand("remove", 1, [](Session&, const Line& l) {
    const auto present = [&] { return GetFileAttributesA(l.args[0].c_str()) != INVALID_FILE_ATTRIBUTES; };
    RemoveTree(l.args[0]);
    for (int waited = 0; present() && waited < 10000; waited += 100) {
      Sleep(100);
      RemoveTree(l.args[0]);
    }
    Expect(!present(), "cannot remove " + l.args[0]);
  });

  RegisterCommand("write-file", 2, [](Session&, const Line& l) {
    std::ofstream out(l.args[0], std::ios::binary | std::ios::trunc);
    out << l.args[1];
    Expect(out.good(), "cannot write " + l.args[0]);
  });

  RegisterCommand("expect-file", 1, [](Session&, const Line& l) {
    Expect(IsFile(l.args[0]), "no file " + l.args[0]);
    if (l.args.size() > 1) {
      const std::string content = win32_tests::ReadAll(l.args[0]);
      Expect(content == l.args[1], l.args[0] + " holds \"" + Visible(content) + "\"");
    }
  });

  // wait-file PATH [MS]: waits until a file exists (a program started by the
  // manager writes it), 20 s at most unless given.
  RegisterCommand("wait-file", 1, [](Session&, const Line& l) {
    const int limit = l.args.size() > 1 ? ToInt(l.args[1]) : 20000;
    for (int waited = 0; !IsFile(l.args[0]) && waited < limit; waited += 50) Sleep(50);
    Expect(IsFile(l.args[0]), "no file " + l.args[0]);
  });

  // place-program NAME [PROGRAM]: puts one of our test programs (the setup
  // program unless named) beside the manager under NAME; the manager then
  // copies it instead of downloading it.
  RegisterCommand("place-program", 1, [](Session& s, const Line& l) {
    const std::string programs = PathFromEnvironment("VANDREL_TEST_PROGRAMS");
    Expect(!programs.empty(), "VANDREL_TEST_PROGRAMS names no directory");
    const std::string program = l.args.size() > 1 ? l.args[1] : "test_setup_program.exe";
    const std::string target = s.managerDir + "\\" + l.args[0];
    Expect(CopyFileA((programs + "\\" + program).c_str(), target.c_str(), FALSE) != FALSE, "cannot copy " + program);
  });

  // serve-program NAME [PROGRAM]: puts one of our test programs (the setup
  // program unless named) on the loopback server of the test run, as
  // /software/NAME; the scenario reaches the server through its proxy.
  RegisterCommand("serve-program", 1, [](Session&, const Line& l) {
    const std::string programs = PathFromEnvironment("VANDREL_TEST_PROGRAMS");
    Expect(!programs.empty(), "VANDREL_TEST_PROGRAMS names no directory");
    Expect(!HttpServer::StateDirectory().empty(), "VANDREL_TEST_HTTP names no server: the scenario needs the http fixture");
    const std::string program = l.args.size() > 1 ? l.args[1] : "test_setup_program.exe";
    const std::string folder = HttpServer::Root() + "\\software";
    CreateDirectoryA(folder.c_str(), nullptr);
    Expect(CopyFileA((programs + "\\" + program).c_str(), (folder + "\\" + l.args[0]).c_str(), FALSE) != FALSE,
           "cannot serve " + program);
    DeleteFileA((folder + "\\" + l.args[0] + ".mode").c_str());  // served plainly until serve-mode says otherwise
  });

  // serve-mode NAME MODE: the server answers /software/NAME in that mode of
  // its own ("slow?rate=20000"; tests/servers/http_server.py).
  RegisterCommand("serve-mode", 2, [](Session&, const Line& l) {
    Expect(!HttpServer::StateDirectory().empty(), "VANDREL_TEST_HTTP names no server: the scenario needs the http fixture");
    Expect(win32_tests::WriteAll(HttpServer::Root() + "\\software\\" + l.args[0] + ".mode", l.args[1]),
           "cannot set the mode of " + l.args[0]);
  });

  // wait-no-file PATH [MS]: waits until nothing exists at PATH, 20 s at most
  // unless given (a batch file deletes it after the manager has ended).
  RegisterCommand("wait-no-file", 1, [](Session&, const Line& l) {
    const int limit = l.args.size() > 1 ? ToInt(l.args[1]) : 20000;
    const auto present = [&] { return GetFileAttributesA(l.args[0].c_str()) != INVALID_FILE_ATTRIBUTES; };
    for (int waited = 0; present() && waited < limit; waited += 50) Sleep(50);
    Expect(!present(), l.args[0] + " is still there");
  });

  // copy-manager DIR: the manager runs from a copy in DIR from now on ({dir}
  // and {manager} follow); DIR is made when missing.
  RegisterCommand("copy-manager", 1, [](Session& s, const Line& l) {
    MakeDirectories(l.args[0]);
    const std::string target = l.args[0] + "\\vandrel.exe";
    Expect(CopyFileA(s.managerPath.c_str(), target.c_str(), FALSE) != FALSE, "cannot copy the manager to " + target);
    s.managerPath = target;
    s.managerDir = l.args[0];
  });

  // hold-file PATH: keeps the file open, sharing nothing, until
  // release-files (a file in use, which the shell cannot delete).
  RegisterCommand("hold-file", 1, [](Session&, const Line& l) {
    HANDLE file = CreateFileA(l.args[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Expect(file != INVALID_HANDLE_VALUE, "cannot open " + l.args[0]);
    HeldFiles().push_back(file);
  });
  RegisterCommand("release-files", 0, [](Session&, const Line&) {
    for (HANDLE file : HeldFiles()) CloseHandle(file);
    HeldFiles().clear();
  });

  RegisterCommand("expect-no-file", 1, [](Session&, const Line& l) {
    Expect(GetFileAttributesA(l.args[0].c_str()) == INVALID_FILE_ATTRIBUTES, l.args[0] + " exists");
  });

  RegisterCommand("expect-dir", 1, [](Session&, const Line& l) {
    Expect(IsDirectory(l.args[0]), "no directory " + l.args[0]);
  });

  // A message box of the manager: its caption and, when given, its text.
  RegisterCommand("expect-box", 1, [](Session& s, const Line& l) {
    HWND box = WaitForBox(s, l.args[0]);
    if (l.args.size() > 1) {
      const std::string text = WindowText(GetDlgItem(box, 0xFFFF));
      Expect(text == l.args[1], "the box says \"" + text + "\"");
    }
  });

  // Presses a button of the box captioned args[0], by the button's text.
  RegisterCommand("answer-box", 2, [](Session& s, const Line& l) {
    HWND box = WaitForBox(s, l.args[0]);
    HWND button = FindChild(box, "Button", l.args[1]);
    Expect(button != nullptr, "the box has no button \"" + l.args[1] + "\"");
    PostMessageA(button, BM_CLICK, 0, 0);
    Expect(WaitFor([&]() -> HWND { return IsWindow(box) ? nullptr : box; }, 5000) != nullptr,
           "the box stayed open");
  });
  return true;
}();

}  // namespace

}  // namespace e2e
