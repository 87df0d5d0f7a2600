// TSelDir: a non-visual component that lets the user pick a directory in the
// shell's folder browser (or, with OldStyle, in our own directory dialog) and
// hands the choice back in Directory.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "seldir/select_dir_options.h"
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

// The shell's folder behind each value: none for SdNone (the browser then
// shows the whole namespace), the namespace root for SdDesktop.
constexpr std::optional<platform::SpecialFolder> ShellFolderOf(TShellFolder folder) {
  using platform::SpecialFolder;
  constexpr std::array<SpecialFolder, kShellFolderCount - 1> kFolders = {
      SpecialFolder::NamespaceRoot, SpecialFolder::UserDesktop, SpecialFolder::Drives,
      SpecialFolder::Fonts,         SpecialFolder::NetworkShortcuts, SpecialFolder::Documents,
      SpecialFolder::Programs,      SpecialFolder::Recent,       SpecialFolder::SendTo,
      SpecialFolder::StartMenu,     SpecialFolder::Startup,      SpecialFolder::Templates};
  if (folder == TShellFolder::SdNone) return std::nullopt;
  return kFolders.at(static_cast<std::size_t>(folder) - 1);
}

using THelpContext = std::int32_t;

class TSelDir : public ui::TComponent {
 public:
  // Defaults: no folder, an empty directory, every option, help context 0.
  // The platform may be given later with SetPlatform; the rules that need
  // the operating system throw std::logic_error until then.
  explicit TSelDir(ui::TComponent* owner, std::optional<platform::Platform> os = std::nullopt);

  void SetPlatform(const platform::Platform& os) { os_.emplace(os); }

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
  void OnBrowserEvent(platform::WindowHandle browser, platform::BrowserEvent event);
  bool ExecuteBrowser();
  bool ExecuteOldStyle();
  platform::WindowHandle OwnerWindow();
  platform::Platform& Os();

  std::optional<platform::Platform> os_;
  std::string directory_;
  TShellFolder folder_ = TShellFolder::SdNone;
  platform::WindowHandle FBrowseWindow;
};

}  // namespace seldir
