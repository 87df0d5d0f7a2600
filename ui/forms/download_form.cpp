#include "ui/forms/download_form.h"

#include <array>

namespace ui {

namespace {

constexpr const char* kPanel = "Panel1";
constexpr TLooks kPanelLooks{.color = clVandrelSand, .bevelOuter = TBevelCut::bvRaised,
                             .bevelInner = TBevelCut::bvLowered, .bevelWidth = 2, .borderWidth = 2};

constexpr std::array<ControlDescription, 4> kDownloadControls = {{
    {.name = "Panel1", .width = 380, .height = 118, .text = "", .align = TAlign::alClient, .looks = kPanelLooks},
    {.name = "ProgressBar1", .parent = kPanel, .left = 18, .top = 18, .width = 344, .height = 20},
    {.name = "Label1", .parent = kPanel, .left = 18, .top = 48, .width = 344, .height = 17, .text = ""},
    {.name = "BitBtn1", .parent = kPanel, .left = 152, .top = 78, .width = 75, .height = 25, .text = "Cancel",
     .tabOrder = 0},
}};

}  // namespace

const FormDescription kDownloadFormDescription = {
    .caption = "",
    .clientWidth = 380,
    .clientHeight = 118,
    .borderStyle = TBorderStyle::bsDialog,
    .borderIcons = biSystemMenu,
    .font = {.Name = "Segoe UI", .Height = 12},
    .controls = kDownloadControls,
};

}  // namespace ui
