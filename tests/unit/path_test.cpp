#include "platform/path.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(Path, FileNameAndDirectoryParts) {
  EXPECT_EQ(ExtractFileName("C:\\a b\\c.exe"), "c.exe");
  EXPECT_EQ(ExtractFileName("D:setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFilePath("C:\\a b\\c.exe"), "C:\\a b\\");
  EXPECT_EQ(ExtractFileDir("C:\\a b\\c.exe"), "C:\\a b");
  EXPECT_EQ(ExtractFileDir("C:\\c.exe"), "C:\\");  // a drive root keeps its backslash
  EXPECT_EQ(ExtractFileDir("c.exe"), "");
  EXPECT_EQ(ExtractFileDir("C:\\a\\\\c.exe"), "C:\\a\\\\");  // a backslash after another stays
}

TEST(Path, ExtensionIsFromTheLastDotOfTheFileName) {
  EXPECT_EQ(ChangeFileExt("C:\\Tools\\vandrel.exe", ".ini"), "C:\\Tools\\vandrel.ini");
  EXPECT_EQ(ChangeFileExt("C:\\Tools\\v.1.exe", ".ini"), "C:\\Tools\\v.1.ini");
  EXPECT_EQ(ChangeFileExt("C:\\my.dir\\vandrel", ".ini"), "C:\\my.dir\\vandrel.ini");
  EXPECT_EQ(ChangeFileExt("C:\\Tools\\vandrel.", ".bat"), "C:\\Tools\\vandrel.bat");
}

TEST(Path, TrimTakesControlCharactersAndFoldingOnlyAsciiLetters) {
  EXPECT_EQ(Trim(" \t C:\\X \r\n"), "C:\\X");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(LowerAscii("C:\\ÄBC"), "c:\\Äbc");
}

}  // namespace
