#include "tests/support/fake_platform.h"

#include <stdexcept>

#include "platform/path.h"

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

// "YesNo Question", "Ok Error", "YesNo Question SecondDefault", "Ok".
std::string Name(platform::BoxStyle style) {
  std::string name = style.buttons == platform::BoxButtons::YesNo ? "YesNo" : "Ok";
  if (style.icon == platform::BoxIcon::Error) name += " Error";
  if (style.icon == platform::BoxIcon::Question) name += " Question";
  if (style.secondButtonIsDefault) name += " SecondDefault";
  return name;
}

std::string Name(platform::ShowCommand show) { return show == platform::ShowCommand::Hidden ? "Hidden" : "Normal"; }

}  // namespace

std::string FakePlatform::Key(const std::string& path) { return platform::LowerAscii(path); }

// A folder's key without trailing backslashes; a drive root keeps its own
// ("c:\"). Short names are no exception: "ab\" and "ab" are one folder.
std::string FakePlatform::FolderKey(std::string key) {
  while (key.size() > 1 && key.back() == '\\' && !(key.size() == 3 && key[1] == ':')) key.pop_back();
  return key;
}

// The folder that holds `key`, as a key; empty for a drive root or a bare name.
std::string FakePlatform::ParentKey(const std::string& key) {
  const std::string path = FolderKey(key);
  const auto separator = path.find_last_of('\\');
  if (separator == std::string::npos || path.size() <= 3) return {};
  std::string parent = path.substr(0, separator);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  return parent;
}

// Drive roots always exist; other folders when added or made.
bool FakePlatform::FolderExists(const std::string& key) const {
  if (key.empty()) return true;
  const std::string folder = FolderKey(key);
  const bool driveRoot = folder.size() >= 2 && folder.size() <= 3 && folder[1] == ':' &&
                         (folder.size() == 2 || folder[2] == '\\');
  return driveRoot || directories_.count(folder) != 0;
}

bool FakePlatform::ParentExists(const std::string& path) const { return FolderExists(ParentKey(Key(path))); }

void FakePlatform::AddDirectory(const std::string& path) {
  const std::string key = FolderKey(Key(path));
  for (std::string folder = key; !folder.empty() && !FolderExists(folder); folder = ParentKey(folder)) {
    directories_.insert(folder);
  }
}

void FakePlatform::AddFile(const std::string& path, const std::string& content) {
  const std::string parent = ParentKey(Key(path));
  if (!parent.empty()) AddDirectory(parent);
  files_[Key(path)] = content;
}

std::string FakePlatform::FileContent(const std::string& path) const {
  const auto found = files_.find(Key(path));
  return found == files_.end() ? std::string() : found->second;
}

bool FakePlatform::HasFile(const std::string& path) const { return files_.count(Key(path)) != 0; }

int FakePlatform::CallCount(const std::string& prefix) const {
  int count = 0;
  for (const auto& call : calls) {
    if (call.rfind(prefix, 0) == 0) ++count;
  }
  return count;
}

std::string FakePlatform::ModuleFileName() {
  // The manager runs from its folder, which therefore exists.
  if (const std::string folder = ParentKey(Key(exePath)); !folder.empty()) AddDirectory(folder);
  return exePath;
}
std::string FakePlatform::CommandLine() { return commandLine; }
std::string FakePlatform::CurrentDirectory() { return currentDirectory; }
std::string FakePlatform::EnvironmentVariable(const std::string& name) {
  const auto found = environment.find(name);
  return found == environment.end() ? std::string() : found->second;
}

std::string FakePlatform::LongPathName(const std::string& path) {
  for (const auto& [shortName, longName] : longNames) {
    if (Key(path).rfind(shortName, 0) == 0) return longName + path.substr(shortName.size());
  }
  return path;
}

std::optional<platform::FolderIdentity> FakePlatform::IdentityOf(const std::string& path) {
  std::string key = FolderKey(Key(path));
  for (const auto& [alias, folder] : folderAliases) {
    if (key.rfind(alias, 0) == 0) key = FolderKey(Key(folder) + key.substr(alias.size()));
  }
  if (!FolderExists(key)) return std::nullopt;
  return platform::FolderIdentity{.volume = 7, .index = std::hash<std::string>{}(key)};
}

std::vector<std::string> FakePlatform::Subfolders(const std::string& path) {
  std::vector<std::string> found;
  const std::string key = FolderKey(Key(path));
  for (const std::string& directory : directories_) {
    if (ParentKey(directory) == key) found.push_back(directory);
  }
  return found;
}

bool FakePlatform::FileExists(const std::string& path) {
  calls.push_back("FileExists " + path);
  return files_.count(Key(path)) != 0;
}

