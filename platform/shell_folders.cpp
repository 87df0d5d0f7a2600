#include "platform/shell_folders.h"

namespace platform {

ShellAllocator::ShellAllocator(Platform& os) : os_(os), result_(os.ShGetMalloc(allocator_)) {}

ShellAllocator::~ShellAllocator() {
  if (allocator_) os_.AllocatorRelease(allocator_);
}

void ShellAllocator::Free(ItemIdList itemList) {
  if (allocator_ && itemList) os_.AllocatorFree(allocator_, itemList);
}

ItemIdList LocateSpecialFolder(Platform& os, ShellAllocator& allocator, WindowHandle owner, SpecialFolder folder) {
  ItemIdList itemList;
  if (os.ShGetSpecialFolderLocation(owner, folder, itemList) == 0) return itemList;
  allocator.Free(itemList);  // a failed call should give none; nothing is left behind if it did
  return {};
}

std::string SpecialFolderPath(Platform& os, ShellAllocator& allocator, WindowHandle owner, SpecialFolder folder) {
  const ItemIdList itemList = LocateSpecialFolder(os, allocator, owner, folder);
  if (!itemList) return {};
  std::string path;
  if (!os.ShGetPathFromIdList(itemList, path)) path.clear();
  allocator.Free(itemList);
  return path.substr(0, path.find('\0'));
}

}  // namespace platform
