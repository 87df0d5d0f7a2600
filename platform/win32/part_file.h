// A download's part file: beside its target, so that the finished file is
// put in place by a rename on the same volume, through its own handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/scoped.h"

namespace platform::win32 {

// The part file of `selvo100.exe` is `selvo100.exe.vandrel-part` (or, while
// a cancelled transfer's thread still holds that, `selvo100.exe.1.vandrel-part`
// and on): plainly the manager's, and plainly unfinished.
inline constexpr const char* kPartFileSuffix = ".vandrel-part";

class PartFile {
 public:
  // Makes the part file of `target` anew, opened by us alone (others may
  // read it) and deleted by the system when its handle closes, also when
  // the process ends, unless it is placed.
  explicit PartFile(const std::string& target);
  explicit operator bool() const { return static_cast<bool>(file_); }
  HANDLE Handle() const { return file_.get(); }

  // Puts the finished part file of `length` bytes at the target, replacing
  // what lay there, and returns a handle that holds it from then on: others
  // may read it, nobody may change, replace or delete it. The rename goes
  // through the part file's own handle, and the hold is opened from it, never
  // by name. Until the file's length is proven and the rename is done, an
  // older file at the target stays as it was. Null on failure; the part
  // file then goes when this object does.
  OwnedHandle Place(std::uint64_t length);

 private:
  std::string target_;
  OwnedHandle file_;
};

// Deletes the part files (named as above) that earlier runs left in
// `folder`, when no process holds them. Nothing else is touched.
void RemoveLeftPartFiles(const std::string& folder);

}  // namespace platform::win32
