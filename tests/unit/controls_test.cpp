#include "ui/forms.h"

#include <gtest/gtest.h>

#include "ui/scaling.h"

#include <stdexcept>

namespace {

using namespace ui;

struct Form : TForm {
  Form() : TForm(nullptr) {
    Edit.SetParent(this);
    Panel.SetParent(this);
    Combo.SetParent(this);
    Combo.Items = {"a", "b", "c"};
  }
  TEdit Edit{this};
  TPanel Panel{this};
  TComboBox Combo{this};
};

TEST(Toolkit, EditRaisesChangeForProgramAndUserChangesButNotForAnEqualText) {
  Form form;
  int changes = 0;
  form.Edit.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &form.Edit);
    ++changes;
  };
  form.Edit.SetText("C:\\X");
  form.Edit.SetText("C:\\X");
  form.Edit.UserChangedText("C:\\XY");
  form.Edit.UserChangedText("C:\\XY");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(form.Edit.Text(), "C:\\XY");
}

TEST(Toolkit, ANestedChangeInsideAChangeHandlerEndsInTheSameState) {
  Form form;
  int runs = 0;
  form.Edit.OnChange = [&](TObject*) {
    ++runs;
    form.Edit.SetText("");  // as a handler that empties the field does
  };
  form.Edit.SetText("x");
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(form.Edit.Text(), "");
}

TEST(Toolkit, OnlyTheUsersChoiceInTheListRaisesChange) {
  Form form;
  int changes = 0;
  form.Combo.OnChange = [&](TObject*) { ++changes; };
  form.Combo.SetItemIndex(2);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(form.Combo.ItemIndex(), 2);
  form.Combo.UserSelected(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(form.Combo.ItemIndex(), 1);
  form.Combo.SetItemIndex(7);
  EXPECT_EQ(form.Combo.ItemIndex(), -1);
}

TEST(Toolkit, LeavingAControlRaisesItsExitEvent) {
  Form form;
  int exits = 0;
  form.Edit.OnExit = [&](TObject*) { ++exits; };
  form.Edit.SetFocus();
  form.Edit.SetFocus();
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(form.Edit.Focused());
  form.FocusMovedTo(nullptr);  // another program took the focus: no exit
  EXPECT_EQ(exits, 0);
  form.Panel.SetFocus();
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(form.Panel.Focused());
}

TEST(Toolkit, KeyPressMayReplaceTheKey) {
  Form form;
  EXPECT_EQ(form.Edit.KeyPress('a'), 'a');
  form.Edit.OnKeyPress = [](TObject*, char& key) {
    if (key == '\r') key = '\0';
  };
  EXPECT_EQ(form.Edit.KeyPress('\r'), '\0');
  EXPECT_EQ(form.Edit.KeyPress('b'), 'b');
}

TEST(Toolkit, ADisabledSpeedButtonDoesNothing) {
  TSpeedButton button(nullptr);
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };
  button.Click();
  button.SetEnabled(false);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(Toolkit, AnErrorInTheCloseHandlerGoesToTheErrorBoxAndTheFormStays) {
  Form form;
  std::string shown;
  Application.ShowException = [&](const std::string& message) { shown = message; };
  form.OnClose = [](TObject*, TCloseAction&) { throw std::runtime_error("Cannot write \"x\""); };
  EXPECT_FALSE(form.CloseQuery());
  EXPECT_EQ(shown, "Cannot write \"x\".");
  form.OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caNone; };
  EXPECT_FALSE(form.CloseQuery());
  form.OnClose = nullptr;
  EXPECT_TRUE(form.CloseQuery());
  Application.ShowException = nullptr;
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
}

TEST(Toolkit, ComponentsAreFoundByName) {
  Form form;
  form.Edit.Name = "Edit1";
  EXPECT_EQ(form.FindComponent("Edit1"), &form.Edit);
  EXPECT_EQ(form.FindComponent("Edit2"), nullptr);
}

// Lengths round as MulDiv does; 96 dpi changes nothing, in places or pictures.
TEST(Scaling, LengthsRoundAsTheSystemDoesAndPicturesKeepEveryLine) {
  EXPECT_EQ(Scaled(443, 144), 665);  // 664.5: halves away from zero
  EXPECT_EQ(Scaled(411, 144), 617);
  EXPECT_EQ(Scaled(-3, 144), -5);
  EXPECT_EQ(Scaled(25, 120), 31);    // 31.25
  EXPECT_EQ(Unscaled(665, 144), 443);
  for (int pixels : {0, 1, 17, 401}) EXPECT_EQ(Scaled(pixels, 96), pixels);

  constexpr std::uint32_t red = 0xFFFF0000u, blue = 0xFF0000FFu, none = 0;
  const std::vector<std::uint32_t> picture = {red, none, blue, red};  // 2 × 2
  EXPECT_EQ(ScaledImage(picture, 2, 2, 2, 2), picture);
  EXPECT_EQ(ScaledImage(picture, 2, 2, 4, 2),
            (std::vector<std::uint32_t>{red, red, none, none, blue, blue, red, red}));
  // 1.5 times: the middle column lies half on each side; see-through is
  // half of it, so it is half see-through and keeps its colour.
  const std::vector<std::uint32_t> wider = ScaledImage(picture, 2, 2, 3, 2);
  EXPECT_EQ(wider[0], red);
  EXPECT_EQ(wider[1], 0x80FF0000u);
  EXPECT_EQ(wider[2], none);
  EXPECT_EQ(wider[4], 0xFF800080u);  // half blue, half red
}

}  // namespace
