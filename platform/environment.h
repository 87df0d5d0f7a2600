// The running process as it was started: its file, its command line, its
// current directory and its environment.
#pragma once

#include <string>

namespace platform {

class Environment {
 public:
  virtual ~Environment() = default;

  virtual std::string ModuleFileName() = 0;  // full path of the manager's executable
  virtual std::string CommandLine() = 0;     // as the process received it, program name first
  virtual std::string CurrentDirectory() = 0;  // empty when it cannot be read
  // A variable of the process's environment; empty when it is not set.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;
};

}  // namespace platform
