#include "manager/command_line.h"

#include <gtest/gtest.h>

namespace {

using manager::ReadStartOptions;
using manager::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateAndQuotesGroupAndVanish) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\v.exe\" /x  \"C:\\a b\\f.tmp\""),
            (Args{"C:\\Program Files\\v.exe", "/x", "C:\\a b\\f.tmp"}));
  EXPECT_EQ(SplitCommandLine("v.exe\t/x\tDN\"R\""), (Args{"v.exe", "/x", "DNR"}));
  EXPECT_EQ(SplitCommandLine("v.exe \"\" x"), (Args{"v.exe", "", "x"}));
  EXPECT_EQ(SplitCommandLine("   "), Args{});
  EXPECT_EQ(SplitCommandLine("v.exe \"open quote"), (Args{"v.exe", "open quote"}));
}

TEST(CommandLine, OnlyTwoArgumentsBeginningWithLowerX) {
  EXPECT_TRUE(ReadStartOptions({"/x", "DNR"}).protectOwnDir);
  EXPECT_EQ(ReadStartOptions({"/x", "DNR"}).deleteOnClose, "");

  const auto other = ReadStartOptions({"/x", "dnr"});
  EXPECT_FALSE(other.protectOwnDir);
  EXPECT_EQ(other.deleteOnClose, "dnr");

  for (const Args& ignored : {Args{}, Args{"/x"}, Args{"/X", "DNR"}, Args{"/x", "DNR", "more"}, Args{"x", "f"}}) {
    const auto options = ReadStartOptions(ignored);
    EXPECT_FALSE(options.protectOwnDir);
    EXPECT_EQ(options.deleteOnClose, "");
  }
}

}  // namespace
