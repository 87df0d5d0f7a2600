// A form peer for unit tests: it plays the user of modal showings from a
// script, one step per message the modal loop would serve, and records what
// the form asked of its window.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/forms.h"

namespace testing_support {

struct FormScript {
  // One step per served message, with the form being shown; an empty script
  // ends the showing as an ending application does (Cancel).
  std::deque<std::function<void(ui::TForm& form)>> steps;
  // What the peers were asked, one line each: "Form2 Show", "Form2 Moved 81 150", ...
  std::vector<std::string> log;
};

class ScriptedFormPeer final : public ui::FormPeer {
 public:
  ScriptedFormPeer(ui::TForm& form, FormScript& script) : form_(form), script_(script) {}
  void Show() override;
  void Hide() override;
  void Moved() override;
  void Close() override;
  void BeginModal() override;
  void EndModal() override;
  bool ServeModal() override;

 private:
  void Log(const std::string& what);
  ui::TForm& form_;
  FormScript& script_;
};

// Makes the application give every form it creates a scripted peer for as
// long as it lives; the application's forms are destroyed at its end.
class ScriptedApplication {
 public:
  ScriptedApplication();
  ~ScriptedApplication();
  ScriptedApplication(const ScriptedApplication&) = delete;
  ScriptedApplication& operator=(const ScriptedApplication&) = delete;

  FormScript script;
};

}  // namespace testing_support
