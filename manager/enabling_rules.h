// Which of the main window's controls may be used, as one function of what
// the window knows. The controls not named here are always enabled.
#pragma once

namespace manager {

struct ActionState {
  int entry = 0;                // the selected catalogue entry
  bool programPresent = false;  // its program file lies in the install directory
  bool protectedMode = false;   // started with "/x DNR": nothing but installs, and never in the own directory
  bool ownDirectory = false;    // the install directory is the manager's own
};

struct EnabledControls {
  bool directoryField = false;
  bool selectDirectory = false;
  bool install = false;
  bool execute = false;
  bool removeProgram = false;
  bool updateAndReset = false;
  bool operator==(const EnabledControls&) const = default;
};

EnabledControls EnabledFor(const ActionState& state);

}  // namespace manager
