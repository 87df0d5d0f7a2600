// The actions that lead out of the manager: a program's website (behind the
// disclaimer for other makers' programs), the virus check of a link, the
// install directory in the file manager, and the About box. None of them
// changes the manager's state; the shell's answer is not examined, and only a
// link that could not be copied is told.
#include "catalogue/catalogue.h"
#include "manager/about_box.h"
#include "manager/disclaimer.h"
#include "manager/main_window.h"

namespace manager {

namespace {

// The scanning service's page that takes a link to check.
constexpr const char* kVirusCheckPage = "https://www.virustotal.com/gui/home/url";

}  // namespace

void TForm1::ShowWebsite() {
  if (catalogue::IsLinkOnly(ComboBox1.ItemIndex())) {
    if (Form2 == nullptr || Form2->ShowModal() != ui::mrYes) return;
  }
  const int index = ComboBox1.ItemIndex();
  if (index < 0 || index >= catalogue::kEntryCount) return;
  os_.opener.ShellOpen(WindowHandle(), "", catalogue::EntryAt(index).website, "", "", platform::ShowCommand::Normal);
}

void TForm1::CheckLinkForViruses() {
  const int index = ComboBox1.ItemIndex();
  if (index < 0 || index >= catalogue::kEntryCount) return;
  const std::string name = ComboBox1.Items[static_cast<std::size_t>(index)];
  const std::string question =
      "If you want to perform a virus check using \"VirusTotal\",\r\n"
      "please insert the already copied current program link\r\n"
      "via \"Paste\" into the URL line of the following web page.\r\n\r\n"
      "The link to " +
      name + " is already in the clipboard.";
  if (!AskYesNo(question)) return;
  const std::string link = catalogue::IsOwnProgram(index) ? catalogue::DownloadUrl(index) : catalogue::EntryAt(index).website;
  // The platform waits a moment for a clipboard that another program holds;
  // if it stays held, the user learns it before the page opens.
  if (!os_.clipboard.SetClipboardText(link)) {
    Inform("The link to " + name + " could not be copied to the clipboard !");
  }
  os_.opener.ShellOpen(WindowHandle(), "", kVirusCheckPage, "", "", platform::ShowCommand::Normal);
}

void TForm1::OpenInstallDirectory() {
  os_.opener.ShellOpen(os_.windows.ApplicationWindow(), "open", FInstallDir, "", "", platform::ShowCommand::Normal);
}

void TForm1::ShowAbout() {
  // The box destroys itself after every showing; each click makes a new one.
  if (AboutBox == nullptr) AboutBox = &ui::Application.CreateForm<TAboutBox>(nullptr, os_.opener);
  AboutBox->PopupParent = this;  // owned by the main window, above it
  AboutBox->ShowModal();
}

}  // namespace manager
