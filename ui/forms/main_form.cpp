#include "ui/forms/main_form.h"

#include <array>

namespace ui {

namespace {

constexpr bool kRegular = false;
constexpr bool kBold = true;
constexpr int kNoTab = -1;

// name, parent, left, top, width, height, text, enabled, style, tab order, hint
constexpr std::array<ControlDescription, 16> kMainControls = {{
    {"Panel1", nullptr, 0, 0, 443, 411, "", true, kRegular, kNoTab, nullptr},
    {"Label1", "Panel1", 18, 16, 267, 30,
     "Which program would you like to download and install or update ? Please select program ...", true, kBold,
     kNoTab, nullptr},
    {"Image1", "Panel1", 343, 15, 32, 32, "", true, kRegular, kNoTab, "About Vandrel MIDI software"},
    {"ComboBox1", "Panel1", 18, 58, 271, 23, "", true, kRegular, 0, nullptr},
    {"SpeedButton1", "Panel1", 304, 58, 114, 23, "Website             ", true, kRegular, kNoTab, nullptr},
    {"SpeedButton7", "Panel1", 304, 86, 114, 23, "Viruscheck        ", true, kRegular, kNoTab,
     "Perform a virus check using \"VirusTotal\""},
    {"Label2", "Panel1", 18, 99, 256, 30,
     "Where should the program be installed or updated ? Please confirm or select directory ...", true, kBold, kNoTab,
     nullptr},
    {"SpeedButton9", "Panel1", 304, 114, 114, 23, "Explorer            ", true, kRegular, kNoTab, nullptr},
    {"Edit1", "Panel1", 18, 142, 271, 23, "", true, kRegular, 1, "Please press 'Return' to exit the input field!"},
    {"SpeedButton2", "Panel1", 304, 142, 114, 23, "Select directory", true, kRegular, kNoTab, nullptr},
    {"SpeedButton3", "Panel1", 18, 192, 401, 25, "Download and install selected program", true, kBold, kNoTab, nullptr},
    {"SpeedButton4", "Panel1", 18, 224, 401, 25, "Execute selected program", false, kBold, kNoTab, nullptr},
    {"SpeedButton8", "Panel1", 18, 256, 401, 25, "Update && reset selected program", false, kBold, kNoTab, nullptr},
    {"SpeedButton5", "Panel1", 18, 287, 401, 25, "Remove selected program", false, kBold, kNoTab, nullptr},
    {"SpeedButton10", "Panel1", 18, 319, 401, 25, "Remove this manager itself from the system", true, kBold, kNoTab,
     nullptr},
    {"SpeedButton6", "Panel1", 167, 364, 105, 25, "EXIT", true, kBold, kNoTab, nullptr},
}};

}  // namespace

const FormDescription kMainFormDescription = {
    "Download, install, execute or remove software ...", 443, 411, kMainControls};

}  // namespace ui
