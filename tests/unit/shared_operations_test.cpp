// The shared operations of the main window on a scripted platform: what they
// ask of the operating system, in which order, and what they make of the answers.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/main_window_fixture.h"

namespace {

using Fetched = platform::DownloadResult;
using manager::TForm1;
using testing_support::FakePlatform;
constexpr platform::WaitResult kWaitTimeout = platform::WaitResult::TimedOut;
constexpr platform::ShowCommand kNormal = platform::ShowCommand::Normal;

constexpr platform::WindowHandle kMainWindow{0x777};
constexpr platform::SpecialFolder kCommonDesktop = platform::SpecialFolder::CommonDesktop;
constexpr const char* kUrl = "http://server.example/software/orvik100.exe";
constexpr const char* kTarget = "C:\\ORVIK\\orvik100.exe";

class SharedOperations : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    Start().SetWindowHandle(kMainWindow);
    os.calls.clear();
  }

  // The calls whose line starts with one of `prefixes`, in order.
  std::vector<std::string> Calls(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> found;
    for (const auto& call : os.calls) {
      for (const char* prefix : prefixes) {
        if (call.rfind(prefix, 0) == 0) {
          found.push_back(call);
          break;
        }
      }
    }
    return found;
  }
};

// --- Questions and messages -------------------------------------------------

TEST_F(SharedOperations, AskYesNoIsTrueOnlyForYes) {
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::No, platform::BoxAnswer::None};
  EXPECT_TRUE(form->AskYesNo("Create it ?"));
  EXPECT_FALSE(form->AskYesNo("Create it ?"));
  EXPECT_FALSE(form->AskYesNo("Create it ?"));  // anything but Yes, a closed box too
  // Owned by the application window, titled with the application, Yes/No with a question icon.
  EXPECT_EQ(os.calls.front(), "SystemMessageBox 2560 Vandrel download manager: Create it ? /YesNo Question");
}

TEST_F(SharedOperations, InformShowsTheMessageDialogWithTheApplicationTitle) {
  form->Inform("The download was successful.");
  EXPECT_EQ(os.calls,
            (std::vector<std::string>{"ShowMessageDialog Vandrel download manager: The download was successful."}));
}

// --- RunProgram ---------------------------------------------------------------

TEST_F(SharedOperations, RunProgramFillsTheStartRequest) {
  ASSERT_TRUE(form->RunProgram("C:\\ORVIK\\ORVIK.exe", "/x \"C:\\Tools\\vandrel.exe\"", kNormal, false));
  const platform::StartRequest& r = os.lastStart;
  EXPECT_EQ(r.owner, os.ApplicationWindow());
  EXPECT_EQ(r.file, "C:\\ORVIK\\ORVIK.exe");
  EXPECT_EQ(r.parameters, "/x \"C:\\Tools\\vandrel.exe\"");
  EXPECT_EQ(r.show, kNormal);

  ASSERT_TRUE(form->RunProgram("C:\\BRUNDA\\BRUNDA.exe", "", platform::ShowCommand::Hidden, false));
  EXPECT_EQ(os.lastStart.show, platform::ShowCommand::Hidden);
  EXPECT_EQ(os.lastStart.parameters, "");
}

TEST_F(SharedOperations, RunProgramWithoutWaitClosesTheHandleAtOnce) {
  EXPECT_TRUE(form->RunProgram("C:\\ORVIK\\ORVIK.exe", "", kNormal, false));
  EXPECT_EQ(os.calls, (std::vector<std::string>{"BeginModal", "StartProgram C:\\ORVIK\\ORVIK.exe | ",
                                                "CloseProcess 1280", "EndModal"}));
}

