#include "manager/main_window.h"

#include "catalogue/managed_programs.h"
#include "manager/command_line.h"
#include "manager/directory_text.h"
#include "manager/enabling_rules.h"
#include "ui/forms/main_form.h"

namespace manager {

using catalogue::IsOwnProgram;

TForm1::TForm1(ui::TComponent* owner, const platform::Platform& os) : ui::TForm(owner), os_(os) {
  SelDir1.Name = "SelDir1";
  Name = "Form1";
  ui::LoadForm(*this, ui::kMainFormDescription);
  SelDir1.SetPlatform(os_);
  SelDir1.OSHelpContext = 0;
  SelDir1.Title = "Select directory";
  ComboBox1.Items.clear();
  for (const catalogue::Entry& entry : catalogue::kEntries) ComboBox1.Items.emplace_back(entry.displayName);

  OnCreate = [this](ui::TObject* sender) { FormCreate(sender); };
  OnClose = [this](ui::TObject* sender, ui::TCloseAction& action) { FormClose(sender, action); };
  OnEndSession = [this](ui::TObject* sender) { FormEndSession(sender); };
  OnHelp = [this](ui::TObject*) { ShowAbout(); };
  ComboBox1.OnChange = [this](ui::TObject* sender) { ComboBox1Change(sender); };
  Edit1.OnChange = [this](ui::TObject*) { ValidateDirectory(); };
  Edit1.OnExit = [this](ui::TObject*) { ValidateDirectory(); };
  Edit1.OnKeyPress = [this](ui::TObject* sender, char& key) { Edit1KeyPress(sender, key); };
  for (const ActionRow& row : Actions()) {
    row.control.OnClick = [this, action = row.action](ui::TObject*) { (this->*action)(); };
  }

  OnCreate(this);
}

// The main window's actions: the control, what its click does and the rule
// that enables it (none: always enabled).
std::array<TForm1::ActionRow, 11> TForm1::Actions() {
  return {{
      {SpeedButton1, &TForm1::ShowWebsite, nullptr},
      {SpeedButton2, &TForm1::SelectDirectory, &EnabledControls::selectDirectory},
      {SpeedButton3, &TForm1::Install, &EnabledControls::install},
      {SpeedButton4, &TForm1::Execute, &EnabledControls::execute},
      {SpeedButton5, &TForm1::RemoveProgram, &EnabledControls::removeProgram},
      {SpeedButton6, &TForm1::ExitManager, nullptr},
      {SpeedButton7, &TForm1::CheckLinkForViruses, nullptr},
      {SpeedButton8, &TForm1::UpdateAndReset, &EnabledControls::updateAndReset},
      {SpeedButton9, &TForm1::OpenInstallDirectory, nullptr},
      {SpeedButton10, &TForm1::RemoveManager, nullptr},
      {Image1, &TForm1::ShowAbout, nullptr},
  }};
}

std::string TForm1::ProgramPath(int index) const { return catalogue::ProgramPath(FInstallDir, index); }

void TForm1::FormCreate(ui::TObject* /*sender*/) {
  auto arguments = SplitCommandLine(os_.environment.CommandLine());
  if (!arguments.empty()) arguments.erase(arguments.begin());  // the program name
  const StartOptions options = ReadStartOptions(arguments);
  FProtectOwnDir = options.protectOwnDir;
  FDeleteOnClose = options.deleteOnClose;

  ComboBox1.SetItemIndex(0);
  FDirList = catalogue::LoadDirList(os_.files, os_.environment.ModuleFileName());
  // The loader guarantees a whole number naming a line of the list.
  const int remembered = catalogue::SelectedEntry(*FDirList);
  if (remembered < catalogue::kEntryCount) ComboBox1.SetItemIndex(remembered);
  Edit1.SetText((*FDirList)[remembered]);
  // A run that ended without cleaning up (a crash) may have left a download's
  // part file where the setup files go: the install directories.
  for (int index = 0; index < catalogue::kOwnProgramCount; ++index) {
    const std::string& folder = (*FDirList)[static_cast<std::size_t>(index)];
    if (!folder.empty()) os_.downloads.RemoveLeftPartFiles(folder);
  }
  ValidateDirectory();
}

void TForm1::ComboBox1Change(ui::TObject* /*sender*/) {
  const int index = ComboBox1.ItemIndex();
  if (IsOwnProgram(index) && FDirList) Edit1.SetText((*FDirList)[index]);
  ValidateDirectory();
}

void TForm1::ValidateDirectory() {
  ActionState state{.entry = ComboBox1.ItemIndex(), .protectedMode = FProtectOwnDir};
  if (IsOwnProgram(state.entry)) {
    FInstallDir = CleanDirectoryText(Edit1.Text());
    if (FDirList) (*FDirList)[state.entry] = FInstallDir;
    if (!FProtectOwnDir) {
      state.programPresent = os_.files.FileExists(ProgramPath(state.entry));
    } else {
      state.ownDirectory = IsOwnDirectory(os_.environment.ModuleFileName(), FInstallDir);
    }
  } else {
    // A link-only entry: emptying the field runs this once more, inside.
    Edit1.SetText("");
  }

  const EnabledControls enabled = EnabledFor(state);
  Edit1.SetEnabled(enabled.directoryField);
  for (const ActionRow& row : Actions()) {
    if (row.rule != nullptr) row.control.SetEnabled(enabled.*row.rule);
  }
}

void TForm1::Edit1KeyPress(ui::TObject* /*sender*/, char& key) {
  if (key != '\r') return;
  key = '\0';
  Panel1.SetFocus();  // leaving the field raises its exit event
}

void TForm1::PutOffClose() {
  closeRequested_ = true;
  fetchStop_.RequestStop();
}

TForm1::ActionScope::~ActionScope() {
  if (--form_.busyActions_ > 0) return;
  form_.heldSetup_ = {};
  // After the session's end there is nothing left to close: the program ends.
  if (!form_.closeRequested_ || form_.sessionEnded_) return;
  form_.closeRequested_ = false;
  try {
    form_.Close();
  } catch (...) {
    ui::Application.HandleCurrentException();
  }
}

}  // namespace manager
