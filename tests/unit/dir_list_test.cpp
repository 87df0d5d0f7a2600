#include "catalogue/dir_list.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

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
  testing_support::FakePlatform os;
  EXPECT_EQ(LoadDirList(os, kExe), catalogue::DefaultDirList());
  EXPECT_EQ(os.CallCount("WriteFile"), 0);
}

TEST(DirListFile, StaleDirectoriesFallBackToTheirDefaultsOtherLinesAreKept) {
  testing_support::FakePlatform os;
  os.AddDirectory("D:\\Music");
  os.AddFile("D:\\file.txt");
  os.AddFile(kList, "D:\\Music\nD:\\gone\nD:\\file.txt\n\nd:\\music\n3\nextra six\n\nlast");
  const DirList lines = LoadDirList(os, kExe);
  EXPECT_EQ(lines, (DirList{"D:\\Music", "C:\\ORVIK ( recommended !)", "C:\\ORVIK ( recommended !)",
                            "C:\\BRUNDA ( recommended !)", "d:\\music", "3", "extra six", "", "last"}));
  EXPECT_EQ(os.CallCount("WriteFile"), 0);
}

// Files the manager did not write in its shape are mended in memory only.
TEST(DirListFile, ShortFilesTakeTheMissingLinesFromTheDefaults) {
  testing_support::FakePlatform os;
  os.AddDirectory("D:\\Music");
  os.AddFile(kList, "D:\\Music\r\n");
  DirList expected = catalogue::DefaultDirList();
  expected[0] = "D:\\Music";
  EXPECT_EQ(LoadDirList(os, kExe), expected);

  os.AddFile(kList, "");
  EXPECT_EQ(LoadDirList(os, kExe), catalogue::DefaultDirList());
  EXPECT_EQ(os.FileContent(kList), "");
}

TEST(DirListFile, ALineFiveThatNamesNoLineBecomesZero) {
  testing_support::FakePlatform os;
  const std::string head = "a\nb\nc\nd\ne\n";
  for (const char* bad : {"x", "", " 1", "1 ", "-1", "6", "12", "1.0", "99999999999999999999"}) {
    os.AddFile(kList, head + bad + "\n");
    EXPECT_EQ(LoadDirList(os, kExe)[5], "0") << '"' << bad << '"';
  }
  os.AddFile(kList, head + "7\nsix\nseven\n");  // eight lines: 7 names a line
  EXPECT_EQ(LoadDirList(os, kExe)[5], "7");
  os.AddFile(kList, head + "+2\n");
  EXPECT_EQ(LoadDirList(os, kExe)[5], "+2");
  EXPECT_EQ(catalogue::SelectedEntry(LoadDirList(os, kExe)), 2);
}

// Found by fuzzing: a number of more than 18 digits was refused even when
// leading zeros made it long.
TEST(DirListFile, LeadingZerosOfLineFiveDoNotCount) {
  testing_support::FakePlatform os;
  const std::string head = "a\nb\nc\nd\ne\n";
  os.AddFile(kList, head + "0000000000000000000002\n");
  EXPECT_EQ(LoadDirList(os, kExe)[5], "0000000000000000000002");
  EXPECT_EQ(catalogue::SelectedEntry(LoadDirList(os, kExe)), 2);
  os.AddFile(kList, head + "-0000000000000000000000\n");
  EXPECT_EQ(catalogue::SelectedEntry(LoadDirList(os, kExe)), 0);
  for (const char* bad : {"0000000000000000000006", "1000000000000000000002", "00000000000000000000x"}) {
    os.AddFile(kList, head + bad + "\n");
    EXPECT_EQ(LoadDirList(os, kExe)[5], "0") << bad;
  }
}

TEST(DirListFile, AnUnreadableFileCountsAsMissing) {
  testing_support::FakePlatform os;
  os.AddFile(kList, "D:\\x\n1\n");
  os.unreadable.insert("c:\\tools\\vandrel.ini");
  EXPECT_EQ(LoadDirList(os, kExe), catalogue::DefaultDirList());
}

TEST(DirListFile, SaveWritesEveryLineWithCrLf) {
  testing_support::FakePlatform os;
  os.AddDirectory("C:\\Tools");  // the manager's folder
  ASSERT_TRUE(catalogue::SaveDirList(os, kExe, {"a", "", "c"}));
  EXPECT_EQ(os.FileContent(kList), "a\r\n\r\nc\r\n");
  os.unwritable.insert("c:\\tools\\vandrel.ini");
  EXPECT_FALSE(catalogue::SaveDirList(os, kExe, {"b"}));
}

}  // namespace
