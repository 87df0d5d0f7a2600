// What the manager hands to the programs it starts and writes into their
// settings files, on a scripted platform.
#include "catalogue/managed_programs.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "catalogue/catalogue.h"
#include "tests/support/fake_files.h"

namespace {

using namespace catalogue;

constexpr const char* kManager = "C:\\Program Files\\Vandrel\\vandrel.exe";

TEST(ManagedPrograms, DirectoryFollowsDirUnquotedBlanksAndAll) {
  EXPECT_EQ(SetupArguments("C:\\Program Files\\My MIDI"), "/DIR=C:\\Program Files\\My MIDI");
  EXPECT_EQ(UpdateArguments("C:\\Program Files\\My MIDI"), "/DIR=C:\\Program Files\\My MIDI /SILENT");
  // A drive root keeps the backslash the user typed.
  EXPECT_EQ(SetupArguments("D:\\"), "/DIR=D:\\");
}

TEST(ManagedPrograms, OnlyEntriesZeroToTwoAreToldWhereTheManagerIs) {
  for (int index : {0, 1, 2}) {
    EXPECT_EQ(ProgramArguments(index, kManager), "/x \"C:\\Program Files\\Vandrel\\vandrel.exe\"") << index;
  }
  EXPECT_EQ(ProgramArguments(3, kManager), "");
  EXPECT_EQ(ProgramArguments(4, kManager), "");
}

TEST(ManagedPrograms, FilesLieInTheInstallDirectoryUnderTheirCatalogueNames) {
  EXPECT_EQ(ProgramPath("C:\\ORVIK", 0), "C:\\ORVIK\\ORVIK.exe");
  EXPECT_EQ(ProgramPath("C:\\ORVIK", 2), ProgramPath("C:\\ORVIK", 0));
  EXPECT_EQ(ProgramPath("C:\\ORVIK", 4), "C:\\ORVIK\\FENNICK.exe");
  EXPECT_EQ(SetupPath("C:\\ORVIK", 4), "C:\\ORVIK\\orvik101.exe");
  EXPECT_EQ(UpdatePath("C:\\BRUNDA", 3), "C:\\BRUNDA\\brundaupd.exe");
  EXPECT_EQ(UpdateUrl(0), SoftwareUrl("orvikupd.exe"));
  EXPECT_EQ(UpdateUrl(2), UpdateUrl(0));
}

TEST(ManagedPrograms, SettingsFileIsTheProgramPathWithIni) {
  EXPECT_EQ(SettingsFilePath("C:\\ORVIK\\ORVIK.exe"), "C:\\ORVIK\\ORVIK.ini");
  // Only the file name's extension is replaced, not a dot in the directory.
  EXPECT_EQ(SettingsFilePath("C:\\midi.tools\\FENNICK.exe"), "C:\\midi.tools\\FENNICK.ini");
}

class UpdateMarksTest : public ::testing::Test {
 protected:
  static constexpr const char* kSettings = "C:\\ORVIK\\ORVIK.ini";
  std::vector<std::string> Writes() const {
    std::vector<std::string> writes;
    for (const auto& call : log.calls) {
      if (call.rfind("WriteProfileKey", 0) == 0) writes.push_back(call);
    }
    return writes;
  }
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
};

TEST_F(UpdateMarksTest, WritesResetUpdateFlagAndManagerPathInOrder) {
  files.AddFile(kSettings, "[Options]\r\nReset=0\r\n");
  EXPECT_TRUE(WriteUpdateMarks(files, 0, kSettings, kManager));
  EXPECT_EQ(Writes(),
            (std::vector<std::string>{
                "WriteProfileKey C:\\ORVIK\\ORVIK.ini [Options] Reset=1",
                "WriteProfileKey C:\\ORVIK\\ORVIK.ini [Options] UpdateFlag=1",
                "WriteProfileKey C:\\ORVIK\\ORVIK.ini [Options] VDMPath=C:\\Program Files\\Vandrel\\vandrel.exe",
            }));
}

TEST_F(UpdateMarksTest, OnlyThePortableEditionIsMarkedPortableAndFirst) {
  files.AddFile(kSettings);
  ASSERT_TRUE(WriteUpdateMarks(files, 2, kSettings, kManager));
  ASSERT_EQ(Writes().size(), 4u);
  EXPECT_EQ(Writes()[0], "WriteProfileKey C:\\ORVIK\\ORVIK.ini [Options] Portable=1");
  for (int index : {0, 1, 3}) {
    log.calls.clear();
    ASSERT_TRUE(WriteUpdateMarks(files, index, kSettings, kManager));
    EXPECT_EQ(Writes().size(), 3u) << index;
    EXPECT_EQ(log.CallCount("WriteProfileKey C:\\ORVIK\\ORVIK.ini [Options] Portable"), 0) << index;
  }
}

TEST_F(UpdateMarksTest, NothingIsWrittenWithoutSettingsFileOrUpdate) {
  EXPECT_FALSE(WriteUpdateMarks(files, 0, kSettings, kManager));  // the program never wrote its settings
  files.AddDirectory(kSettings);                                  // a directory of that name is no settings file
  EXPECT_FALSE(WriteUpdateMarks(files, 0, kSettings, kManager));
  files.AddFile("C:\\ORVIK\\FENNICK.ini");
  EXPECT_FALSE(WriteUpdateMarks(files, 4, "C:\\ORVIK\\FENNICK.ini", kManager));
  EXPECT_TRUE(Writes().empty());
}

TEST_F(UpdateMarksTest, AFailedWriteStopsAndNamesTheFile) {
  files.AddFile(kSettings);
  files.unwritable.insert("c:\\orvik\\orvik.ini");
  try {
    WriteUpdateMarks(files, 2, kSettings, kManager);
    FAIL() << "a failed write must be reported";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Unable to write to C:\\ORVIK\\ORVIK.ini");
  }
  EXPECT_EQ(Writes().size(), 1u);  // nothing after the failed key
}

}  // namespace
