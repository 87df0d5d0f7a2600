// Leaving the manager: websites behind the disclaimer, the virus check, the
// file manager and the About box, with the three windows as the main routine
// makes them and a scripted user in the modal showings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "manager/about_box.h"
#include "manager/disclaimer.h"
#include "manager/main_window.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scripted_form_peer.h"

namespace {

using manager::TAboutBox;
using manager::TForm1;
using manager::TForm2;
using Step = std::function<void(ui::TForm&)>;

constexpr platform::WindowHandle kMainWindow{0x777};  // 1911
constexpr const char* kOpenPrefix = "ShellOpen 1911 [] [";

class LeavingTheManager : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application.Title = "Vandrel download manager";
    form1 = &ui::Application.CreateForm<TForm1>(nullptr, os);
    form1->SetWindowHandle(kMainWindow);
    manager::AboutBox = &ui::Application.CreateForm<TAboutBox>(nullptr, os);
    manager::Form2 = &ui::Application.CreateForm<TForm2>(nullptr);
    os.calls.clear();
  }
  void TearDown() override { manager::Form2 = nullptr; }

  void Select(int index) { form1->ComboBox1.UserSelected(index); }
  std::vector<std::string> Opened() const {
    std::vector<std::string> opened;
    for (const auto& call : os.calls) {
      if (call.rfind("ShellOpen", 0) == 0) opened.push_back(call);
    }
    return opened;
  }
  static std::string Page(const std::string& target) { return kOpenPrefix + target + "] [] [] Normal"; }
  static Step Disclaimer(std::function<void(TForm2&)> step) {
    return [step](ui::TForm& form) { step(dynamic_cast<TForm2&>(form)); };
  }

  testing_support::FakePlatform os;
  testing_support::ScriptedApplication app;  // destroys the forms before the platform goes
  TForm1* form1 = nullptr;
};

TEST_F(LeavingTheManager, OwnProgramsOpenTheirPageAtOnceEntriesZeroAndTwoTheSame) {
  for (int index : {0, 2, 4}) {
    Select(index);
    form1->SpeedButton1.Click();
  }
  EXPECT_EQ(Opened(), (std::vector<std::string>{Page(catalogue::EntryAt(0).website), Page(catalogue::EntryAt(0).website),
                                                Page(catalogue::EntryAt(4).website)}));
  EXPECT_TRUE(app.script.log.empty());  // no disclaimer
}

TEST_F(LeavingTheManager, OtherMakersPagesOpenOnlyAfterYesInTheDisclaimer) {
  Select(5);
  // No, Esc (Cancel) and a closed dialog open nothing.
  app.script.steps = {Disclaimer([](TForm2& d) { d.BitBtn2.Click(); })};
  form1->SpeedButton1.Click();
  app.script.steps = {Disclaimer([](TForm2& d) { d.Close(); })};
  form1->SpeedButton1.Click();
  EXPECT_TRUE(Opened().empty());

  // Yes is pressed in vain while the box is unticked; ticked, it opens the page.
  app.script.steps = {Disclaimer([](TForm2& d) {
                        EXPECT_FALSE(d.CheckBox1.Checked());
                        EXPECT_FALSE(d.BitBtn1.Enabled());
                        d.BitBtn1.Click();
                        d.CheckBox1.Click();
                        EXPECT_TRUE(d.BitBtn1.Enabled());
                        d.CheckBox1.Click();
                        EXPECT_FALSE(d.BitBtn1.Enabled());
                      }),
                      Disclaimer([](TForm2& d) {
                        EXPECT_EQ(d.ModalResult(), ui::mrNone);
                        d.CheckBox1.Click();
                        d.BitBtn1.Click();
                      })};
  form1->SpeedButton1.Click();
  EXPECT_EQ(Opened(), (std::vector<std::string>{Page(catalogue::EntryAt(5).website)}));

  // The next showing starts unticked again.
  Select(12);
  app.script.steps = {Disclaimer([](TForm2& d) {
    EXPECT_FALSE(d.CheckBox1.Checked());
    EXPECT_FALSE(d.BitBtn1.Enabled());
    d.CheckBox1.Click();
    d.BitBtn1.Click();
  })};
  form1->SpeedButton1.Click();
  EXPECT_EQ(Opened().back(), Page(catalogue::EntryAt(12).website));
}

TEST_F(LeavingTheManager, TheDisclaimerIsCentredOnTheMainWindow50PixelsBelowItsTop) {
  TForm2& d = *manager::Form2;
  d.Width = 339;
  struct Case {
    int left, top, width;
    int expectedLeft, expectedTop;
  };
  // (300 - 339) / 2 is -19 and (332 - 339) / 2 is -3: the division truncates toward zero.
  for (const Case& c : {Case{100, 200, 459, 160, 250}, Case{100, -30, 300, 81, 20}, Case{-500, 0, 332, -503, 50}}) {
    form1->Left = c.left;
    form1->Top = c.top;
    form1->Width = c.width;
    app.script.steps = {Disclaimer([](TForm2& dialog) { dialog.BitBtn2.Click(); })};
    d.ShowModal();
    EXPECT_EQ(d.Left, c.expectedLeft);
    EXPECT_EQ(d.Top, c.expectedTop);
  }
  // It is placed before it shows.
  EXPECT_EQ(app.script.log[1], "Form2 Moved 160 250");
  EXPECT_EQ(app.script.log[2], "Form2 Show");
}

