// The programs the manager starts and waits for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/handles.h"

namespace platform {

// How a started program's window shows.
enum class ShowCommand : std::uint8_t { Normal, Hidden };

// A program (or a document) for the shell to start. The shell shows no error
// box of its own: the caller words every failure.
struct StartRequest {
  WindowHandle owner;
  std::string file;
  std::string parameters;  // empty: none
  ShowCommand show = ShowCommand::Normal;
};

// How the wait for a process ended.
enum class WaitResult : std::uint8_t { Ended, TimedOut, Failed };

// A started program's process, held until this goes.
class RunningProcess {
 public:
  virtual ~RunningProcess() = default;  // lets go of the process; the program runs on
  virtual WaitResult Wait(std::uint32_t milliseconds) = 0;
};

struct StartResult {
  bool started = false;
  // The shell may hand the file to a program that already runs and give no
  // process back: then there is nothing to wait for.
  std::unique_ptr<RunningProcess> process;
};

class Processes {
 public:
  virtual ~Processes() = default;

  [[nodiscard]] virtual StartResult Start(const StartRequest& request) = 0;
};

}  // namespace platform
