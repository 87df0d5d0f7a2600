#include "manager/enabling_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using manager::ActionState;
using manager::EnabledFor;

// The enabled controls as letters: directory field, select directory,
// install, execute, remove, update; "-" for a disabled one.
std::string Letters(const ActionState& state) {
  const manager::EnabledControls e = EnabledFor(state);
  std::string letters;
  for (const auto& [on, letter] : {std::pair{e.directoryField, 'F'}, {e.selectDirectory, 'S'}, {e.install, 'I'},
                                   {e.execute, 'X'}, {e.removeProgram, 'R'}, {e.updateAndReset, 'U'}}) {
    letters += on ? letter : '-';
  }
  return letters;
}

TEST(EnablingRules, EachStateEnablesItsControls) {
  struct Row {
    int entry;
    bool present, protectedMode, ownDirectory;
    const char* enabled;
  };
  const Row rows[] = {
      {0, false, false, false, "FSI---"},  // not installed: install it
      {0, true, false, false, "FS-XRU"},   // installed: start, remove, update
      {2, true, false, false, "FS-XRU"},   // the portable edition alike
      {3, true, false, true, "FS-XRU"},    // the own directory matters only when protected
      {4, true, false, false, "FS-X--"},   // installed into another's directory: only started
      {4, false, false, false, "FSI---"},
      {1, true, true, false, "FSI---"},    // protected: only installs, also over an installed one
      {1, false, true, true, "F-----"},    // protected, in the own directory: nothing but typing
      {5, false, false, false, "--I---"},  // another maker's program: its page, through install
      {12, true, true, true, "--I---"},
  };
  for (const Row& row : rows) {
    const ActionState state{
        .entry = row.entry, .programPresent = row.present, .protectedMode = row.protectedMode, .ownDirectory = row.ownDirectory};
    EXPECT_EQ(Letters(state), row.enabled) << "entry " << row.entry << " present " << row.present << " protected "
                                           << row.protectedMode << " own " << row.ownDirectory;
  }
}

}  // namespace
