#include "tests/support/scripted_form_peer.h"

namespace testing_support {

void ScriptedFormPeer::Log(const std::string& what) { script_.log.push_back(form_.Name + " " + what); }

void ScriptedFormPeer::Show() { Log("Show"); }
void ScriptedFormPeer::Hide() { Log("Hide"); }
void ScriptedFormPeer::Moved() { Log("Moved " + std::to_string(form_.Left) + " " + std::to_string(form_.Top)); }
void ScriptedFormPeer::Close() {
  Log("Close");
  if (form_.CloseQuery()) form_.Hide();
}
void ScriptedFormPeer::BeginModal() { Log("BeginModal"); }
void ScriptedFormPeer::EndModal() { Log("EndModal"); }

bool ScriptedFormPeer::ServeModal() {
  if (script_.steps.empty()) return false;
  auto step = std::move(script_.steps.front());
  script_.steps.pop_front();
  step(form_);
  return true;
}

ScriptedApplication::ScriptedApplication() {
  ui::Application.CreateFormPeer = [this](ui::TForm& form) -> std::unique_ptr<ui::FormPeer> {
    return std::make_unique<ScriptedFormPeer>(form, script);
  };
}

ScriptedApplication::~ScriptedApplication() {
  ui::Application.DestroyForms();
  ui::Application.CreateFormPeer = nullptr;
}

}  // namespace testing_support
