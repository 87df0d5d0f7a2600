// Pages, directories and files opened with the shell, as a user opens them.
#pragma once

#include <string>

#include "platform/handles.h"
#include "platform/processes.h"

namespace platform {

class ShellOpener {
 public:
  virtual ~ShellOpener() = default;

  // ShellExecuteA: opens a page, a directory or a file with the shell. An
  // empty operation, parameters or directory is passed as none (NULL). True
  // when the shell took it.
  virtual bool ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                         const std::string& parameters, const std::string& directory, ShowCommand show) = 0;
};

}  // namespace platform
