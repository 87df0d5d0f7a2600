// Starting and updating an own program on a scripted platform: the branches
// of each action, its exact texts and the arguments handed to the programs
// it starts.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "tests/support/main_window_fixture.h"

namespace {

using manager::TForm1;

class ExecuteAndUpdate : public testing_support::MainWindowFixture {};

TEST_F(ExecuteAndUpdate, ExecutePassesTheManagerPathToEntriesZeroToTwoAndClosesTheManager) {
  os.AddFile("C:\\P\\ORVIK.exe");
  os.AddFile("C:\\P\\BRUNDA.exe");
  TForm1& f = Start(2, "C:\\P");
  f.SpeedButton4.Click();
  EXPECT_EQ(os.lastStart.file, "C:\\P\\ORVIK.exe");
  EXPECT_EQ(os.lastStart.parameters, "/x \"C:\\Tools\\vandrel.exe\"");
  EXPECT_EQ(os.CallCount("WaitForProcess"), 0);
  EXPECT_FALSE(f.DirList().has_value());  // the close sequence ran

  TForm1& g = Start(3, "C:\\P");
  g.SpeedButton4.Click();
  EXPECT_EQ(os.lastStart.file, "C:\\P\\BRUNDA.exe");
  EXPECT_EQ(os.lastStart.parameters, "");
}

TEST_F(ExecuteAndUpdate, ExecuteOfAVanishedProgramOrAFailedStartKeepsTheManagerOpen) {
  os.AddFile("C:\\P\\SELVO.exe");
  TForm1& f = Start(1, "C:\\P");
  EXPECT_EQ(Buttons(), "10111");
  os.RemoveFile("C:\\P\\SELVO.exe");
  f.SpeedButton4.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{
                        "The program does not exist and therefore cannot be executed, updated or removed !"}));
  EXPECT_EQ(Buttons(), "11000");

  os.AddFile("C:\\P\\SELVO.exe");
  f.Edit1.SetText("C:\\P");
  f.Edit1.SetText("C:\\P\\");
  f.Edit1.SetText("C:\\P");
  os.calls.clear();
  os.startSucceeds = false;
  f.SpeedButton4.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"SELVO.exe could not be executed !"}));
  EXPECT_TRUE(f.DirList().has_value());
}

TEST_F(ExecuteAndUpdate, UpdateWritesTheMarksFetchesStartsSilentlyRecordsAndCloses) {
  os.AddFile("C:\\P\\ORVIK.exe");
  os.AddFile("C:\\P\\ORVIK.ini", "[Options]\r\nPortable=0\r\n");
  TForm1& f = Start(2, "C:\\P");
  f.SpeedButton8.Click();
  const std::vector<std::string> expected = {
      "WriteProfileKey C:\\P\\ORVIK.ini [Options] Portable=1", "WriteProfileKey C:\\P\\ORVIK.ini [Options] Reset=1",
      "WriteProfileKey C:\\P\\ORVIK.ini [Options] UpdateFlag=1",
      "WriteProfileKey C:\\P\\ORVIK.ini [Options] VDMPath=C:\\Tools\\vandrel.exe"};
  std::vector<std::string> writes;
  for (const auto& call : os.calls) {
    if (call.rfind("WriteProfileKey", 0) == 0) writes.push_back(call);
  }
  EXPECT_EQ(writes, expected);
  EXPECT_EQ(Said(), (std::vector<std::string>{"The download was successful. The program will now be\r\nupdated and "
                                              "executed with its original start values !"}));
  EXPECT_EQ(os.lastStart.file, "C:\\P\\" + std::string(catalogue::OwnProgramAt(2).updateFile));
  EXPECT_EQ(os.lastStart.parameters, "/DIR=C:\\P /SILENT");
  EXPECT_EQ(os.CallCount("WaitForProcess"), 0);
  EXPECT_FALSE(f.DirList().has_value());
  // The update installer was recorded and is what the close deletes.
  EXPECT_EQ(os.CallCount("RemoveFile C:\\P\\" + std::string(catalogue::OwnProgramAt(2).updateFile)), 1);
}

TEST_F(ExecuteAndUpdate, UpdateDoesNothingWithoutSettingsFileOrWhileDisabled) {
  os.AddFile("C:\\P\\SELVO.exe");
  TForm1& f = Start(1, "C:\\P");
  f.SpeedButton8.Click();
  EXPECT_EQ(os.CallCount("WriteProfileKey"), 0);
  EXPECT_EQ(os.CallCount("Download"), 0);
  EXPECT_TRUE(Said().empty());

  os.AddFile("C:\\P\\SELVO.ini");
  f.SpeedButton8.SetEnabled(false);
  os.calls.clear();
  f.SpeedButton8.Click();
  f.UpdateAndReset();  // called directly while disabled
  EXPECT_TRUE(os.calls.empty());
}

TEST_F(ExecuteAndUpdate, AFailedUpdateKeepsTheWrittenMarksAndTheManagerOpen) {
  os.AddFile("C:\\P\\SELVO.exe");
  os.AddFile("C:\\P\\SELVO.ini");
  TForm1& f = Start(1, "C:\\P");
  os.downloadResult = platform::DownloadResult::Failed;
  f.SpeedButton8.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"Error while downloading SELVO.exe !"}));
  EXPECT_EQ(os.profile["C:\\P\\SELVO.ini|Options|Reset"], "1");
  EXPECT_TRUE(f.DirList().has_value());

  os.unwritable.insert("c:\\p\\selvo.ini");
  os.calls.clear();
  EXPECT_THROW(f.SpeedButton8.Click(), std::runtime_error);  // "Unable to write to ..." for the error box
  EXPECT_EQ(os.CallCount("Download"), 0);
}

}  // namespace
