// Form descriptions: a window's layout and looks as data, loaded onto the
// form's own control objects by name (the controls are members of the form
// class). Rows name their fields:
//   {.name = "SpeedButton3", .parent = "Panel1", .left = 18, .top = 192,
//    .width = 401, .height = 25, .text = "Download and install selected program", .bold = true},
#pragma once

#include <span>

#include "ui/forms.h"

namespace ui {

struct ControlDescription {
  const char* name = nullptr;
  const char* parent = nullptr;  // name of the parent control; nullptr: the form itself
  int left = 0, top = 0, width = 0, height = 0;
  const char* text = nullptr;
  bool enabled = true;
  bool bold = false;        // bold face of the window's font
  const TFont* font = nullptr;  // a font of its own; nullptr: the window's font
  int tabOrder = -1;        // -1: no tab stop (graphic controls take no focus)
  const char* hint = nullptr;
  TAlign align = TAlign::alNone;
  TAlignment alignment = TAlignment::taLeftJustify;
  bool wordWrap = false;
  bool autoSize = false;    // labels only: the size of the text instead of width and height
  TBitBtnKind kind = TBitBtnKind::bkCustom;  // glyph buttons only
  bool readOnly = false;    // rich text boxes only
  bool clientEdge = false;  // panels only: the platform's sunken edge
  TLooks looks{};           // colour, bevels, cursor, glyph, hint display
};

struct FormDescription {
  const char* caption = nullptr;
  int clientWidth = 0, clientHeight = 0;
  TBorderStyle borderStyle = TBorderStyle::bsSizeable;
  TBorderIcons borderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition position = TPosition::poDesigned;
  TFormStyle formStyle = TFormStyle::fsNormal;
  bool keyPreview = false;
  TFont font{};
  TColor color = clBtnFace;
  bool showHint = false;
  const char* hint = nullptr;
  std::span<const ControlDescription> controls;
};

// Sets the form's caption, size and looks and every described control's
// place, text, state and parent. A description naming a control the form
// lacks, or setting a field its kind has not (a tab order on a label), is a
// programming error and throws std::logic_error.
void LoadForm(TForm& form, const FormDescription& description);

}  // namespace ui
