// The barrier at every door Windows opens into the program: window and
// dialog procedures, callbacks and the message pump catch everything and
// hand it to the application's error box. Nothing may unwind through the
// system's frames: the 32-bit build cannot, and ends the program if it tries.
#pragma once

#include <string>

namespace platform::win32 {

// Who shows an error that reached a barrier (the application's error box);
// until one is set, the error is dropped.
using ErrorReporter = void (*)(const std::string& message);
void SetErrorReporter(ErrorReporter reporter);

// Inside a catch block: reports the exception being handled. Never throws.
void ReportCurrentException() noexcept;

// Runs `body` and returns its result; an exception is reported and `onError`
// returned instead.
template <class Result, class Body>
Result Guarded(Result onError, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    ReportCurrentException();
    return onError;
  }
}

}  // namespace platform::win32
