#include "manager/main_window.h"


#include "catalogue/managed_programs.h"
#include "manager/command_line.h"
#include "manager/directory_text.h"
#include "ui/forms/main_form.h"

namespace manager {

using catalogue::IsOwnProgram;

TForm1::TForm1(ui::TComponent* owner, platform::Platform& os) : ui::TForm(owner), os_(os) {
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
  ComboBox1.OnChange = [this](ui::TObject* sender) { ComboBox1Change(sender); };
  Edit1.OnChange = [this](ui::TObject* sender) { Edit1Exit(sender); };
  Edit1.OnExit = [this](ui::TObject* sender) { Edit1Exit(sender); };
  Edit1.OnKeyPress = [this](ui::TObject* sender, char& key) { Edit1KeyPress(sender, key); };
  SpeedButton1.OnClick = [this](ui::TObject* sender) { SpeedButton1Click(sender); };
  SpeedButton2.OnClick = [this](ui::TObject* sender) { SpeedButton2Click(sender); };
  SpeedButton3.OnClick = [this](ui::TObject* sender) { SpeedButton3Click(sender); };
  SpeedButton4.OnClick = [this](ui::TObject* sender) { SpeedButton4Click(sender); };
  SpeedButton8.OnClick = [this](ui::TObject* sender) { SpeedButton8Click(sender); };
  SpeedButton7.OnClick = [this](ui::TObject* sender) { SpeedButton7Click(sender); };
  SpeedButton9.OnClick = [this](ui::TObject* sender) { SpeedButton9Click(sender); };
  Image1.OnClick = [this](ui::TObject* sender) { Image1Click(sender); };
  SpeedButton5.OnClick = [this](ui::TObject* sender) { SpeedButton5Click(sender); };
  SpeedButton6.OnClick = [this](ui::TObject* sender) { SpeedButton6Click(sender); };
  SpeedButton10.OnClick = [this](ui::TObject* sender) { SpeedButton10Click(sender); };

  OnCreate(this);
}

std::string TForm1::ProgramPath(int index) const { return catalogue::ProgramPath(FInstallDir, index); }

void TForm1::FormCreate(ui::TObject* /*sender*/) {
  auto arguments = SplitCommandLine(os_.CommandLine());
  if (!arguments.empty()) arguments.erase(arguments.begin());  // the program name
  const StartOptions options = ReadStartOptions(arguments);
  FProtectOwnDir = options.protectOwnDir;
  FDeleteOnClose = options.deleteOnClose;

  ComboBox1.SetItemIndex(0);
  FDirList = catalogue::LoadDirList(os_, os_.ModuleFileName());
  // The loader guarantees a whole number naming a line of the list.
  const int remembered = catalogue::SelectedEntry(*FDirList);
  if (remembered < catalogue::kEntryCount) ComboBox1.SetItemIndex(remembered);
  Edit1.SetText((*FDirList)[remembered]);
  Edit1Exit(this);
}

void TForm1::ComboBox1Change(ui::TObject* /*sender*/) {
  const int index = ComboBox1.ItemIndex();
  if (IsOwnProgram(index)) Edit1.SetText((*FDirList)[index]);
  Edit1Exit(this);
}

void TForm1::Edit1Exit(ui::TObject* /*sender*/) {
  const int index = ComboBox1.ItemIndex();
  if (IsOwnProgram(index)) {
    Edit1.SetEnabled(true);
    SpeedButton2.SetEnabled(true);
    FInstallDir = CleanDirectoryText(Edit1.Text());
    if (FDirList) (*FDirList)[index] = FInstallDir;

    if (!FProtectOwnDir) {
      SpeedButton4.SetEnabled(os_.FileExists(ProgramPath(index)));
      SpeedButton3.SetEnabled(!SpeedButton4.Enabled());
      SpeedButton5.SetEnabled(SpeedButton4.Enabled() && catalogue::CanBeRemoved(index));
      SpeedButton8.SetEnabled(SpeedButton5.Enabled() && catalogue::HasUpdateInstaller(index));
    } else if (IsOwnDirectory(os_.ModuleFileName(), FInstallDir)) {
      SpeedButton2.SetEnabled(false);
      SpeedButton3.SetEnabled(false);
      SpeedButton4.SetEnabled(false);
      SpeedButton5.SetEnabled(false);
      SpeedButton8.SetEnabled(false);
    } else {
      SpeedButton3.SetEnabled(true);
    }
    return;
  }

  // A link-only entry: emptying the field runs this once more, inside.
  Edit1.SetText("");
  Edit1.SetEnabled(false);
  SpeedButton2.SetEnabled(false);
  SpeedButton3.SetEnabled(true);
  SpeedButton4.SetEnabled(false);
  SpeedButton5.SetEnabled(false);
  SpeedButton8.SetEnabled(false);
}

void TForm1::Edit1KeyPress(ui::TObject* /*sender*/, char& key) {
  if (key != '\r') return;
  key = '\0';
  Panel1.SetFocus();  // leaving the field raises its exit event
}

TForm1::ActionScope::~ActionScope() {
  if (--form_.busyActions_ > 0 || !form_.closeRequested_) return;
  form_.closeRequested_ = false;
  try {
    form_.Close();
  } catch (...) {
    ui::Application.HandleCurrentException();
  }
}

}  // namespace manager
