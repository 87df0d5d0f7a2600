// What a window and its controls look like, as values the form descriptions
// carry: colours, fonts, text alignment, borders and placement.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

// A colour: R, G and B in the low three bytes (blue highest), or a system
// colour (kSystemColour plus the system's colour index).
using TColor = std::uint32_t;
inline constexpr TColor kSystemColour = 0xFF000000u;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clBlue = 0xFF0000u;
inline constexpr TColor clWindowText = kSystemColour | 8;   // COLOR_WINDOWTEXT
inline constexpr TColor clBtnFace = kSystemColour | 15;     // COLOR_BTNFACE
inline constexpr TColor clBtnShadow = kSystemColour | 16;   // COLOR_BTNSHADOW
// The sand colour of the panels of every window of the program.
inline constexpr TColor clVandrelSand = 10995665u;  // R 209, G 199, B 167

inline constexpr std::uint8_t kAnsiCharset = 0;
inline constexpr std::uint8_t kDefaultCharset = 1;

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = 11;  // character height in pixels
  bool Bold = false;
  TColor Color = clWindowText;
  std::uint8_t Charset = kAnsiCharset;

  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TAlignment { taLeftJustify, taCenter };

enum class TBorderStyle { bsSingle, bsSizeable, bsDialog };

// Title-bar icons, combined with |.
using TBorderIcons = unsigned;
inline constexpr TBorderIcons biSystemMenu = 1;
inline constexpr TBorderIcons biMinimize = 2;
inline constexpr TBorderIcons biMaximize = 4;
inline constexpr TBorderIcons biHelp = 8;

// Where a form shows: where it was put, or in the centre of the screen.
enum class TPosition { poDesigned, poScreenCenter };

enum class TFormStyle { fsNormal, fsStayOnTop };

// One edge of a panel's bevel.
enum class TBevelCut { bvNone, bvLowered, bvRaised };

// The mouse pointer over a control.
enum class TCursor { crDefault, crHandPoint };

// Where a button's glyph sits beside its caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight };

// Whether a control's hint is shown: as its form says, or always.
enum class THintDisplay { hdParent, hdShown };

// What a control looks like beyond its font and alignment. Only literal
// values, so that form descriptions can hold them as constants.
struct TLooks {
  // Panels: their colour (also the background of the labels on them) and
  // their bevels: the outer edge, then borderWidth pixels of the panel's
  // colour, then the inner edge, each edge bevelWidth pixels wide.
  TColor color = clBtnFace;
  TBevelCut bevelOuter = TBevelCut::bvNone;
  TBevelCut bevelInner = TBevelCut::bvNone;
  int bevelWidth = 1;
  int borderWidth = 0;
  TCursor cursor = TCursor::crDefault;
  // Buttons: the name of a bitmap resource holding numGlyphs images of equal
  // width side by side (normal, then disabled); nullptr: none. The colour of
  // its lower-left pixel is drawn see-through.
  const char* glyph = nullptr;
  int numGlyphs = 1;
  TButtonLayout layout = TButtonLayout::blGlyphLeft;
  THintDisplay hintDisplay = THintDisplay::hdParent;
};

}  // namespace ui
