#include "ui/forms/main_form.h"

#include <array>

namespace ui {

namespace {

constexpr const char* kPanel = "Panel1";

// Sand face, raised outer and lowered inner bevel with a gap between them.
constexpr TLooks kPanelLooks{.color = clVandrelSand, .bevelOuter = TBevelCut::bvRaised,
                             .bevelInner = TBevelCut::bvLowered, .bevelWidth = 2, .borderWidth = 2};
constexpr TLooks kHand{.cursor = TCursor::crHandPoint};
constexpr TLooks HandWithGlyph(const char* glyph, int images,
                               TButtonLayout layout = TButtonLayout::blGlyphLeft) {
  return {.cursor = TCursor::crHandPoint, .glyph = glyph, .numGlyphs = images, .layout = layout};
}

// Top to bottom, left to right. Tab goes through the list, the buttons
// beside it, the field and the buttons below in this order; the icon takes
// no focus (F1 opens the About box).
constexpr std::array<ControlDescription, 16> kMainControls = {{
    {.name = "Panel1", .width = 443, .height = 411, .text = "", .align = TAlign::alClient, .clientEdge = true,
     .looks = kPanelLooks},
    {.name = "Label1", .parent = kPanel, .left = 18, .top = 16, .width = 267, .height = 30,
     .text = "Which program would you like to download and install or update ? Please select program ...",
     .bold = true, .wordWrap = true},
    {.name = "Image1", .parent = kPanel, .left = 343, .top = 15, .width = 32, .height = 32,
     .hint = "About Vandrel MIDI software", .looks = kHand},
    {.name = "ComboBox1", .parent = kPanel, .left = 18, .top = 58, .width = 271, .height = 23, .tabOrder = 0,
     .looks = kHand},
    {.name = "SpeedButton1", .parent = kPanel, .left = 304, .top = 58, .width = 114, .height = 23,
     .text = "Website             ", .tabOrder = 1, .looks = HandWithGlyph("GLOBE", 2)},
    {.name = "SpeedButton7", .parent = kPanel, .left = 304, .top = 86, .width = 114, .height = 23,
     .text = "Viruscheck        ", .tabOrder = 2, .hint = "Perform a virus check using \"VirusTotal\"",
     .looks = HandWithGlyph("VIRUSCHECK", 1)},
    {.name = "Label2", .parent = kPanel, .left = 18, .top = 99, .width = 256, .height = 30,
     .text = "Where should the program be installed or updated ? Please confirm or select directory ...",
     .bold = true, .wordWrap = true},
    {.name = "SpeedButton9", .parent = kPanel, .left = 304, .top = 114, .width = 114, .height = 23,
     .text = "Explorer            ", .tabOrder = 3, .looks = HandWithGlyph("EXPLORER", 1)},
    {.name = "Edit1", .parent = kPanel, .left = 18, .top = 142, .width = 271, .height = 23, .tabOrder = 4,
     .hint = "Please press 'Return' to exit the input field!"},
    {.name = "SpeedButton2", .parent = kPanel, .left = 304, .top = 142, .width = 114, .height = 23,
     .text = "Select directory", .tabOrder = 5, .looks = HandWithGlyph("SELECT_DIRECTORY", 1)},
    {.name = "SpeedButton3", .parent = kPanel, .left = 18, .top = 192, .width = 401, .height = 25,
     .text = "Download and install selected program", .bold = true, .tabOrder = 6, .looks = kHand},
    {.name = "SpeedButton4", .parent = kPanel, .left = 18, .top = 224, .width = 401, .height = 25,
     .text = "Execute selected program", .enabled = false, .bold = true, .tabOrder = 7, .looks = kHand},
    {.name = "SpeedButton8", .parent = kPanel, .left = 18, .top = 256, .width = 401, .height = 25,
     .text = "Update && reset selected program", .enabled = false, .bold = true, .tabOrder = 8, .looks = kHand},
    {.name = "SpeedButton5", .parent = kPanel, .left = 18, .top = 287, .width = 401, .height = 25,
     .text = "Remove selected program", .enabled = false, .bold = true, .tabOrder = 9, .looks = kHand},
    {.name = "SpeedButton10", .parent = kPanel, .left = 18, .top = 319, .width = 401, .height = 25,
     .text = "Remove this manager itself from the system", .bold = true, .tabOrder = 10, .looks = kHand},
    {.name = "SpeedButton6", .parent = kPanel, .left = 167, .top = 364, .width = 105, .height = 25,
     .text = "EXIT", .bold = true,
     .tabOrder = 11, .looks = HandWithGlyph("EXIT", 2, TButtonLayout::blGlyphRight)},
}};

}  // namespace

const FormDescription kMainFormDescription = {
    .caption = "Download, install, execute or remove software ...",
    .clientWidth = 443,
    .clientHeight = 411,
    .borderStyle = TBorderStyle::bsSingle,
    .borderIcons = biSystemMenu | biMinimize | biHelp,
    .position = TPosition::poScreenCenter,
    .font = {.Name = "Segoe UI", .Height = 12},
    .showHint = true,
    .controls = kMainControls,
};

}  // namespace ui
