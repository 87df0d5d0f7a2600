#include "catalogue/dir_list.h"

#include <gtest/gtest.h>

#include "tests/support/fake_files.h"

namespace {

using catalogue::DirList;
using catalogue::JoinLines;
using catalogue::LoadDirList;
using catalogue::SplitLines;

constexpr const char* kExe = "C:\\Tools\\vandrel.exe";
constexpr const char* kList = "C:\\Tools\\vandrel.ini";

TEST(DirListFile, LiesBesideTheExecutableUnderItsBaseName) {
  EXPECT_EQ(catalogue::DirListPath(kExe), kList);
  EXPECT_EQ(catalogue::DirListPath("C:\\a.b\\manager"), "C:\\a.b\\manager.ini");
}

TEST(DirListFile, LinesEndAtCrLfLoneCrOrLoneLfAndStopAtNul) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (DirList{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (DirList{"a", ""}));
  EXPECT_EQ(SplitLines("a\n\rb"), (DirList{"a", "", "b"}));  // LF then a lone CR
  EXPECT_EQ(SplitLines(std::string_view("a\r\nb\0c\r\nd", 10)), (DirList{"a", "b"}));
  EXPECT_EQ(SplitLines(""), DirList{});
  EXPECT_EQ(JoinLines({"C:\\X", "1"}), "C:\\X\r\n1\r\n");
}

TEST(DirListFile, WithoutAFileTheDefaultsAreUsedAndNothingIsWritten) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  EXPECT_EQ(LoadDirList(files, kExe), catalogue::DefaultDirList());
  EXPECT_EQ(log.CallCount("WriteFile"), 0);
}

TEST(DirListFile, StaleDirectoriesFallBackToTheirDefaultsOtherLinesAreKept) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  files.AddDirectory("D:\\Music");
  files.AddFile("D:\\file.txt");
  files.AddFile(kList, "D:\\Music\nD:\\gone\nD:\\file.txt\n\nd:\\music\n3\nextra six\n\nlast");
  const DirList lines = LoadDirList(files, kExe);
  EXPECT_EQ(lines, (DirList{"D:\\Music", "C:\\ORVIK ( recommended !)", "C:\\ORVIK ( recommended !)",
                            "C:\\BRUNDA ( recommended !)", "d:\\music", "3", "extra six", "", "last"}));
  EXPECT_EQ(log.CallCount("WriteFile"), 0);
}

// Files the manager did not write in its shape are mended in memory only.
TEST(DirListFile, ShortFilesTakeTheMissingLinesFromTheDefaults) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  files.AddDirectory("D:\\Music");
  files.AddFile(kList, "D:\\Music\r\n");
  DirList expected = catalogue::DefaultDirList();
  expected[0] = "D:\\Music";
  EXPECT_EQ(LoadDirList(files, kExe), expected);

  files.AddFile(kList, "");
  EXPECT_EQ(LoadDirList(files, kExe), catalogue::DefaultDirList());
  EXPECT_EQ(files.FileContent(kList), "");
}

TEST(DirListFile, ALineFiveThatNamesNoLineBecomesZero) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  const std::string head = "a\nb\nc\nd\ne\n";
  for (const char* bad : {"x", "", " 1", "1 ", "-1", "6", "12", "1.0", "99999999999999999999"}) {
    files.AddFile(kList, head + bad + "\n");
    EXPECT_EQ(LoadDirList(files, kExe)[5], "0") << '"' << bad << '"';
  }
  files.AddFile(kList, head + "7\nsix\nseven\n");  // eight lines: 7 names a line
  EXPECT_EQ(LoadDirList(files, kExe)[5], "7");
  files.AddFile(kList, head + "+2\n");
  EXPECT_EQ(LoadDirList(files, kExe)[5], "+2");
  EXPECT_EQ(catalogue::SelectedEntry(LoadDirList(files, kExe)), 2);
}

// Found by fuzzing: a number of more than 18 digits was refused even when
// leading zeros made it long.
TEST(DirListFile, LeadingZerosOfLineFiveDoNotCount) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  const std::string head = "a\nb\nc\nd\ne\n";
  files.AddFile(kList, head + "0000000000000000000002\n");
  EXPECT_EQ(LoadDirList(files, kExe)[5], "0000000000000000000002");
  EXPECT_EQ(catalogue::SelectedEntry(LoadDirList(files, kExe)), 2);
  files.AddFile(kList, head + "-0000000000000000000000\n");
  EXPECT_EQ(catalogue::SelectedEntry(LoadDirList(files, kExe)), 0);
  for (const char* bad : {"0000000000000000000006", "1000000000000000000002", "00000000000000000000x"}) {
    files.AddFile(kList, head + bad + "\n");
    EXPECT_EQ(LoadDirList(files, kExe)[5], "0") << bad;
  }
}

TEST(DirListFile, AnUnreadableFileCountsAsMissing) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  files.AddFile(kList, "D:\\x\n1\n");
  files.unreadable.insert("c:\\tools\\vandrel.ini");
  EXPECT_EQ(LoadDirList(files, kExe), catalogue::DefaultDirList());
}

TEST(DirListFile, SaveWritesEveryLineWithCrLf) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  files.AddDirectory("C:\\Tools");  // the manager's folder
  ASSERT_TRUE(catalogue::SaveDirList(files, kExe, {"a", "", "c"}));
  EXPECT_EQ(files.FileContent(kList), "a\r\n\r\nc\r\n");
  files.unwritable.insert("c:\\tools\\vandrel.ini");
  EXPECT_FALSE(catalogue::SaveDirList(files, kExe, {"b"}));
}

}  // namespace
