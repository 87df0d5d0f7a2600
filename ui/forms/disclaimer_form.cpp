#include "ui/forms/disclaimer_form.h"

#include <array>

namespace ui {

namespace {

constexpr const char* kPanel = "Panel1";
constexpr TLooks kPanelLooks{.color = clVandrelSand, .bevelOuter = TBevelCut::bvRaised,
                             .bevelInner = TBevelCut::bvLowered, .bevelWidth = 2};
// Fonts hold a std::string: const, not constexpr, which clang (the fuzz
// build) does not evaluate at compile time with GCC's standard library.
const TFont kProductNameFont{.Name = "Segoe UI", .Height = 12, .Bold = true};

constexpr std::array<ControlDescription, 7> kDisclaimerControls = {{
    {.name = "Panel1", .width = 323, .height = 278, .text = "", .align = TAlign::alClient, .looks = kPanelLooks},
    {.name = "Image1", .parent = kPanel, .left = 146, .top = 12, .width = 32, .height = 32},
    {.name = "ProductName", .parent = kPanel, .left = 82, .top = 51, .width = 151, .height = 15,
     .text = "Vandrel Download Manager", .font = &kProductNameFont, .alignment = TAlignment::taCenter,
     .wordWrap = true},
    // Disabled: the user can neither focus nor edit it. Its lines come from the form.
    {.name = "RichEdit1", .parent = kPanel, .left = 10, .top = 75, .width = 301, .height = 125,
     .enabled = false, .tabOrder = 0, .alignment = TAlignment::taCenter, .readOnly = true},
    {.name = "CheckBox1", .parent = kPanel, .left = 54, .top = 213, .width = 214, .height = 17,
     .text = "Agreed, I would like to open the website.", .tabOrder = 1},
    {.name = "BitBtn1", .parent = kPanel, .left = 81, .top = 240, .width = 75, .height = 25, .text = "&Yes",
     .enabled = false, .tabOrder = 2, .kind = TBitBtnKind::bkYes,
     .looks = {.glyph = "YES", .numGlyphs = 2}},
    {.name = "BitBtn2", .parent = kPanel, .left = 168, .top = 240, .width = 75, .height = 25, .text = "&No",
     .tabOrder = 3, .kind = TBitBtnKind::bkNo,
     .looks = {.glyph = "NO", .numGlyphs = 2}},
}};

}  // namespace

const FormDescription kDisclaimerFormDescription = {
    .caption = "Open external website",
    .clientWidth = 323,
    .clientHeight = 278,
    .borderStyle = TBorderStyle::bsSizeable,
    .borderIcons = biSystemMenu | biMinimize | biMaximize,
    .font = {.Name = "MS Sans Serif", .Height = 11, .Charset = kDefaultCharset},
    .controls = kDisclaimerControls,
};

}  // namespace ui