TEST_F(LeavingTheManager, TheDisclaimerTextIsEighteenCentredLines) {
  const TForm2& d = *manager::Form2;
  std::string expected;
  for (const std::string& line : manager::kDisclaimerLines) expected += line + "\r\n";
  ASSERT_EQ(manager::kDisclaimerLines.size(), 18u);
  EXPECT_EQ(manager::kDisclaimerLines[0], "A link takes you to an external website. We have no influence ");
  EXPECT_EQ(manager::kDisclaimerLines[8], "becoming aware of any legal infringements.");
  EXPECT_EQ(manager::kDisclaimerLines[9], "");
  EXPECT_EQ(d.RichEdit1.Text(), expected);
  EXPECT_FALSE(d.RichEdit1.Enabled());
  EXPECT_EQ(d.RichEdit1.Alignment, ui::TAlignment::taCenter);
}

TEST_F(LeavingTheManager, TheInstallButtonOfALinkOnlyEntryIsTheWebsiteButton) {
  Select(7);
  app.script.steps = {Disclaimer([](TForm2& d) {
    d.CheckBox1.Click();
    d.BitBtn1.Click();
  })};
  form1->SpeedButton3.Click();
  EXPECT_EQ(Opened(), (std::vector<std::string>{Page(catalogue::EntryAt(7).website)}));
}

TEST_F(LeavingTheManager, VirusCheckAsksFirstAndCopiesTheDownloadOrWebsiteLink) {
  Select(1);
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::No};
  os.clipboard = "what the user had";
  form1->SpeedButton7.Click();
  ASSERT_EQ(os.CallCount("SystemMessageBox"), 1);
  EXPECT_EQ(os.calls[0],
            "SystemMessageBox 2560 Vandrel download manager: If you want to perform a virus check using "
            "\"VirusTotal\",\r\nplease insert the already copied current program link\r\nvia \"Paste\" into the "
            "URL line of the following web page.\r\n\r\nThe link to Selvo is already in the clipboard. /YesNo Question");
  EXPECT_EQ(os.clipboard, "what the user had");
  EXPECT_TRUE(Opened().empty());

  const std::string virusTotal = "https://www.virustotal.com/gui/home/url";
  for (int index : {0, 7}) {
    Select(index);
    os.calls.clear();
    os.messageBoxAnswers = {platform::BoxAnswer::Yes};
    form1->SpeedButton7.Click();
    const std::string link = index == 0 ? catalogue::DownloadUrl(0) : std::string(catalogue::EntryAt(7).website);
    EXPECT_EQ(os.clipboard, link);
    ASSERT_EQ(os.calls.size(), 3u);
    EXPECT_EQ(os.calls[1], "SetClipboardText " + link);  // after the question
    EXPECT_EQ(os.calls[2], Page(virusTotal));
  }
}

TEST_F(LeavingTheManager, VirusCheckTellsOfALinkItCouldNotCopyBeforeThePageOpens) {
  Select(1);
  os.clipboardResult = false;  // held by another program for longer than the platform waits
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  form1->SpeedButton7.Click();
  ASSERT_EQ(os.calls.size(), 4u);
  EXPECT_EQ(os.calls[2],
            "ShowMessageDialog Vandrel download manager: The link to Selvo could not be copied to the clipboard !");
  EXPECT_EQ(os.calls[3], Page("https://www.virustotal.com/gui/home/url"));
}

TEST_F(LeavingTheManager, ExplorerOpensTheInstallDirectoryAsItIsWithTheApplicationWindow) {
  Select(1);
  form1->Edit1.SetText("C:\\Not There\\");
  Select(9);  // a link-only entry keeps the last directory
  os.calls.clear();
  form1->SpeedButton9.Click();
  EXPECT_EQ(os.calls, (std::vector<std::string>{"ShellOpen 2560 [open] [C:\\Not There\\] [] [] Normal"}));
}

TEST_F(LeavingTheManager, AboutBoxClosesOnAClickOrACharacterAndComesBackEveryTime) {
  TAboutBox* first = manager::AboutBox;
  app.script.steps = {[this](ui::TForm& f) {
    EXPECT_EQ(f.PopupParent, form1);  // owned by the main window, not the application's
    dynamic_cast<TAboutBox&>(f).Copyright.Click();
  }};
  form1->Image1.Click();
  EXPECT_EQ(manager::AboutBox, nullptr);  // destroyed after the showing
  EXPECT_TRUE(app.script.steps.empty());

  char typed = 'x';
  app.script.steps = {[&](ui::TForm& f) { typed = f.KeyPress(typed); }};
  form1->Image1.Click();
  EXPECT_EQ(typed, '\0');  // no control sees the character
  EXPECT_EQ(manager::AboutBox, nullptr);

  // The address opens with the main window as owner; the box stays open.
  app.script.steps = {[](ui::TForm& f) { dynamic_cast<TAboutBox&>(f).Home.Click(); },
                      [](ui::TForm& f) {
                        EXPECT_TRUE(f.Modal());
                        dynamic_cast<TAboutBox&>(f).Panel1.Click();
                      }};
  form1->Image1.Click();
  EXPECT_EQ(Opened(), (std::vector<std::string>{Page("https://vandrel-midi.example/")}));
  EXPECT_TRUE(app.script.steps.empty());
  (void)first;
}

TEST_F(LeavingTheManager, TheMainRoutinesWindowsComeInOrderAndOnlyTheMainOneShows) {
  EXPECT_EQ(ui::Application.MainForm(), form1);
  EXPECT_FALSE(manager::Form2->Visible());
  EXPECT_FALSE(manager::AboutBox->Visible());
  EXPECT_EQ(manager::AboutBox->Text(), "About ...");
  EXPECT_EQ(manager::Form2->Text(), "Open external website");
  EXPECT_EQ(manager::Form2->BitBtn1.Text(), "&Yes");
  EXPECT_EQ(manager::Form2->BitBtn2.Text(), "&No");
  EXPECT_EQ(manager::Form2->CheckBox1.Text(), "Agreed, I would like to open the website.");
}

}  // namespace
