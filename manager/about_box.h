// The About box: the maker's notice and web address; any click or typed
// character closes it, a click on the address opens it.
#pragma once

#include "platform/shell_opener.h"
#include "ui/forms.h"

namespace manager {

class TAboutBox : public ui::TForm {
 public:
  TAboutBox(ui::TComponent* owner, platform::ShellOpener& opener);
  ~TAboutBox() override;

  ui::TPanel Panel1{this, "Panel1"};
  ui::TImage Image1{this, "Image1"};
  ui::TLabel ProductName{this, "ProductName"};
  ui::TLabel Copyright{this, "Copyright"};
  ui::TLabel Comments{this, "Comments"};
  ui::TLabel Label4{this, "Label4"};
  ui::TLabel Home{this, "Home"};

  void FormClose(ui::TObject* sender, ui::TCloseAction& action);
  void FormClick(ui::TObject* sender);
  void FormKeyPress(ui::TObject* sender, char& key);
  void Image2Click(ui::TObject* sender);

 private:
  platform::ShellOpener& opener_;
};

// The About box while it exists: it is destroyed after every showing (and
// this becomes nullptr); the main window creates it again before the next.
extern TAboutBox* AboutBox;

}  // namespace manager
