// The main window: catalogue selection, the install directory and the action
// buttons, with the operations every action shares.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/dir_list.h"
#include "manager/enabling_rules.h"
#include "platform/platform.h"
#include "seldir/seldir.h"
#include "ui/forms.h"

namespace manager {

// The path of a shell special folder, or an empty text; a box tells when the
// shell's allocator is missing.
std::string GetSpecialFolder(platform::ShellFolders& shell, platform::Boxes& boxes, platform::WindowHandle owner,
                             platform::SpecialFolder folder);

// Writes the batch file beside the manager at `exePath` that deletes its
// list, its executable and itself, each "del" in the console's code page;
// gives its path. Throws std::runtime_error when it cannot be written.
std::string WriteRemovalBatch(platform::Files& files, const std::string& exePath);

class TForm1 : public ui::TForm {
 public:
  // Loads the layout, binds the events and runs FormCreate, as creating the
  // window does.
  TForm1(ui::TComponent* owner, const platform::Platform& os);

  // Controls, in declaration order, which is their windows' order: each
  // question comes just before the list or field it asks about, since a
  // screen reader names an unnamed list or field after the label before it.
  ui::TPanel Panel1{this, "Panel1"};
  ui::TLabel Label1{this, "Label1"};
  ui::TComboBox ComboBox1{this, "ComboBox1"};
  ui::TSpeedButton SpeedButton1{this, "SpeedButton1"};
  ui::TLabel Label2{this, "Label2"};
  ui::TEdit Edit1{this, "Edit1"};
  ui::TSpeedButton SpeedButton2{this, "SpeedButton2"};
  ui::TSpeedButton SpeedButton3{this, "SpeedButton3"};
  ui::TSpeedButton SpeedButton4{this, "SpeedButton4"};
  ui::TSpeedButton SpeedButton5{this, "SpeedButton5"};
  ui::TSpeedButton SpeedButton6{this, "SpeedButton6"};
  seldir::TSelDir SelDir1{this};
  ui::TSpeedButton SpeedButton7{this, "SpeedButton7"};
  ui::TImage Image1{this, "Image1"};
  ui::TSpeedButton SpeedButton8{this, "SpeedButton8"};
  ui::TSpeedButton SpeedButton9{this, "SpeedButton9"};
  ui::TSpeedButton SpeedButton10{this, "SpeedButton10"};

  // Events of the form and of the controls that are no action of their own.
  void FormCreate(ui::TObject* sender);
  void FormClose(ui::TObject* sender, ui::TCloseAction& action);
  void FormEndSession(ui::TObject* sender);  // shutdown.cpp
  void ComboBox1Change(ui::TObject* sender);
  void Edit1KeyPress(ui::TObject* sender, char& key);

  // Re-reads the directory field: cleans it into the install directory,
  // stores it in the directory list and enables the controls that the state
  // allows (enabling_rules.h). Runs on every change and exit of the field,
  // after a new selection and before and after the actions.
  void ValidateDirectory();

  // The actions, one per control (the table in Actions(), in
  // main_window.cpp, binds them and names the rule that enables each).
  void ShowWebsite();           // websites.cpp
  void SelectDirectory();       // select_directory.cpp
  void Install();               // install.cpp
  void Execute();               // execute_update.cpp
  void RemoveProgram();         // removal.cpp
  void ExitManager();           // shutdown.cpp
  void CheckLinkForViruses();   // websites.cpp
  void UpdateAndReset();        // execute_update.cpp
  void OpenInstallDirectory();  // websites.cpp
  void RemoveManager();         // shutdown.cpp
  void ShowAbout();             // websites.cpp
  // Part of removing the manager: its own desktop shortcut goes (removal.cpp).
  void RemoveManagerShortcut();
  // Writes the batch file that deletes the manager's files after it has
  // ended, deletes the manager's shortcut and starts the batch file hidden;
  // gives back the batch file's path. A failed write throws.
  std::string WriteRemovalScript();

