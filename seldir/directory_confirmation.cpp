#include "seldir/directory_confirmation.h"

namespace seldir {

namespace {

void Tell(platform::Platform& os, platform::WindowHandle dialog, const std::string& text) {
  os.SystemMessageBox(dialog, text, kDirectoryDialogCaption, platform::kErrorBox);
}

// "C:\a\b" -> "C:\a", "C:\a" -> "C:\", "\\server\share\a" -> "\\server\share";
// empty when there is no parent to create.
std::string Parent(const std::string& path) {
  const auto separator = path.find_last_of('\\');
  if (separator == std::string::npos || separator < 2) return {};
  if (path[separator - 1] == ':') return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

}  // namespace

bool ForceDirectories(platform::Files& files, const std::string& path) {
  std::string directory = path;
  // Trailing backslashes go, except the one of a drive root.
  while (directory.size() > 1 && directory.back() == '\\' && directory[directory.size() - 2] != ':') {
    directory.pop_back();
  }
  if (directory.empty()) return false;
  if (files.DirectoryExists(directory)) return true;
  const std::string parent = Parent(directory);
  if (!parent.empty() && parent != directory && !ForceDirectories(files, parent)) return false;
  return files.MakeDirectory(directory) || files.DirectoryExists(directory);
}

bool ConfirmDirectory(platform::Platform& os, platform::WindowHandle dialog, const std::string& path,
                      TSelectDirOpts options) {
  if (path.empty()) return false;
  if (os.DirectoryExists(path)) return true;
  if (os.FileExists(path)) {
    Tell(os, dialog, "\"" + path + "\" is a file, not a directory.");
    return false;
  }
  if (!options.Contains(TSelectDirOpt::sdAllowCreate)) {
    Tell(os, dialog, "The directory \"" + path + "\" does not exist.");
    return false;
  }
  if (!options.Contains(TSelectDirOpt::sdPerformCreate)) return true;  // the caller creates it
  if (options.Contains(TSelectDirOpt::sdPrompt) &&
      os.SystemMessageBox(dialog, "The directory \"" + path + "\" does not exist. Create it?", kDirectoryDialogCaption,
                          platform::kQuestionBox) != platform::BoxAnswer::Yes) {
    return false;
  }
  if (!ForceDirectories(os, path)) {
    Tell(os, dialog, "The directory \"" + path + "\" could not be created.");
    return false;
  }
  return true;
}

}  // namespace seldir