TEST_F(SharedOperations, RunProgramWaitsInSlicesAndServesMessagesWhileDisabled) {
  os.waitResults = {kWaitTimeout, kWaitTimeout, platform::WaitResult::Ended};
  EXPECT_TRUE(form->RunProgram("C:\\ORVIK\\orvik100.exe", "/DIR=C:\\ORVIK", kNormal, true));
  EXPECT_EQ(os.calls, (std::vector<std::string>{
                          "BeginModal",
                          "StartProgram C:\\ORVIK\\orvik100.exe | /DIR=C:\\ORVIK",
                          "WaitForProcess 1280 500",
                          "ProcessMessages",
                          "WaitForProcess 1280 500",
                          "ProcessMessages",
                          "WaitForProcess 1280 500",
                          "ProcessMessages",
                          "CloseProcess 1280",
                          "EndModal",
                      }));
}

TEST_F(SharedOperations, RunProgramWaitEndsOnAnyResultButTimeout) {
  for (platform::WaitResult result : {platform::WaitResult::Ended, platform::WaitResult::Failed}) {
    os.calls.clear();
    os.waitResults = {kWaitTimeout, result, kWaitTimeout};
    EXPECT_TRUE(form->RunProgram("C:\\ORVIK\\orvik100.exe", "", kNormal, true));
    EXPECT_EQ(os.CallCount("WaitForProcess"), 2) << static_cast<int>(result);
    EXPECT_EQ(os.calls.back(), "EndModal");
  }
}

TEST_F(SharedOperations, RunProgramRefusedGivesFalseWithoutWaiting) {
  os.startSucceeds = false;
  EXPECT_FALSE(form->RunProgram("C:\\ORVIK\\missing.exe", "", kNormal, true));
  EXPECT_EQ(os.calls,
            (std::vector<std::string>{"BeginModal", "StartProgram C:\\ORVIK\\missing.exe | ",
                                      "EndModal"}));
}

TEST_F(SharedOperations, RunProgramWithoutProcessHandleDoesNotWait) {
  os.startedProcess = 0;  // the shell handed the file to a program that already ran
  EXPECT_TRUE(form->RunProgram("C:\\ORVIK\\readme.txt", "", kNormal, true));
  EXPECT_EQ(os.CallCount("WaitForProcess"), 0);
  EXPECT_EQ(os.CallCount("CloseProcess"), 0);
  EXPECT_EQ(os.calls.back(), "EndModal");
}

TEST_F(SharedOperations, RunProgramEnablesTheWindowWhenAHandlerFailsDuringTheWait) {
  os.waitResults = {kWaitTimeout, kWaitTimeout};
  os.onProcessMessages = [] { throw std::runtime_error("handler failed"); };
  EXPECT_THROW(form->RunProgram("C:\\ORVIK\\orvik100.exe", "", kNormal, true), std::runtime_error);
  EXPECT_EQ(Calls({"CloseProcess", "BeginModal", "EndModal"}),
            (std::vector<std::string>{"BeginModal", "CloseProcess 1280", "EndModal"}));
}

// --- WaitForFile --------------------------------------------------------------

TEST_F(SharedOperations, WaitForFileWithoutTimeReturnsAtOnceAndTouchesNothing) {
  os.AddFile(kTarget);
  for (std::int32_t limit : {0, -1, INT32_MIN}) {
    EXPECT_FALSE(form->WaitForFile(kTarget, true, limit)) << limit;
  }
  EXPECT_TRUE(Calls({"ProcessMessages", "Sleep", "FileExists"}).empty());
}

TEST_F(SharedOperations, WaitForFileWithEmptyPathServesMessagesForTheWholeLimit) {
  os.tickStep = 10;
  EXPECT_FALSE(form->WaitForFile("", true, 100));
  EXPECT_GE(os.CallCount("ProcessMessages"), 5);
  EXPECT_EQ(os.CallCount("Sleep 0"), os.CallCount("ProcessMessages"));
  EXPECT_EQ(os.CallCount("FileExists"), 0);
  EXPECT_GE(os.tick, 100u);  // the counter was read up to the limit
}

TEST_F(SharedOperations, WaitForFileSeesAnExistingFileAfterOnePass) {
  os.AddFile(kTarget);
  EXPECT_TRUE(form->WaitForFile(kTarget, true, 1000));
  EXPECT_EQ(os.calls, (std::vector<std::string>{"ProcessMessages", "Sleep 0", std::string("FileExists ") + kTarget}));
}

