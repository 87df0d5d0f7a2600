#include "platform/win32/system_codes.h"

// clang-format off
#include <shlobj.h>
#include <knownfolders.h>
// clang-format on

namespace platform::win32 {

namespace {
constexpr int kCsidlProfiles = 0x003e;  // CSIDL_PROFILES, which MinGW's headers do not name
}  // namespace

int ShellFolderId(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::NamespaceRoot: return CSIDL_DESKTOP;
    case SpecialFolder::Drives: return CSIDL_DRIVES;
    case SpecialFolder::UserDesktop: return CSIDL_DESKTOPDIRECTORY;
    case SpecialFolder::CommonDesktop: return CSIDL_COMMON_DESKTOPDIRECTORY;
    case SpecialFolder::Documents: return CSIDL_PERSONAL;
    case SpecialFolder::CommonDocuments: return CSIDL_COMMON_DOCUMENTS;
    case SpecialFolder::Programs: return CSIDL_PROGRAMS;
    case SpecialFolder::StartMenu: return CSIDL_STARTMENU;
    case SpecialFolder::Startup: return CSIDL_STARTUP;
    case SpecialFolder::Recent: return CSIDL_RECENT;
    case SpecialFolder::SendTo: return CSIDL_SENDTO;
    case SpecialFolder::Templates: return CSIDL_TEMPLATES;
    case SpecialFolder::Fonts: return CSIDL_FONTS;
    case SpecialFolder::NetworkShortcuts: return CSIDL_NETHOOD;  // the file folder, not CSIDL_NETWORK
    case SpecialFolder::Windows: return CSIDL_WINDOWS;
    case SpecialFolder::System: return CSIDL_SYSTEM;
    case SpecialFolder::SystemX86: return CSIDL_SYSTEMX86;
    case SpecialFolder::ProgramFiles: return CSIDL_PROGRAM_FILES;
    case SpecialFolder::ProgramFilesX86: return CSIDL_PROGRAM_FILESX86;
    case SpecialFolder::CommonFiles: return CSIDL_PROGRAM_FILES_COMMON;
    case SpecialFolder::CommonFilesX86: return CSIDL_PROGRAM_FILES_COMMONX86;
    case SpecialFolder::Users: return kCsidlProfiles;
    case SpecialFolder::Profile: return CSIDL_PROFILE;
    case SpecialFolder::AppData: return CSIDL_APPDATA;
    case SpecialFolder::LocalAppData: return CSIDL_LOCAL_APPDATA;
    case SpecialFolder::CommonAppData: return CSIDL_COMMON_APPDATA;
    case SpecialFolder::Music: return CSIDL_MYMUSIC;
    case SpecialFolder::Pictures: return CSIDL_MYPICTURES;
    case SpecialFolder::Videos: return CSIDL_MYVIDEO;
    case SpecialFolder::Favorites: return CSIDL_FAVORITES;
    case SpecialFolder::CommonMusic: return CSIDL_COMMON_MUSIC;
    case SpecialFolder::CommonPictures: return CSIDL_COMMON_PICTURES;
    case SpecialFolder::CommonVideos: return CSIDL_COMMON_VIDEO;
    case SpecialFolder::CommonStartMenu: return CSIDL_COMMON_STARTMENU;
    case SpecialFolder::CommonPrograms: return CSIDL_COMMON_PROGRAMS;
    case SpecialFolder::CommonStartup: return CSIDL_COMMON_STARTUP;
    case SpecialFolder::CommonTemplates: return CSIDL_COMMON_TEMPLATES;
    case SpecialFolder::CommonFavorites: return CSIDL_COMMON_FAVORITES;
    default: return -1;  // known by its KNOWNFOLDERID only (KnownFolderId)
  }
  return -1;
}

const KNOWNFOLDERID* KnownFolderId(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::Downloads: return &FOLDERID_Downloads;
    case SpecialFolder::Links: return &FOLDERID_Links;
    case SpecialFolder::SavedGames: return &FOLDERID_SavedGames;
    case SpecialFolder::Contacts: return &FOLDERID_Contacts;
    case SpecialFolder::Searches: return &FOLDERID_SavedSearches;
    case SpecialFolder::OneDrive: return &FOLDERID_SkyDrive;
    case SpecialFolder::LocalLowAppData: return &FOLDERID_LocalAppDataLow;
    case SpecialFolder::Public: return &FOLDERID_Public;
    case SpecialFolder::CommonDownloads: return &FOLDERID_PublicDownloads;
    default: return nullptr;
  }
}

UINT MessageBoxStyle(BoxStyle style) {
  UINT flags = style.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
  if (style.icon == BoxIcon::Error) flags |= MB_ICONERROR;
  if (style.icon == BoxIcon::Question) flags |= MB_ICONQUESTION;
  if (style.secondButtonIsDefault) flags |= MB_DEFBUTTON2;
  return flags;
}

BoxAnswer MessageBoxAnswer(int result) {
  switch (result) {
    case IDOK: return BoxAnswer::Ok;
    case IDYES: return BoxAnswer::Yes;
    case IDNO: return BoxAnswer::No;
    default: return BoxAnswer::None;
  }
}

int ShowWindowCommand(ShowCommand show) { return show == ShowCommand::Hidden ? SW_HIDE : SW_SHOWNORMAL; }

WaitResult WaitResultOf(DWORD result) {
  if (result == WAIT_OBJECT_0) return WaitResult::Ended;
  if (result == WAIT_TIMEOUT) return WaitResult::TimedOut;
  return WaitResult::Failed;  // the wait failed, or an abandoned mutex (not a process)
}

BrowserEvent BrowserEventOf(UINT notification) {
  if (notification == BFFM_INITIALIZED) return BrowserEvent::Initialized;
  if (notification == BFFM_SELCHANGED) return BrowserEvent::SelectionChanged;
  return BrowserEvent::Other;
}

}  // namespace platform::win32
