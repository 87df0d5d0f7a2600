// What the small platform doubles share: one record of the calls they
// answered, in order, whichever double answered them.
#pragma once

#include <string>
#include <vector>

#include "platform/handles.h"

namespace testing_support {

// A double stands for one machine: it is not copied.
struct CallLog {
  CallLog() = default;
  CallLog(const CallLog&) = delete;
  CallLog& operator=(const CallLog&) = delete;

  // One line a call, in order.
  std::vector<std::string> calls;
  int CallCount(const std::string& prefix) const;
};

// The application's window, as the doubles name it.
inline constexpr platform::WindowHandle kApplicationWindow{0xA00};

}  // namespace testing_support
