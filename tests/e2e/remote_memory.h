// Memory in the manager's process, for message parameters that point to
// data. Records written there must have the manager's layout: a 64-bit driver
// may drive the 32-bit manager, whose handles and pointers take 4 bytes.
#pragma once

#include <windows.h>

#include <cstddef>

namespace e2e {

// The size of a pointer in the manager's process: 4 or 8. A 32-bit driver
// cannot reach into a 64-bit manager; asking fails the scenario.
std::size_t ManagerPointerSize(HANDLE process);

// A block of the manager's memory, freed at the end of the scope. Its
// addresses fit the manager's pointers.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size);
  ~RemoteBlock();
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  // The manager's address of the byte at `offset`, as a message parameter.
  LPARAM At(std::size_t offset) const;
  void Write(std::size_t offset, const void* data, std::size_t size);
  // Reads from any address of the manager's memory.
  void Read(LPARAM address, void* data, std::size_t size) const;

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace e2e
