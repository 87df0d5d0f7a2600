// The main window on a scripted platform, as the tests of its start-up, its
// shared operations and its actions drive it: started on an entry and a
// directory, with what it said read back from the platform's record.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "manager/main_window.h"
#include "tests/support/fake_platform.h"
#include "tests/support/main_window_states.h"

namespace testing_support {

class MainWindowFixture : public ::testing::Test {
 protected:
  // The standard error box is recorded with the platform's calls, in order,
  // as "ErrorBox <caption>: <text>".
  MainWindowFixture() : savedTitle_(ui::Application.Title), savedErrorBox_(ui::Application.ShowException) {
    ui::Application.Title = "Vandrel download manager";
    ui::Application.ShowException = [this](const std::string& text) {
      os.calls.push_back("ErrorBox " + ui::Application.Title + ": " + text);
    };
  }
  ~MainWindowFixture() override {
    ui::Application.Title = savedTitle_;
    ui::Application.ShowException = savedErrorBox_;
  }

  // A new main window, made as the main routine makes it; non-empty
  // `arguments` follow the program's path on its command line.
  manager::TForm1& Start(const std::string& arguments = "") {
    if (!arguments.empty()) os.commandLine = "\"C:\\Tools\\vandrel.exe\" " + arguments;
    form = std::make_unique<manager::TForm1>(nullptr, os);
    return *form;
  }
  // A new main window with `index` selected and `directory` in the field; the
  // calls made until then are forgotten.
  manager::TForm1& Start(int index, const std::string& directory) {
    Start();
    Select(index);
    form->Edit1.SetText(directory);
    os.calls.clear();
    return *form;
  }
  void Select(int index) { form->ComboBox1.UserSelected(index); }
  std::string Buttons() const { return GovernedButtons(*form); }

  // The message boxes, dialogs and error boxes shown, in order, as recorded.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> boxes;
    for (const auto& call : os.calls) {
      for (const char* kind : {"SystemMessageBox ", "ShowMessageDialog ", "ErrorBox "}) {
        if (call.rfind(kind, 0) == 0) boxes.push_back(call);
      }
    }
    return boxes;
  }
  // Their texts, without the owner and the caption (a box's style stays).
  std::vector<std::string> Said() const {
    std::vector<std::string> said;
    for (const auto& box : Boxes()) said.push_back(box.substr(box.find(": ") + 2));
    return said;
  }

  FakePlatform os;
  std::unique_ptr<manager::TForm1> form;  // made and destroyed while the platform lives

 private:
  std::string savedTitle_;
  std::function<void(const std::string&)> savedErrorBox_;
};

}  // namespace testing_support
