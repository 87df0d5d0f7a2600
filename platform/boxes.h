// Message boxes: the system's, owned by a window, and the toolkit's own
// message dialog.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace platform {

// A system message box's buttons, icon and default button, and the answer.
enum class BoxButtons : std::uint8_t { Ok, YesNo };
enum class BoxIcon : std::uint8_t { None, Error, Question };
struct BoxStyle {
  BoxButtons buttons = BoxButtons::Ok;
  BoxIcon icon = BoxIcon::None;
  bool secondButtonIsDefault = false;  // else the first
};
enum class BoxAnswer : std::uint8_t { None, Ok, Yes, No };  // None: the box could not be shown
inline constexpr BoxStyle kErrorBox{.buttons = BoxButtons::Ok, .icon = BoxIcon::Error};
inline constexpr BoxStyle kQuestionBox{.buttons = BoxButtons::YesNo, .icon = BoxIcon::Question};
// A question whose Yes loses something (files, the list, the manager): No is
// the default, so that a hasty Enter keeps it.
inline constexpr BoxStyle kQuestionNoByDefault{
    .buttons = BoxButtons::YesNo, .icon = BoxIcon::Question, .secondButtonIsDefault = true};

class Boxes {
 public:
  virtual ~Boxes() = default;

  // A system message box (MessageBoxA) owned by `owner`; a box meant for the
  // application window (or for none) belongs to the active window instead.
  // Modal like the next one.
  virtual BoxAnswer SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                     BoxStyle style) = 0;
  // A system message box owned by the application's active window; while it
  // is shown the application's other windows are disabled, afterwards they
  // are enabled again and the window active before is active again.
  virtual BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption, BoxStyle style) = 0;
  // The toolkit's modal message dialog: text, caption, one OK button, no icon,
  // centred on the screen.
  virtual void ShowMessageDialog(const std::string& text, const std::string& caption) = 0;
};

}  // namespace platform
