// Forms of the toolkit without windows: check boxes, glyph buttons with their
// modal results, modal showings and what their close handlers decide, and
// the window-level properties a description carries.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "tests/support/scripted_form_peer.h"
#include "ui/form_description.h"
#include "ui/forms.h"

namespace {

using namespace ui;
using testing_support::ScriptedApplication;

struct Dialog : TForm {
  explicit Dialog(bool* destroyed = nullptr) : TForm(nullptr), destroyed_(destroyed) {
    Name = "Dialog";
    for (TControl* control : std::array<TControl*, 3>{&Box, &Yes, &No}) control->SetParent(this);
    Yes.SetKind(TBitBtnKind::bkYes);
    No.SetKind(TBitBtnKind::bkNo);
  }
  ~Dialog() override {
    if (destroyed_ != nullptr) *destroyed_ = true;
  }
  TCheckBox Box{this};
  TBitBtn Yes{this};
  TBitBtn No{this};
  bool* destroyed_;
};

TEST(CheckBox, RaisesClickForEveryChangeByUserOrProgramButNotForTheSameState) {
  Dialog form;
  std::vector<bool> seen;
  form.Box.OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, &form.Box);
    seen.push_back(form.Box.Checked());
  };
  form.Box.SetChecked(false);     // already unchecked: nothing
  form.Box.Click();               // the user ticks it
  form.Box.UserSetChecked(true);  // the window already shows it ticked: nothing
  form.Box.SetChecked(false);     // the program unticks it
  form.Box.SetEnabled(false);
  form.Box.Click();  // disabled: nothing
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(BitBtn, KindsBringModalResultAndDefaultOrCancelRole) {
  Dialog form;
  EXPECT_EQ(form.Yes.ModalResult, mrYes);
  EXPECT_TRUE(form.Yes.Default);
  EXPECT_FALSE(form.Yes.Cancel);
  EXPECT_EQ(form.No.ModalResult, mrNo);
  EXPECT_TRUE(form.No.Cancel);
  EXPECT_FALSE(form.No.Default);

  int clicks = 0;
  form.Yes.OnClick = [&](TObject*) {
    EXPECT_EQ(form.ModalResult(), mrYes);  // the form knows the result when the handler runs
    ++clicks;
  };
  form.Yes.SetEnabled(false);
  form.Yes.Click();
  EXPECT_EQ(form.ModalResult(), mrNone);
  form.Yes.SetEnabled(true);
  form.Yes.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(ModalForm, EndsWithTheResultOfThePressedButtonAndIsHiddenNotDestroyed) {
  ScriptedApplication app;
  bool destroyed = false;
  Dialog& form = Application.CreateForm<Dialog>(&destroyed);
  int shows = 0;
  form.OnShow = [&](TObject*) { ++shows; };
  app.script.steps = {[](TForm&) {}, [](TForm& f) { static_cast<Dialog&>(f).No.Click(); }};
  EXPECT_EQ(form.ShowModal(), mrNo);
  EXPECT_EQ(app.script.log, (std::vector<std::string>{"Dialog BeginModal", "Dialog Show", "Dialog EndModal",
                                                      "Dialog Hide"}));
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Modal());

  app.script.steps = {[](TForm& f) { static_cast<Dialog&>(f).Yes.Click(); }};
  EXPECT_EQ(form.ShowModal(), mrYes);
  EXPECT_EQ(shows, 2);  // every showing runs the show handler
  EXPECT_FALSE(destroyed);
}

TEST(ModalForm, ClosingItOrAnEndingApplicationGivesCancel) {
  ScriptedApplication app;
  Dialog& form = Application.CreateForm<Dialog>();
  app.script.steps = {[](TForm& f) { f.Close(); }};
  EXPECT_EQ(form.ShowModal(), mrCancel);
  app.script.steps = {};  // the application ends while it is shown
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(ModalForm, ACloseHandlerKeepsItOpenOrHasItDestroyedAfterTheShowing) {
  ScriptedApplication app;
  bool destroyed = false;
  Dialog& form = Application.CreateForm<Dialog>(&destroyed);
  int closes = 0;
  form.OnClose = [&](TObject*, TCloseAction& action) {
    action = ++closes == 1 ? TCloseAction::caNone : TCloseAction::caFree;
  };
  app.script.steps = {[](TForm& f) { f.Close(); }, [](TForm& f) {
                        EXPECT_TRUE(f.Modal());  // still shown after the first close
                        static_cast<Dialog&>(f).No.Click();
                      }};
  EXPECT_EQ(form.ShowModal(), mrNo);
  EXPECT_EQ(closes, 2);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Application.MainForm(), nullptr);  // the application no longer owns it
}

