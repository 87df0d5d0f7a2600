#include "manager/disclaimer.h"

#include "ui/form_description.h"
#include "ui/forms/disclaimer_form.h"
#include "ui/scaling.h"

namespace manager {

TForm2* Form2 = nullptr;

const std::vector<std::string> kDisclaimerLines = {
    "A link takes you to an external website. We have no influence ",
    "whatsoever on the information on this website and do not",
    "guarantee its correctness or the functionality of the programs",
    "offered there. The respective owner/provider is solely",
    "responsible for the content of this page and the functionality",
    "of the programs offered. At the time of linking this website,",
    "there were no reasons that would constitute a possible",
    "infringement. The link will be removed immediately upon",
    "becoming aware of any legal infringements.",
    "", "", "", "", "", "", "", "", "",
};

TForm2::TForm2(ui::TComponent* owner) : ui::TForm(owner) {
  Name = "Form2";
  ui::LoadForm(*this, ui::kDisclaimerFormDescription);
  RichEdit1.SetLines(kDisclaimerLines);

  OnShow = [this](ui::TObject* sender) { FormShow(sender); };
  CheckBox1.OnClick = [this](ui::TObject* sender) { CheckBox1Click(sender); };
}

void TForm2::FormShow(ui::TObject* /*sender*/) {
  CheckBox1.SetChecked(false);
  BitBtn1.SetEnabled(false);
  // 50 pixels below the main window's top edge, centred on it; C++ division
  // truncates toward zero as the placement wants.
  if (const ui::TForm* main = ui::Application.MainForm(); main != nullptr && main != this) {
    SetPosition(main->Left + (main->Width - Width) / 2, main->Top + ui::Scaled(50, main->PixelsPerInch));
  }
}

void TForm2::CheckBox1Click(ui::TObject* /*sender*/) { BitBtn1.SetEnabled(CheckBox1.Checked()); }

}  // namespace manager