bool FakePlatform::DirectoryExists(const std::string& path) {
  calls.push_back("DirectoryExists " + path);
  return !Key(path).empty() && FolderExists(Key(path));
}

std::optional<std::string> FakePlatform::ReadFile(const std::string& path) {
  calls.push_back("ReadFile " + path);
  if (unreadable.count(Key(path)) != 0) return std::nullopt;
  const auto found = files_.find(Key(path));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

bool FakePlatform::WriteFile(const std::string& path, const std::string& bytes) {
  calls.push_back("WriteFile " + path);
  if (unwritable.count(Key(path)) != 0 || !ParentExists(path) || FolderExists(Key(path))) return false;
  files_[Key(path)] = bytes;
  return true;
}

bool FakePlatform::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  calls.push_back("CopyFileTo " + from + " -> " + to + (failIfExists ? " failIfExists" : " replace"));
  if (!copyResult || !HasFile(from) || (failIfExists && HasFile(to)) || !ParentExists(to)) return false;
  files_[Key(to)] = FileContent(from);
  return true;
}

bool FakePlatform::MakeDirectory(const std::string& path) {
  calls.push_back("MakeDirectory " + path);
  // One level: the parent must exist, the folder must not.
  if (uncreatable.count(Key(path)) != 0 || !ParentExists(path) || FolderExists(Key(path)) || HasFile(path)) {
    return false;
  }
  AddDirectory(path);
  return true;
}

bool FakePlatform::RemoveFile(const std::string& path) {
  calls.push_back("RemoveFile " + path);
  return files_.erase(Key(path)) != 0;
}

bool FakePlatform::WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                                      const std::string& file) {
  calls.push_back("WriteProfileKey " + file + " [" + section + "] " + key + "=" + value);
  if (unwritable.count(Key(file)) != 0) return false;
  profile[file + "|" + section + "|" + key] = value;
  return true;
}

namespace {

class RecordedModalSection final : public platform::ModalSection {
 public:
  explicit RecordedModalSection(std::vector<std::string>& calls) : calls_(calls) { calls_.push_back("BeginModal"); }
  ~RecordedModalSection() override { calls_.push_back("EndModal"); }
  void Leave() override { calls_.push_back("LeaveModal"); }

 private:
  std::vector<std::string>& calls_;
};

}  // namespace

std::unique_ptr<platform::ModalSection> FakePlatform::BeginModal() {
  return std::make_unique<RecordedModalSection>(calls);
}

platform::BoxAnswer FakePlatform::SystemMessageBox(platform::WindowHandle owner, const std::string& text,
                                                   const std::string& caption, platform::BoxStyle style) {
  calls.push_back("SystemMessageBox " + std::to_string(owner.value) + " " + caption + ": " + text + " /" + Name(style));
  if (messageBoxAnswers.empty()) return platform::BoxAnswer::No;
  const platform::BoxAnswer answer = messageBoxAnswers.front();
  messageBoxAnswers.pop_front();
  return answer;
}

platform::BoxAnswer FakePlatform::ApplicationMessageBox(const std::string& text, const std::string& caption,
                                                        platform::BoxStyle style) {
  return SystemMessageBox(ApplicationWindow(), text, caption, style);
}

void FakePlatform::ShowMessageDialog(const std::string& text, const std::string& caption) {
  calls.push_back("ShowMessageDialog " + caption + ": " + text);
}

void FakePlatform::ProcessMessages() {
  calls.push_back("ProcessMessages");
  if (onProcessMessages) onProcessMessages();
}

std::uint32_t FakePlatform::TickCount() {
  const std::uint32_t now = tick;
  tick += tickStep;
  return now;
}

void FakePlatform::Sleep(std::uint32_t milliseconds) { calls.push_back("Sleep " + std::to_string(milliseconds)); }

bool FakePlatform::ShellExecuteExtended(platform::LaunchRequest& request) {
  calls.push_back("ShellExecuteExtended " + request.file + " | " + request.parameters);
  request.process = shellExecuteResult && request.returnProcess ? shellProcess : platform::ProcessHandle{};
  lastLaunch = request;
  return shellExecuteResult;
}

platform::WaitResult FakePlatform::WaitForSingleObject(platform::ProcessHandle process, std::uint32_t milliseconds) {
  calls.push_back("WaitForSingleObject " + std::to_string(process.value) + " " + std::to_string(milliseconds));
  if (waitResults.empty()) return platform::WaitResult::Ended;
  const platform::WaitResult result = waitResults.front();
  waitResults.pop_front();
  return result;
}

