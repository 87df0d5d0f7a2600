#include "manager/about_box.h"

#include "ui/form_description.h"
#include "ui/forms/about_form.h"

namespace manager {

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(ui::TComponent* owner, platform::ShellOpener& opener) : ui::TForm(owner), opener_(opener) {
  Name = "AboutBox";
  ui::LoadForm(*this, ui::kAboutFormDescription);

  const ui::TNotifyEvent click = [this](ui::TObject* sender) { FormClick(sender); };
  OnClick = click;
  Panel1.OnClick = click;
  ProductName.OnClick = click;
  Copyright.OnClick = click;
  Comments.OnClick = click;
  Label4.OnClick = click;
  Image1.OnClick = click;
  Home.OnClick = [this](ui::TObject* sender) { Image2Click(sender); };
  OnClose = [this](ui::TObject* sender, ui::TCloseAction& action) { FormClose(sender, action); };
  OnKeyPress = [this](ui::TObject* sender, char& key) { FormKeyPress(sender, key); };
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::FormClose(ui::TObject* /*sender*/, ui::TCloseAction& action) { action = ui::TCloseAction::caFree; }

void TAboutBox::FormClick(ui::TObject* /*sender*/) { Close(); }

void TAboutBox::FormKeyPress(ui::TObject* /*sender*/, char& key) {
  key = '\0';
  Close();
}

// The web address label opens the address its hint holds.
void TAboutBox::Image2Click(ui::TObject* /*sender*/) {
  const ui::TForm* main = ui::Application.MainForm();
  opener_.ShellOpen(main != nullptr ? main->WindowHandle() : platform::WindowHandle{}, "", Home.Hint, "", "",
                    platform::ShowCommand::Normal);
}

}  // namespace manager
