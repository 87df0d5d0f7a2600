// TSelDir: a non-visual component that lets the user pick a directory in the
// shell's folder browser (or, with OldStyle, in our own directory dialog) and
// hands the choice back in Directory.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "ui/forms.h"

namespace seldir {

// The shell folders a browser can be rooted at.
enum class TShellFolder : std::uint8_t {
  SdNone,
  SdDesktop,
  SdDesktopDir,
  SdDrives,
  SdFonts,
  SdNetwork,
  SdPersonal,
  SdPrograms,
  SdRecent,
  SdSendTo,
  SdStartmenu,
  SdStartup,
  SdTemplates
};
inline constexpr int kShellFolderCount = 13;

// The shell folder id (CSIDL) of each folder. SdNone and SdDesktop share 0.
inline constexpr std::array<int, kShellFolderCount> kShellFolderIds = {0, 0, 16, 17, 20, 19, 5, 2, 8, 9, 11, 7, 21};
constexpr int ShellFolderId(TShellFolder folder) { return kShellFolderIds.at(static_cast<std::size_t>(folder)); }

// Options of the old-style dialog.
enum class TSelectDirOpt : std::uint8_t { sdAllowCreate, sdPerformCreate, sdPrompt };

// A set of TSelectDirOpt.
class TSelectDirOpts {
 public:
  constexpr TSelectDirOpts() = default;
  constexpr TSelectDirOpts(std::initializer_list<TSelectDirOpt> options) {
    for (TSelectDirOpt option : options) Include(option);
  }
  constexpr void Include(TSelectDirOpt option) { bits_ |= Bit(option); }
  constexpr bool Contains(TSelectDirOpt option) const { return (bits_ & Bit(option)) != 0; }
  constexpr bool operator==(const TSelectDirOpts&) const = default;

 private:
  static constexpr std::uint8_t Bit(TSelectDirOpt option) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
  }
  std::uint8_t bits_ = 0;
};

using THelpContext = std::int32_t;

// Folder browser notifications and messages.
inline constexpr unsigned kBffmInitialized = 1;
inline constexpr unsigned kBffmSetSelectionA = 0x400 + 102;  // WM_USER + 102

class TSelDir : public ui::TComponent {
 public:
  // Defaults: no folder, an empty directory, every option, help context 0.
  // The platform may be given later with SetPlatform; the rules that need
  // the operating system throw std::logic_error until then.
  explicit TSelDir(ui::TComponent* owner, platform::Platform* os = nullptr);

  void SetPlatform(platform::Platform& os) { os_ = &os; }

  // Writing removes one trailing backslash ("C:\" becomes "C:"), turns an
  // empty text into the current directory and, while the browser is open,
  // moves its selection there.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& value);

  // The browser's root. Writing also replaces Directory with the folder's
  // file-system path, or empty text for a folder without one.
  TShellFolder Folder() const { return folder_; }
  void SetFolder(TShellFolder value);

  bool OldStyle = false;
  TSelectDirOpts OSOptions{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt};
  THelpContext OSHelpContext = 0;
  std::string OSRoot;  // where the old-style dialog starts
  std::string Title;   // the browser's text line

  // Shows the dialog modally; true when the user confirmed a folder that has
  // a file-system path, which then stands in Directory.
  bool Execute();

  // The browser's window while it is open, 0 at all other times.
  platform::WindowHandle BrowseWindow() const { return FBrowseWindow; }

  // The published properties, in order, as a form description names them.
  static constexpr std::array<std::string_view, 9> kPublishedProperties = {
      "Name", "Tag", "Directory", "Folder", "OldStyle", "OSOptions", "OSHelpContext", "OSRoot", "Title"};
  // Sets a published property from its text in a form description, through
  // the property's writer. An unknown name or a malformed value throws
  // std::invalid_argument.
  void SetProperty(std::string_view name, const std::string& value);
  // What a form description carries, in published order: the properties that
  // declare a default only when they differ from it, the others whenever
  // they are set (texts when not empty, numbers always).
  std::vector<std::pair<std::string, std::string>> StoredProperties() const;

 private:
  static int BrowseCallback(platform::WindowHandle window, unsigned message, std::intptr_t parameter, std::intptr_t data);
  bool ExecuteBrowser();
  bool ExecuteOldStyle();
  platform::WindowHandle OwnerWindow();
  platform::Platform& Os() const;

  platform::Platform* os_;
  std::string directory_;
  TShellFolder folder_ = TShellFolder::SdNone;
  platform::WindowHandle FBrowseWindow;
};

}  // namespace seldir
