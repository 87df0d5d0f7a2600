#include "manager/enabling_rules.h"

#include "catalogue/catalogue.h"

namespace manager {

EnabledControls EnabledFor(const ActionState& state) {
  // Another maker's program: only its page, through the install button.
  if (!catalogue::IsOwnProgram(state.entry)) return {.install = true};
  if (state.protectedMode) {
    // An installed program is never started, updated or removed from here;
    // in the manager's own directory not even an install is offered.
    if (state.ownDirectory) return {.directoryField = true};
    return {.directoryField = true, .selectDirectory = true, .install = true};
  }
  const bool present = state.programPresent;
  return {.directoryField = true,
          .selectDirectory = true,
          .install = !present,
          .execute = present,
          .removeProgram = present && catalogue::CanBeRemoved(state.entry),
          .updateAndReset = present && catalogue::CanBeRemoved(state.entry) && catalogue::HasUpdateInstaller(state.entry)};
}

}  // namespace manager
