// The clipboard.
#pragma once

#include <string>

namespace platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // Replaces its contents with the text (CF_TEXT); false when
  // the clipboard could not be opened or filled. A clipboard that another
  // program holds is waited for, about half a second at most.
  virtual bool SetClipboardText(const std::string& text) = 0;
};

}  // namespace platform
