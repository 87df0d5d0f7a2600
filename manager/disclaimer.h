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

  ui::TPanel Panel1{this, "Panel1"};
  ui::TImage Image1{this, "Image1"};
  ui::TLabel ProductName{this, "ProductName"};
  ui::TRichEdit RichEdit1{this, "RichEdit1"};
  ui::TCheckBox CheckBox1{this, "CheckBox1"};
  ui::TBitBtn BitBtn1{this, "BitBtn1"};
  ui::TBitBtn BitBtn2{this, "BitBtn2"};

  void FormShow(ui::TObject* sender);
  void CheckBox1Click(ui::TObject* sender);
};

// The disclaimer, created at start and kept until the end.
extern TForm2* Form2;

}  // namespace manager