TEST_F(SharedOperations, WaitForFileSeesAFileComeAndGo) {
  int passes = 0;
  os.onProcessMessages = [&] {
    if (++passes == 3) os.AddFile(kTarget);
  };
  EXPECT_TRUE(form->WaitForFile(kTarget, true, 1000));
  EXPECT_EQ(passes, 3);

  passes = 0;
  os.onProcessMessages = [&] {
    if (++passes == 2) os.RemoveFile(kTarget);
  };
  EXPECT_TRUE(form->WaitForFile(kTarget, false, 1000));
  EXPECT_EQ(passes, 2);
}

TEST_F(SharedOperations, WaitForFileTimesOut) {
  os.tickStep = 100;
  EXPECT_FALSE(form->WaitForFile(kTarget, true, 1000));
  os.AddFile(kTarget);
  EXPECT_FALSE(form->WaitForFile(kTarget, false, 1000));
}

TEST_F(SharedOperations, WaitForFileIsNotDisturbedByTheCounterWrapping) {
  int passes = 0;
  os.onProcessMessages = [&] {
    if (++passes > 100) throw std::logic_error("the wait did not end");
  };
  os.tick = 0xFFFFFF00u;  // wraps after 256 ms
  os.tickStep = 100;
  EXPECT_FALSE(form->WaitForFile(kTarget, true, 1000));
  EXPECT_GE(passes, 8);
  EXPECT_LE(passes, 10);

  // A file that appears after the wrap is still seen.
  passes = 0;
  os.tick = 0xFFFFFF00u;
  os.onProcessMessages = [&] {
    if (++passes == 5) os.AddFile(kTarget);
  };
  EXPECT_TRUE(form->WaitForFile(kTarget, true, 1000));
  EXPECT_EQ(passes, 5);
}

// --- FetchFile ----------------------------------------------------------------

TEST_F(SharedOperations, FetchFileCopiesTheFileBesideTheManagerOverTheTarget) {
  os.AddFile("C:\\Tools\\orvik100.exe", "local setup");
  os.AddFile(kTarget, "old setup");
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Downloaded);
  EXPECT_EQ(os.FileContent(kTarget), "local setup");
  EXPECT_EQ(Calls({"Copy", "Download", "BeginModal", "EndModal"}),
            (std::vector<std::string>{"BeginModal", "Copy C:\\Tools\\orvik100.exe -> C:\\ORVIK\\orvik100.exe",
                                      "EndModal"}));
}

TEST_F(SharedOperations, FetchFileDoesNotFallBackToTheServerWhenTheLocalCopyFails) {
  os.AddFile("C:\\Tools\\orvik100.exe", "local setup");
  os.copyResult = false;
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Failed);
  EXPECT_EQ(os.CallCount("Download"), 0);
}

// The window takes no input for the whole download, and the file stays held
// until a program has been started from it.
TEST_F(SharedOperations, FetchFileDownloadsWithTheWindowDisabledAndHoldsTheFileUntilAStart) {
  os.AddDirectory("C:\\Tools\\orvik100.exe");  // a directory beside the manager is no local copy
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Downloaded);
  EXPECT_EQ(os.FileContent(kTarget), "downloaded");
  EXPECT_EQ(Calls({"Copy", "Download", "BeginModal", "LeaveModal", "EndModal", "ReleaseFile"}),
            (std::vector<std::string>{"BeginModal", std::string("Download ") + kUrl + " -> " + kTarget,
                                      "EndModal"}));
  EXPECT_TRUE(form->RunProgram(kTarget, "", platform::ShowCommand::Normal, false));
  EXPECT_EQ(Calls({"StartProgram", "ReleaseFile"}).back(),
            "ReleaseFile " + std::to_string(FakePlatform::kHeldFile.value));
}

