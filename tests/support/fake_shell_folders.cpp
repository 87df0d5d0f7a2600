#include "tests/support/fake_shell_folders.h"

#include <stdexcept>

namespace testing_support {

namespace {

constexpr std::uintptr_t kFolderList = 0x1D1;  // the item id list of a located special folder

std::string Name(platform::SpecialFolder folder) {
  using platform::SpecialFolder;
  switch (folder) {
    case SpecialFolder::NamespaceRoot: return "NamespaceRoot";
    case SpecialFolder::Drives: return "Drives";
    case SpecialFolder::UserDesktop: return "UserDesktop";
    case SpecialFolder::CommonDesktop: return "CommonDesktop";
    case SpecialFolder::Documents: return "Documents";
    case SpecialFolder::CommonDocuments: return "CommonDocuments";
    case SpecialFolder::Programs: return "Programs";
    case SpecialFolder::StartMenu: return "StartMenu";
    case SpecialFolder::Startup: return "Startup";
    case SpecialFolder::Recent: return "Recent";
    case SpecialFolder::SendTo: return "SendTo";
    case SpecialFolder::Templates: return "Templates";
    case SpecialFolder::Fonts: return "Fonts";
    case SpecialFolder::NetworkShortcuts: return "NetworkShortcuts";
    case SpecialFolder::Windows: return "Windows";
    case SpecialFolder::System: return "System";
    case SpecialFolder::SystemX86: return "SystemX86";
    case SpecialFolder::ProgramFiles: return "ProgramFiles";
    case SpecialFolder::ProgramFilesX86: return "ProgramFilesX86";
    case SpecialFolder::CommonFiles: return "CommonFiles";
    case SpecialFolder::CommonFilesX86: return "CommonFilesX86";
    case SpecialFolder::Users: return "Users";
    case SpecialFolder::Profile: return "Profile";
    case SpecialFolder::AppData: return "AppData";
    case SpecialFolder::LocalAppData: return "LocalAppData";
    case SpecialFolder::CommonAppData: return "CommonAppData";
    case SpecialFolder::Music: return "Music";
    case SpecialFolder::Pictures: return "Pictures";
    case SpecialFolder::Videos: return "Videos";
    case SpecialFolder::Favorites: return "Favorites";
    case SpecialFolder::Downloads: return "Downloads";
    case SpecialFolder::Links: return "Links";
    case SpecialFolder::SavedGames: return "SavedGames";
    case SpecialFolder::Contacts: return "Contacts";
    case SpecialFolder::Searches: return "Searches";
    case SpecialFolder::OneDrive: return "OneDrive";
    case SpecialFolder::LocalLowAppData: return "LocalLowAppData";
    case SpecialFolder::Public: return "Public";
    case SpecialFolder::CommonMusic: return "CommonMusic";
    case SpecialFolder::CommonPictures: return "CommonPictures";
    case SpecialFolder::CommonVideos: return "CommonVideos";
    case SpecialFolder::CommonDownloads: return "CommonDownloads";
    case SpecialFolder::CommonStartMenu: return "CommonStartMenu";
    case SpecialFolder::CommonPrograms: return "CommonPrograms";
    case SpecialFolder::CommonStartup: return "CommonStartup";
    case SpecialFolder::CommonTemplates: return "CommonTemplates";
    case SpecialFolder::CommonFavorites: return "CommonFavorites";
  }
  return "?";
}

}  // namespace

long FakeShellFolders::ShGetMalloc(platform::AllocatorHandle& allocator) {
  calls.push_back("ShGetMalloc");
  long result = mallocResult;
  if (!mallocResults.empty()) {
    result = mallocResults.front();
    mallocResults.pop_front();
  }
  allocator = platform::AllocatorHandle{result == 0 ? 0xA110Cu : 0u};
  return result;
}

long FakeShellFolders::ShGetSpecialFolderLocation(platform::WindowHandle owner, platform::SpecialFolder folder,
                                              platform::ItemIdList& itemList) {
  calls.push_back("ShGetSpecialFolderLocation " + std::to_string(owner.value) + " " + Name(folder));
  itemList = platform::ItemIdList{folderLocationResult == 0 ? kFolderList : 0u};
  located_ = folder;
  return folderLocationResult;
}

bool FakeShellFolders::ShGetPathFromIdList(platform::ItemIdList itemList, std::string& path) {
  calls.push_back("ShGetPathFromIdList " + std::to_string(itemList.value));
  const auto known = itemPaths.find(itemList.value);
  if (known != itemPaths.end()) {
    path = known->second;
    return !path.empty();
  }
  const auto folder = located_ && itemList.value == kFolderList ? knownFolders.find(*located_) : knownFolders.end();
  path = !pathFromIdListResult ? "" : folder != knownFolders.end() ? folder->second : folderPath;
  return !path.empty();
}

void FakeShellFolders::AllocatorFree(platform::AllocatorHandle allocator, platform::ItemIdList memory) {
  calls.push_back("AllocatorFree " + std::to_string(allocator.value) + " " + std::to_string(memory.value));
}

void FakeShellFolders::AllocatorRelease(platform::AllocatorHandle allocator) {
  calls.push_back("AllocatorRelease " + std::to_string(allocator.value));
}

platform::ItemIdList FakeShellFolders::ShBrowseForFolder(platform::BrowseRecord& record) {
  calls.push_back("ShBrowseForFolder " + std::to_string(record.owner.value) + " " + std::to_string(record.root.value) +
                  " \"" + record.title + "\"");
  if (record.callback && browseInitializes) {
    try {
      record.callback(browseWindow, platform::BrowserEvent::Initialized);
    } catch (const std::exception& error) {
      reportedErrors.push_back(error.what());
    }
  }
  if (whileBrowsing) whileBrowsing(record);
  lastBrowse = record;
  return browseResult;
}

void FakeShellFolders::SelectInBrowser(platform::WindowHandle browser, const std::string& path) {
  calls.push_back("SelectInBrowser " + std::to_string(browser.value) + " " + path);
}

bool FakeShellFolders::DirectoryDialog(platform::DirectoryDialogRecord& record) {
  calls.push_back("DirectoryDialog " + std::to_string(record.owner.value) + " " + record.directory + " " +
                  std::to_string(record.helpContext));
  const bool confirmed = directoryDialog ? directoryDialog(record) : false;
  lastDirectoryDialog = record;
  return confirmed;
}

}  // namespace testing_support
