#include "platform/shell_folders.h"

namespace platform {

ShellAllocator::ShellAllocator(ShellFolders& shell) : shell_(shell), result_(shell.ShGetMalloc(allocator_)) {}

ShellAllocator::~ShellAllocator() {
  if (allocator_) shell_.AllocatorRelease(allocator_);
}

void ShellAllocator::Free(ItemIdList itemList) {
  if (allocator_ && itemList) shell_.AllocatorFree(allocator_, itemList);
}

ItemIdList LocateSpecialFolder(ShellFolders& shell, ShellAllocator& allocator, WindowHandle owner, SpecialFolder folder) {
  ItemIdList itemList;
  if (shell.ShGetSpecialFolderLocation(owner, folder, itemList) == 0) return itemList;
  allocator.Free(itemList);  // a failed call should give none; nothing is left behind if it did
  return {};
}

std::string SpecialFolderPath(ShellFolders& shell, ShellAllocator& allocator, WindowHandle owner, SpecialFolder folder) {
  const ItemIdList itemList = LocateSpecialFolder(shell, allocator, owner, folder);
  if (!itemList) return {};
  std::string path;
  if (!shell.ShGetPathFromIdList(itemList, path)) path.clear();
  allocator.Free(itemList);
  return path.substr(0, path.find('\0'));
}

}  // namespace platform
