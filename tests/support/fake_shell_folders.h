// The shell's folders, scripted: the special folders' paths, the folder
// browser and the old-style directory dialog.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell_folders.h"
#include "tests/support/call_log.h"

namespace testing_support {

// Calls: "SpecialFolderPath <owner> <folder>", "BrowseForFolder <owner>
// <root or -> "<title>"", "SelectInBrowser <browser> <path>",
// "DirectoryDialog <owner> <directory> <help context>".
class FakeShellFolders : public platform::ShellFolders {
 public:
  explicit FakeShellFolders(CallLog& log) : log_(log) {}

  // A special folder's path: its path in `knownFolders` when it is there,
  // else folderPath; none when the shell `locatesFolders` not.
  bool allocatorAvailable = true;
  bool locatesFolders = true;
  std::string folderPath = "C:\\users\\Public\\Desktop";
  std::map<platform::SpecialFolder, std::string> knownFolders;

  // The folder browser: it opens as `browseWindow`, tells the callback it is
  // initialised when `browseInitializes`, runs `whileBrowsing` and returns
  // `browseResult`. An error of the callback goes to `reportedErrors`, as the
  // real platform's barrier hands it to the error box.
  platform::WindowHandle browseWindow{0xB00};
  bool browseInitializes = true;
  std::function<void(platform::BrowseRequest&)> whileBrowsing;
  std::optional<std::string> browseResult;  // the chosen folder's path; none: Cancel
  platform::BrowseRequest lastBrowse;
  std::vector<std::string> reportedErrors;
  // The old-style dialog: scripted by `directoryDialog` (default: Cancel).
  std::function<bool(platform::DirectoryDialogRecord&)> directoryDialog;
  platform::DirectoryDialogRecord lastDirectoryDialog;

  platform::FolderPath SpecialFolderPath(platform::WindowHandle owner, platform::SpecialFolder folder) override;
  std::optional<std::string> BrowseForFolder(platform::BrowseRequest& request) override;
  void SelectInBrowser(platform::WindowHandle browser, const std::string& path) override;
  bool DirectoryDialog(platform::DirectoryDialogRecord& record) override;

 private:
  CallLog& log_;
};

}  // namespace testing_support