  // Shared operations of every action (shared_operations.cpp).
  bool AskYesNo(const std::string& question);
  // The same for a question whose Yes loses something: No is the default.
  bool AskYesNoDefaultNo(const std::string& question);
  void Inform(const std::string& message);
  bool RunProgram(const std::string& file, const std::string& arguments, platform::ShowCommand show, bool wait);
  bool WaitForFile(const std::string& path, bool exists, std::int32_t limitMilliseconds);
  // Copies the file beside the manager, or downloads it showing `name` (the
  // target's file name when empty) in the progress window. A downloaded
  // file stays held against change until RunProgram has started a program.
  platform::DownloadResult FetchFile(const std::string& url, const std::string& target, const std::string& name = {});

  // An action that may serve the message queue while it runs (the file wait
  // after a download, the wait for a setup program): a close asked for
  // meanwhile is put off until the action has ended, and the action ends at
  // its next step instead of starting anything. A file the action fetched is
  // held no longer once it has ended, however it ended.
  class ActionScope {
   public:
    explicit ActionScope(TForm1& form) : form_(form) { ++form_.busyActions_; }
    ~ActionScope();
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

   private:
    TForm1& form_;
  };

  // State, readable for the window binding and the tests.
  bool SessionEnded() const { return sessionEnded_; }
  const std::string& InstallDir() const { return FInstallDir; }
  const std::optional<catalogue::DirList>& DirList() const { return FDirList; }
  bool ProtectOwnDir() const { return FProtectOwnDir; }
  const std::string& DeleteOnClose() const { return FDeleteOnClose; }
  const std::array<std::string, catalogue::kOwnProgramCount>& Installers() const { return FInstallers; }

 private:
  // A control of the window, the action its click runs and the rule that
  // enables it (none: always enabled).
  struct ActionRow {
    ui::TControl& control;
    void (TForm1::*action)();
    bool EnabledControls::*rule;
  };
  std::array<ActionRow, 11> Actions();

  std::string ProgramPath(int index) const;
  // Parts of a close (shutdown.cpp): the fetched installers go; the list is
  // written with the remembered entry (throws when it cannot be).
  void RemoveFetchedInstallers();
  void SaveDirListForClose();

  // A setup program or update installer of an own entry (install.cpp).
  struct InstallerRun {
    std::string url;           // where it is fetched from
    std::string path;          // where it lands in the install directory, and what runs
    // Its arguments, made from the install directory as it is when it runs:
    // the file wait serves the queue, and the field may change meanwhile.
    std::string (*arguments)(const std::string& installDir) = nullptr;
    std::string announcement;  // told once it is there, before it runs
    bool wait = false;         // for it to end
  };
  // What the install and the update share: fetches the installer, ends
  // quietly when the window was closed meanwhile, tells the user, runs it,
  // records it for deletion at close and re-validates the field. A failed
  // fetch or start is told by the executable's name and records nothing.
  // True when the installer was started.
  bool FetchAndRunInstaller(int index, const InstallerRun& installer);

  platform::Platform os_;

  std::string FInstallDir;
  std::array<std::string, catalogue::kOwnProgramCount> FInstallers;
  std::optional<catalogue::DirList> FDirList;
  bool FRemoveSelf = false;
  // A close failed before because the list or the batch file could not be
  // written: the next such failure lets the user close all the same.
  bool listSaveFailed_ = false;
  bool removalFailed_ = false;
  std::string FDeleteOnClose;
  bool FProtectOwnDir = false;
  int busyActions_ = 0;
  platform::HeldFile heldSetup_;  // the downloaded setup file, until it has been started
  platform::StopToken fetchStop_;  // the stop of the fetch under way: a close asks for it
  bool closeRequested_ = false;
  // A close while an action runs: put off until the action has ended; a
  // fetch under way stops.
  void PutOffClose();
  // The session has ended and the list is written and gone: the program ends,
  // and an action still on its way out asks nothing, tells nothing and starts
  // nothing.
  bool sessionEnded_ = false;
};

}  // namespace manager