// The hold on a fetched file ends once: when a later fetch takes its place,
// or when the action ends, however it ends.
TEST_F(SharedOperations, AFetchedFileIsReleasedOnceByTheNextFetchOrTheActionsEnd) {
  const std::string released = "ReleaseFile " + std::to_string(FakePlatform::kHeldFile.value);
  {
    const TForm1::ActionScope action(*form);
    EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Downloaded);
    EXPECT_TRUE(Calls({"ReleaseFile"}).empty());
    EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Downloaded);
    EXPECT_EQ(Calls({"ReleaseFile"}), std::vector<std::string>{released});
    os.downloadResult = Fetched::Failed;  // a failed fetch leaves the hold as it was
    EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Failed);
    EXPECT_EQ(Calls({"ReleaseFile"}).size(), 1u);
  }
  EXPECT_EQ(Calls({"ReleaseFile"}), (std::vector<std::string>{released, released}));
}

TEST_F(SharedOperations, FetchFileFailsOrIsCancelledWithoutAFileWait) {
  os.downloadResult = Fetched::Failed;
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Failed);
  EXPECT_EQ(os.CallCount("ProcessMessages"), 0);  // no file wait after a failed download

  // A failed transfer is a result; an error on the caller's side is told as
  // a failed fetch too, once the windows take input again.
  os.downloadResult = Fetched::Downloaded;
  os.downloadThrows = true;
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Failed);
  EXPECT_EQ(Calls({"BeginModal", "EndModal"}).back(), "EndModal");

  // A close asked for while the download runs ends it as cancelled.
  const TForm1::ActionScope action(*form);
  os.downloadThrows = false;
  os.whileDownloading = [&](platform::DownloadObserver& observer) {
    EXPECT_FALSE(observer.CancelRequested());
    form->Close();
  };
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Cancelled);
  EXPECT_FALSE(os.HasFile(kTarget));
}

TEST_F(SharedOperations, FetchFileFailsWhenTheDownloadedFileDoesNotAppear) {
  os.downloadCreatesFile = false;
  os.tickStep = 50;
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Failed);
  EXPECT_GT(os.CallCount("ProcessMessages"), 0);
  EXPECT_LE(os.CallCount("ProcessMessages"), 1000 / 50);
}

TEST_F(SharedOperations, FetchFileCatchesAnErrorRaisedDuringTheFileWait) {
  os.downloadCreatesFile = false;
  os.onProcessMessages = [] { throw std::runtime_error("handler failed"); };
  EXPECT_EQ(form->FetchFile(kUrl, kTarget), Fetched::Failed);
}

// --- GetSpecialFolder ---------------------------------------------------------

TEST_F(SharedOperations, GetSpecialFolderResolvesIt) {
  EXPECT_EQ(manager::GetSpecialFolder(os, os, platform::WindowHandle{0x55}, kCommonDesktop), "C:\\users\\Public\\Desktop");
  EXPECT_EQ(os.calls, (std::vector<std::string>{"SpecialFolderPath 85 CommonDesktop"}));
}

TEST_F(SharedOperations, GetSpecialFolderReportsAMissingAllocator) {
  os.allocatorAvailable = false;
  EXPECT_EQ(manager::GetSpecialFolder(os, os, platform::WindowHandle{0x55}, kCommonDesktop), "");
  EXPECT_EQ(os.calls, (std::vector<std::string>{
                          "SpecialFolderPath 85 CommonDesktop",
                          "SystemMessageBox 85 SHGetMalloc(pMalloc): Couldn't get pointer to IMalloc interface. /Ok Error"}));
}

TEST_F(SharedOperations, GetSpecialFolderGivesEmptyTextSilentlyWhenTheFolderCannotBeResolved) {
  os.locatesFolders = false;
  EXPECT_EQ(manager::GetSpecialFolder(os, os, platform::WindowHandle{0x55}, kCommonDesktop), "");
  os.locatesFolders = true;
  os.folderPath = "";  // a folder without a file-system path
  EXPECT_EQ(manager::GetSpecialFolder(os, os, platform::WindowHandle{0x55}, kCommonDesktop), "");
  EXPECT_EQ(os.CallCount("SystemMessageBox"), 0);
}

}  // namespace
