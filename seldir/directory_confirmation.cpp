#include "seldir/directory_confirmation.h"

namespace seldir {

namespace {

void Tell(platform::Boxes& boxes, platform::WindowHandle dialog, const std::string& text) {
  boxes.SystemMessageBox(dialog, text, kDirectoryDialogCaption, platform::kErrorBox);
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

bool ConfirmDirectory(platform::Files& files, platform::Boxes& boxes, platform::WindowHandle dialog, const std::string& path,
                      TSelectDirOpts options) {
  if (path.empty()) return false;
  if (files.DirectoryExists(path)) return true;
  if (files.FileExists(path)) {
    Tell(boxes, dialog, "\"" + path + "\" is a file, not a directory.");
    return false;
  }
  if (!options.Contains(TSelectDirOpt::sdAllowCreate)) {
    Tell(boxes, dialog, "The directory \"" + path + "\" does not exist.");
    return false;
  }
  if (!options.Contains(TSelectDirOpt::sdPerformCreate)) return true;  // the caller creates it
  if (options.Contains(TSelectDirOpt::sdPrompt) &&
      boxes.SystemMessageBox(dialog, "The directory \"" + path + "\" does not exist. Create it?",
                             kDirectoryDialogCaption, platform::kQuestionBox) != platform::BoxAnswer::Yes) {
    return false;
  }
  if (!ForceDirectories(files, path)) {
    Tell(boxes, dialog, "The directory \"" + path + "\" could not be created.");
    return false;
  }
  return true;
}

}  // namespace seldir
