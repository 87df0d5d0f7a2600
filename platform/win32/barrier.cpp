#include "platform/win32/barrier.h"

#include <exception>

namespace platform::win32 {

namespace {
ErrorReporter gReporter = nullptr;
}  // namespace

void SetErrorReporter(ErrorReporter reporter) { gReporter = reporter; }

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      if (gReporter != nullptr) gReporter(error.what());
    } catch (...) {
      if (gReporter != nullptr) gReporter("Unknown error");
    }
  } catch (...) {
    // The error box itself failed (out of memory): nothing more can be told.
  }
}

}  // namespace platform::win32
