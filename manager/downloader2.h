// The external-website disclaimer: shown modally before a page of another
// maker opens; Yes only while the agreement box is ticked.
#pragma once

#include "ui/forms.h"

namespace manager {

// The eighteen lines of the disclaimer text.
extern const std::vector<std::string> kDisclaimerLines;

class TForm2 : public ui::TForm {
 public:
  explicit TForm2(ui::TComponent* owner);

  ui::TPanel Panel1{this};
  ui::TImage Image1{this};
  ui::TLabel ProductName{this};
  ui::TRichEdit RichEdit1{this};
  ui::TCheckBox CheckBox1{this};
  ui::TBitBtn BitBtn1{this};
  ui::TBitBtn BitBtn2{this};

  void FormShow(ui::TObject* sender);
  void CheckBox1Click(ui::TObject* sender);
};

// The disclaimer, created at start and kept until the end.
extern TForm2* Form2;

}  // namespace manager
