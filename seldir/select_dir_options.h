// The options of the old-style directory dialog, shared by the folder picker
// and the rules that confirm a directory.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace seldir {

// Options of the old-style dialog.
enum class TSelectDirOpt : std::uint8_t { sdAllowCreate, sdPerformCreate, sdPrompt };

// A set of TSelectDirOpt.
class TSelectDirOpts {
 public:
  constexpr TSelectDirOpts() = default;
  constexpr TSelectDirOpts(std::initializer_list<TSelectDirOpt> options) {
    for (TSelectDirOpt option : options) Include(option);
  }
  constexpr void Include(TSelectDirOpt option) { bits_ |= Bit(option); }
  constexpr bool Contains(TSelectDirOpt option) const { return (bits_ & Bit(option)) != 0; }
  constexpr bool operator==(const TSelectDirOpts&) const = default;

 private:
  static constexpr std::uint8_t Bit(TSelectDirOpt option) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
  }
  std::uint8_t bits_ = 0;
};

}  // namespace seldir
