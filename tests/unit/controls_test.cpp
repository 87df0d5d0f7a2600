#include "ui/forms.h"

#include <gtest/gtest.h>

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

}  // namespace
