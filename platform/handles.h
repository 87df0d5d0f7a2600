// Operating-system handles as the portable core sees them: opaque values of
// one type per kind, so that a window cannot be passed where a held file is
// expected. The value 0 (the default) is no handle.
#pragma once

#include <cstdint>

namespace platform {

template <class Kind>
struct OpaqueHandle {
  std::uintptr_t value = 0;

  explicit operator bool() const { return value != 0; }
  friend bool operator==(OpaqueHandle, OpaqueHandle) = default;
};

using WindowHandle = OpaqueHandle<struct WindowKind>;
using HeldFileHandle = OpaqueHandle<struct HeldFileKind>;        // a file kept open against change

}  // namespace platform