TEST(ModalForm, AnErrorInItsCloseHandlerIsReportedAndTheFormStaysOpen) {
  ScriptedApplication app;
  std::string shown;
  Application.ShowException = [&](const std::string& message) { shown = message; };
  Dialog& form = Application.CreateForm<Dialog>();
  bool fail = true;
  form.OnClose = [&](TObject*, TCloseAction&) {
    if (fail) throw std::runtime_error("Cannot close");
  };
  app.script.steps = {[&](TForm& f) { f.Close(); },
                      [&](TForm& f) {
                        fail = false;
                        f.Close();
                      }};
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(shown, "Cannot close.");
  EXPECT_TRUE(app.script.steps.empty());
  Application.ShowException = nullptr;
}

TEST(ModalForm, AVisibleFormCannotBeShownModally) {
  ScriptedApplication app;
  Dialog& form = Application.CreateForm<Dialog>();
  form.Show();
  EXPECT_THROW(form.ShowModal(), std::logic_error);
}

TEST(FormDescription, CarriesTheWindowLevelLooks) {
  struct Plain : TForm {
    Plain() : TForm(nullptr) {
      Name = "Plain";
      Label1.Name = "Label1";
    }
    TLabel Label1{this};
  } form;
  static constexpr TFont kOwn{.Name = "Segoe UI", .Height = 12, .Bold = true};
  static constexpr std::array<ControlDescription, 1> kControls = {{
      {.name = "Label1", .left = 4, .top = 5, .width = 60, .height = 15, .text = "Hi", .font = &kOwn,
       .alignment = TAlignment::taCenter},
  }};
  LoadForm(form, {.caption = "About ...", .clientWidth = 268, .clientHeight = 161,
                  .borderStyle = TBorderStyle::bsDialog, .borderIcons = 0,
                  .position = TPosition::poScreenCenter, .formStyle = TFormStyle::fsStayOnTop,
                  .keyPreview = true, .font = {.Height = 11, .Color = clBlack}, .color = clBtnShadow,
                  .hint = "contact", .controls = kControls});
  EXPECT_EQ(form.Text(), "About ...");
  EXPECT_EQ(form.BorderStyle, TBorderStyle::bsDialog);
  EXPECT_EQ(form.BorderIcons, 0u);
  EXPECT_EQ(form.Position, TPosition::poScreenCenter);
  EXPECT_EQ(form.FormStyle, TFormStyle::fsStayOnTop);
  EXPECT_TRUE(form.KeyPreview);
  EXPECT_EQ(form.Color, clBtnShadow);
  EXPECT_EQ(form.Font->Color, clBlack);
  EXPECT_EQ(form.Hint, "contact");
  EXPECT_EQ(form.Label1.Font, kOwn);
  EXPECT_EQ(form.Label1.Alignment, TAlignment::taCenter);
  EXPECT_EQ(form.Label1.Parent(), &form);
  EXPECT_EQ(form.Label1.ParentForm(), &form);

  // A row that gives a control a field its kind has not is a programming error.
  static constexpr std::array<ControlDescription, 1> kTabbedLabel = {{{.name = "Label1", .tabOrder = 0}}};
  static constexpr std::array<ControlDescription, 1> kLabelAsButton = {
      {{.name = "Label1", .kind = TBitBtnKind::bkYes}}};
  EXPECT_THROW(LoadForm(form, {.controls = kTabbedLabel}), std::logic_error);
  EXPECT_THROW(LoadForm(form, {.controls = kLabelAsButton}), std::logic_error);
}

}  // namespace
