// The shell's namespace, scripted: the allocator's and the folder lookups'
// answers, the folder browser and the old-style directory dialog.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell_namespace.h"
#include "tests/support/call_log.h"

namespace testing_support {

class FakeShellFolders : public virtual CallLog, public virtual platform::ShellFolders {
 public:
  long mallocResult = 0;
  std::deque<long> mallocResults;  // per ShGetMalloc call, before mallocResult
  long folderLocationResult = 0;
  bool pathFromIdListResult = true;
  std::string folderPath = "C:\\users\\Public\\Desktop";
  // Paths of item id list values; the list of a special folder gives its path
  // in `knownFolders` when it is there, else folderPath.
  std::map<std::uintptr_t, std::string> itemPaths;
  std::map<platform::SpecialFolder, std::string> knownFolders;

  // The folder browser: it opens as `browseWindow`, tells the callback it is
  // initialised when `browseInitializes`, runs `whileBrowsing` and returns
  // `browseResult`. An error of the callback goes to `reportedErrors`, as the
  // real platform's barrier hands it to the error box.
  platform::WindowHandle browseWindow{0xB00};
  bool browseInitializes = true;
  std::function<void(platform::BrowseRecord&)> whileBrowsing;
  platform::ItemIdList browseResult;  // the chosen item id list; none: Cancel
  platform::BrowseRecord lastBrowse;
  std::vector<std::string> reportedErrors;
  // The old-style dialog: scripted by `directoryDialog` (default: Cancel).
  std::function<bool(platform::DirectoryDialogRecord&)> directoryDialog;
  platform::DirectoryDialogRecord lastDirectoryDialog;

  long ShGetMalloc(platform::AllocatorHandle& allocator) override;
  long ShGetSpecialFolderLocation(platform::WindowHandle owner, platform::SpecialFolder folder,
                                  platform::ItemIdList& itemList) override;
  bool ShGetPathFromIdList(platform::ItemIdList itemList, std::string& path) override;
  void AllocatorFree(platform::AllocatorHandle allocator, platform::ItemIdList memory) override;
  void AllocatorRelease(platform::AllocatorHandle allocator) override;
  platform::ItemIdList ShBrowseForFolder(platform::BrowseRecord& record) override;
  void SelectInBrowser(platform::WindowHandle browser, const std::string& path) override;
  bool DirectoryDialog(platform::DirectoryDialogRecord& record) override;

 private:
  std::optional<platform::SpecialFolder> located_;  // the folder whose list the shell handed out last
};

}  // namespace testing_support
