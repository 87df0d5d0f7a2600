#include "tests/support/fake_shell_folders.h"

#include <stdexcept>

namespace testing_support {

namespace {

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

platform::FolderPath FakeShellFolders::SpecialFolderPath(platform::WindowHandle owner, platform::SpecialFolder folder) {
  log_.calls.push_back("SpecialFolderPath " + std::to_string(owner.value) + " " + Name(folder));
  platform::FolderPath found;
  found.allocatorUnavailable = !allocatorAvailable;
  if (!locatesFolders) return found;
  const auto known = knownFolders.find(folder);
  found.path = known != knownFolders.end() ? known->second : folderPath;
  return found;
}

std::optional<std::string> FakeShellFolders::BrowseForFolder(platform::BrowseRequest& request) {
  // A root the shell cannot locate shows the whole namespace.
  const std::string root = request.root && locatesFolders ? Name(*request.root) : "-";
  log_.calls.push_back("BrowseForFolder " + std::to_string(request.owner.value) + " " + root + " \"" + request.title +
                       "\"");
  if (request.callback && browseInitializes) {
    try {
      request.callback(browseWindow, platform::BrowserEvent::Initialized);
    } catch (const std::exception& error) {
      reportedErrors.push_back(error.what());
    }
  }
  if (whileBrowsing) whileBrowsing(request);
  lastBrowse = request;
  // The shell gives no path for a virtual folder ("My Computer").
  if (browseResult && browseResult->empty()) return std::nullopt;
  return browseResult;
}

void FakeShellFolders::SelectInBrowser(platform::WindowHandle browser, const std::string& path) {
  log_.calls.push_back("SelectInBrowser " + std::to_string(browser.value) + " " + path);
}

bool FakeShellFolders::DirectoryDialog(platform::DirectoryDialogRecord& record) {
  log_.calls.push_back("DirectoryDialog " + std::to_string(record.owner.value) + " " + record.directory + " " +
                  std::to_string(record.helpContext));
  const bool confirmed = directoryDialog ? directoryDialog(record) : false;
  lastDirectoryDialog = record;
  return confirmed;
}

}  // namespace testing_support
