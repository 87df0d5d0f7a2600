// The shell's special folders, looked up in one way for every caller: the
// folder's item id list from the shell, turned into a path, and the list
// freed with the shell's allocator.
#pragma once

#include <string>

#include "platform/shell_namespace.h"

namespace platform {

// A reference to the shell's allocator, which frees the item id lists the
// shell hands out; released when it goes out of scope. Without one, lists
// are not freed and the lookups go on.
class ShellAllocator {
 public:
  explicit ShellAllocator(ShellFolders& shell);
  ~ShellAllocator();
  ShellAllocator(const ShellAllocator&) = delete;
  ShellAllocator& operator=(const ShellAllocator&) = delete;

  // What the shell answered when asked for it: 0 when the allocator is there.
  long Result() const { return result_; }
  void Free(ItemIdList itemList);

 private:
  ShellFolders& shell_;
  AllocatorHandle allocator_;
  long result_;
};

// The item id list of a special folder, to be freed with `allocator`; none
// when the shell cannot locate the folder.
ItemIdList LocateSpecialFolder(ShellFolders& shell, ShellAllocator& allocator, WindowHandle owner, SpecialFolder folder);

// The file-system path of a special folder as the shell gives it, up to its
// first NUL; empty text when the shell cannot locate the folder or it has no
// path (the computer).
std::string SpecialFolderPath(ShellFolders& shell, ShellAllocator& allocator, WindowHandle owner, SpecialFolder folder);

}  // namespace platform
