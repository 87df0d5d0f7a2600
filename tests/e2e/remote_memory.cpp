#include "tests/e2e/remote_memory.h"

#include <cstdint>

#include "tests/e2e/driver.h"

namespace e2e {

std::size_t ManagerPointerSize(HANDLE process) {
  BOOL managerOnWow64 = FALSE;
  Expect(IsWow64Process(process, &managerOnWow64) != FALSE, "cannot tell whether the manager is a 32-bit process");
  if constexpr (sizeof(void*) == 8) return managerOnWow64 ? 4 : 8;
  // We are 32-bit: on a 64-bit system (where we run on WoW64 ourselves) a
  // manager that does not is a 64-bit process, out of our pointers' reach.
  BOOL selfOnWow64 = FALSE;
  Expect(IsWow64Process(GetCurrentProcess(), &selfOnWow64) != FALSE, "cannot tell whether the driver is on WoW64");
  Expect(!selfOnWow64 || managerOnWow64, "a 32-bit driver cannot drive a 64-bit manager");
  return 4;
}

RemoteBlock::RemoteBlock(HANDLE process, std::size_t size)
    : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
  Expect(address_ != nullptr, "cannot reach the manager's memory");
  // A 32-bit process's memory lies below 4 GiB; a block beyond would be
  // garbled into the manager's 4-byte pointers.
  const std::uint64_t end = std::uint64_t{reinterpret_cast<std::uintptr_t>(address_)} + size;
  if (ManagerPointerSize(process) == 4 && end > std::uint64_t{1} << 32) {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    throw Failure("the manager's memory came beyond what its 4-byte pointers reach");
  }
}

RemoteBlock::~RemoteBlock() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

LPARAM RemoteBlock::At(std::size_t offset) const {
  return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
}

void RemoteBlock::Write(std::size_t offset, const void* data, std::size_t size) {
  Expect(WriteProcessMemory(process_, reinterpret_cast<void*>(At(offset)), data, size, nullptr) != FALSE,
         "cannot write to the manager's memory");
}

void RemoteBlock::Read(LPARAM address, void* data, std::size_t size) const {
  Expect(ReadProcessMemory(process_, reinterpret_cast<const void*>(address), data, size, nullptr) != FALSE,
         "cannot read the manager's memory");
}

}  // namespace e2e
