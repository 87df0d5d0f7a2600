// The running process (its file, command line, environment) and the
// programs the shell starts for it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace platform {

// How a started program's window shows.
enum class ShowCommand : std::uint8_t { Normal, Hidden };

// A program or document for the shell to start, and what the shell gives back.
struct LaunchRequest {
  WindowHandle owner;
  std::string file;
  std::string parameters;  // empty: none
  ShowCommand show = ShowCommand::Normal;
  // The shell hands back the started process, when it starts one.
  bool returnProcess = false;
  // The shell shows no error box of its own: the caller words every failure.
  bool silent = false;
  ProcessHandle process;  // set by the shell
};

// How the wait for a process ended.
enum class WaitResult : std::uint8_t { Ended, TimedOut, Failed };

class Processes {
 public:
  virtual ~Processes() = default;

  virtual std::string ModuleFileName() = 0;  // full path of the manager's executable
  virtual std::string CommandLine() = 0;     // as the process received it, program name first
  virtual std::string CurrentDirectory() = 0;  // empty when it cannot be read
  // A variable of the process's environment; empty when it is not set.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;

  // Programs.
  virtual bool ShellExecuteExtended(LaunchRequest& request) = 0;
  // ShellExecuteA: opens a page, a directory or a file with the shell. An
  // empty operation, parameters or directory is passed as none (NULL). True
  // when the shell took it.
  virtual bool ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                         const std::string& parameters, const std::string& directory, ShowCommand show) = 0;
  virtual WaitResult WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) = 0;
  virtual void CloseHandle(ProcessHandle process) = 0;
};

}  // namespace platform
