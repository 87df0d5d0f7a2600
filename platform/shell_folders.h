// The shell's folders: the paths of its special folders, its folder browser
// and our own directory dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

// The shell's special folders that the program asks for; platform/win32
// knows the shell's number of each.
enum class SpecialFolder : std::uint8_t {
  NamespaceRoot,     // the root of the shell's namespace (its path is the desktop's)
  Drives,            // the computer with its drives; no file-system path
  UserDesktop,       // the user's desktop folder
  CommonDesktop,     // the desktop folder all users share
  Documents,
  CommonDocuments,
  Programs,          // the start menu's programs
  StartMenu,
  Startup,
  Recent,
  SendTo,
  Templates,
  Fonts,
  NetworkShortcuts,  // the network neighbourhood's file folder
  Windows,
  System,
  SystemX86,
  ProgramFiles,
  ProgramFilesX86,
  CommonFiles,
  CommonFilesX86,
  Users,             // the folder that holds the users' profiles
  Profile,           // the user's profile
  AppData,           // application data that roams with the user
  LocalAppData,
  CommonAppData,
  // More of the user's folders, and of the folders all users share.
  Music,
  Pictures,
  Videos,
  Favorites,
  Downloads,
  Links,
  SavedGames,
  Contacts,
  Searches,
  OneDrive,
  LocalLowAppData,
  Public,
  CommonMusic,
  CommonPictures,
  CommonVideos,
  CommonDownloads,
  CommonStartMenu,
  CommonPrograms,
  CommonStartup,
  CommonTemplates,
  CommonFavorites,
};

// What the shell's folder browser tells its caller while it is open.
enum class BrowserEvent : std::uint8_t {
  Initialized,  // the browser's window exists: a selection may be set now
  SelectionChanged,
  Other,
};

// Called by the folder browser on the browser's thread, with its window. An
// error it raises goes to the application's error box, and the browser goes on.
using BrowseCallback = std::function<void(WindowHandle browser, BrowserEvent event)>;

// What the folder browser shows.
struct BrowseRequest {
  WindowHandle owner;
  std::optional<SpecialFolder> root;  // none, or one the shell cannot locate: the whole namespace
  std::string title;                  // the text line above the tree
  BrowseCallback callback;            // empty: none
};

// A special folder's file-system path, as the shell gives it up to its first
// NUL: empty when the shell cannot locate the folder or it has no path (the
// computer). The shell hands out each folder in memory of its allocator;
// without the allocator the path is still looked up, and `allocatorUnavailable`
// says so.
struct FolderPath {
  std::string path;
  bool allocatorUnavailable = false;
};

// Our own old-style directory dialog: a directory field, the subdirectories
// of the directory shown and the drives. It opens on `directory` (empty: the
// current directory); when the user presses OK, `confirm` decides whether the
// dialog may close with the full path the user chose; it may ask the user
// (owned by the dialog window it is given) and create the directory.
inline constexpr const char* kDirectoryDialogCaption = "Select Directory";
struct DirectoryDialogRecord {
  WindowHandle owner;
  std::string directory;         // in: where to start; out: the confirmed directory
  std::int32_t helpContext = 0;  // 0: no Help button
  std::function<bool(WindowHandle dialog, const std::string& path)> confirm;  // empty: every path is taken
};

class ShellFolders {
 public:
  virtual ~ShellFolders() = default;

  [[nodiscard]] virtual FolderPath SpecialFolderPath(WindowHandle owner, SpecialFolder folder) = 0;
  // The shell's folder browser (SHBrowseForFolderA), modal: the chosen
  // folder's path, or nothing after Cancel or for a choice without a
  // file-system path.
  [[nodiscard]] virtual std::optional<std::string> BrowseForFolder(BrowseRequest& request) = 0;
  // Moves the open browser's selection to a path.
  virtual void SelectInBrowser(WindowHandle browser, const std::string& path) = 0;
  // The old-style directory dialog, modal; true when the user confirmed.
  virtual bool DirectoryDialog(DirectoryDialogRecord& record) = 0;
};

}  // namespace platform