void FakePlatform::CloseHandle(platform::ProcessHandle process) {
  calls.push_back("CloseHandle " + std::to_string(process.value));
}

bool FakePlatform::ShellOpen(platform::WindowHandle owner, const std::string& operation, const std::string& target,
                             const std::string& parameters, const std::string& directory, platform::ShowCommand show) {
  calls.push_back("ShellOpen " + std::to_string(owner.value) + " [" + operation + "] [" + target + "] [" + parameters +
                  "] [" + directory + "] " + Name(show));
  return true;
}

int FakePlatform::ShellDeleteTree(const std::string& directory) {
  calls.push_back("ShellDeleteTree " + directory);
  const std::string key = FolderKey(Key(directory));
  if (deleteTreeResult != 0) return deleteTreeResult;
  if (!FolderExists(key)) return 2;  // the shell's "not found"
  const std::string below = key.back() == '\\' ? key : key + "\\";
  std::erase_if(files_, [&](const auto& file) { return file.first.rfind(below, 0) == 0; });
  std::erase_if(directories_, [&](const std::string& folder) { return folder == key || folder.rfind(below, 0) == 0; });
  return 0;
}

std::optional<std::string> FakePlatform::ToConsoleText(const std::string& text) {
  std::string converted = text;
  for (char& c : converted) {
    if (consoleLacks.count(c) != 0) return std::nullopt;
    if (const auto mapped = consoleMap.find(c); mapped != consoleMap.end()) c = mapped->second;
  }
  return converted;
}

std::string FakePlatform::ShortPathName(const std::string& path) {
  const auto found = shortNames.find(Key(path));
  return found == shortNames.end() ? std::string() : found->second;
}

bool FakePlatform::SetClipboardText(const std::string& text) {
  calls.push_back("SetClipboardText " + text);
  if (clipboardResult) clipboard = text;
  return clipboardResult;
}

platform::DownloadResult FakePlatform::Download(const std::string& url, const std::string& path,
                                                platform::DownloadObserver& observer, platform::HeldFile& held) {
  calls.push_back("Download " + url + " -> " + path);
  if (downloadThrows) throw std::runtime_error("download failed");
  if (whileDownloading) whileDownloading(observer);
  if (observer.CancelRequested()) return platform::DownloadResult::Cancelled;
  if (downloadResult == platform::DownloadResult::Downloaded) {
    if (downloadCreatesFile) files_[Key(path)] = downloadContent;
    held = kHeldFile;
  }
  return downloadResult;
}

void FakePlatform::ReleaseFile(platform::HeldFile held) {
  calls.push_back("ReleaseFile " + std::to_string(held.value));
}

long FakePlatform::ShGetMalloc(platform::AllocatorHandle& allocator) {
  calls.push_back("ShGetMalloc");
  long result = mallocResult;
  if (!mallocResults.empty()) {
    result = mallocResults.front();
    mallocResults.pop_front();
  }
  allocator = platform::AllocatorHandle{result == 0 ? 0xA110Cu : 0u};
  return result;
}

long FakePlatform::ShGetSpecialFolderLocation(platform::WindowHandle owner, platform::SpecialFolder folder,
                                              platform::ItemIdList& itemList) {
  calls.push_back("ShGetSpecialFolderLocation " + std::to_string(owner.value) + " " + Name(folder));
  itemList = platform::ItemIdList{folderLocationResult == 0 ? kFolderList : 0u};
  located_ = folder;
  return folderLocationResult;
}

bool FakePlatform::ShGetPathFromIdList(platform::ItemIdList itemList, std::string& path) {
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

void FakePlatform::AllocatorFree(platform::AllocatorHandle allocator, platform::ItemIdList memory) {
  calls.push_back("AllocatorFree " + std::to_string(allocator.value) + " " + std::to_string(memory.value));
}

void FakePlatform::AllocatorRelease(platform::AllocatorHandle allocator) {
  calls.push_back("AllocatorRelease " + std::to_string(allocator.value));
}

platform::ItemIdList FakePlatform::ShBrowseForFolder(platform::BrowseRecord& record) {
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

void FakePlatform::SelectInBrowser(platform::WindowHandle browser, const std::string& path) {
  calls.push_back("SelectInBrowser " + std::to_string(browser.value) + " " + path);
}

bool FakePlatform::DirectoryDialog(platform::DirectoryDialogRecord& record) {
  calls.push_back("DirectoryDialog " + std::to_string(record.owner.value) + " " + record.directory + " " +
                  std::to_string(record.helpContext));
  const bool confirmed = directoryDialog ? directoryDialog(record) : false;
  lastDirectoryDialog = record;
  return confirmed;
}

}  // namespace testing_support
