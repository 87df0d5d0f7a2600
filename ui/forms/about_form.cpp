#include "ui/forms/about_form.h"

#include <array>

#include "vandrel_version.h"

namespace ui {

namespace {

constexpr const char* kPanel = "Panel1";
constexpr TLooks kPanelLooks{.color = clVandrelSand, .bevelOuter = TBevelCut::bvRaised,
                             .bevelInner = TBevelCut::bvLowered, .bevelWidth = 2};
// Fonts hold a std::string: const, not constexpr, which clang (the fuzz
// build) does not evaluate at compile time with GCC's standard library.
const TFont kLabelFont{.Name = "Segoe UI", .Height = 12};
const TFont kProductNameFont{.Name = "Segoe UI", .Height = 12, .Bold = true};
const TFont kAddressFont{.Name = "Segoe UI", .Height = 12, .Color = clBlue};

constexpr std::array<ControlDescription, 7> kAboutControls = {{
    {.name = "Panel1", .left = 8, .top = 5, .width = 253, .height = 151, .text = "", .looks = kPanelLooks},
    {.name = "Image1", .parent = kPanel, .left = 111, .top = 12, .width = 32, .height = 32},
    {.name = "ProductName", .parent = kPanel, .left = 48, .top = 51, .width = 154, .height = 30,
     .text = "Vandrel Download Manager Version " VANDREL_VERSION, .font = &kProductNameFont,
     .alignment = TAlignment::taCenter, .wordWrap = true},
    {.name = "Copyright", .parent = kPanel, .left = 9, .top = 87, .width = 235, .height = 16,
     .text = "Copyright (c) 2026 Vandrel MIDI software", .font = &kLabelFont, .alignment = TAlignment::taCenter},
    {.name = "Comments", .parent = kPanel, .left = 10, .top = 105, .width = 232, .height = 18,
     .text = "Free MIDI tools for musicians", .font = &kLabelFont,
     .alignment = TAlignment::taCenter},
    {.name = "Label4", .parent = kPanel, .left = 52, .top = 127, .width = 54, .height = 15, .text = "Web URL :",
     .font = &kLabelFont, .autoSize = true},
    // Its hint is the address it opens, with the scheme. It and "Web URL :"
    // take the size of their text, as labels do unless given a fixed one.
    {.name = "Home", .parent = kPanel, .left = 110, .top = 127, .width = 91, .height = 15,
     .text = "vandrel-midi.example", .font = &kAddressFont, .hint = "https://vandrel-midi.example/",
     .autoSize = true,
     .looks = {.cursor = TCursor::crHandPoint, .hintDisplay = THintDisplay::hdShown}},
}};

}  // namespace

const FormDescription kAboutFormDescription = {
    .caption = "About ...",
    .clientWidth = 268,
    .clientHeight = 161,
    .borderStyle = TBorderStyle::bsDialog,
    .borderIcons = 0,
    .position = TPosition::poScreenCenter,
    .formStyle = TFormStyle::fsStayOnTop,
    .keyPreview = true,
    .font = {.Name = "MS Sans Serif", .Height = 11, .Color = clBlack},
    .color = clBtnShadow,
    .showHint = false,
    .hint = "info@vandrel-midi.example",  // the maker's contact; hints are off for the box itself
    .controls = kAboutControls,
};

}  // namespace ui
