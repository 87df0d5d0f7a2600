#include "catalogue/catalogue.h"
#include "catalogue/dir_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using namespace catalogue;

std::string Host(const std::string& url) {
  const auto start = url.find("://") + 3;
  return url.substr(start, url.find('/', start) - start);
}

// The indices from -1 to one past the last entry for which `holds` is true.
template <class Fact>
std::string Where(Fact holds) {
  std::string where;
  for (int i = -1; i <= kEntryCount; ++i) {
    if (holds(i)) where += (where.empty() ? "" : " ") + std::to_string(i);
  }
  return where;
}

TEST(Catalogue, TwoEditionsOfOneProgramShareEverythingButTheSetupFile) {
  const Entry& studio = EntryAt(0);
  const Entry& portable = EntryAt(2);
  EXPECT_STREQ(studio.executable, portable.executable);
  EXPECT_STREQ(studio.shortcut, portable.shortcut);
  EXPECT_STREQ(studio.website, portable.website);
  EXPECT_STREQ(studio.updateFile, portable.updateFile);
  EXPECT_STRNE(studio.setupFile, portable.setupFile);
}

TEST(Catalogue, DownloadUrlIsTheBaseSoftwareFolderAndTheSetupFileName) {
  for (int i = 0; i < kOwnProgramCount; ++i) {
    const std::string url = DownloadUrl(i);
    EXPECT_EQ(url, std::string(DownloadBase()) + "/software/" + EntryAt(i).setupFile);
  }
  // Entry 4 is fetched under its own setup name but installs FENNICK.exe.
  EXPECT_EQ(DownloadUrl(4).substr(DownloadUrl(4).size() - 22), "/software/orvik101.exe");
  EXPECT_STREQ(EntryAt(4).executable, "FENNICK.exe");
  EXPECT_STREQ(EntryAt(4).updateFile, "");
  // A link-only entry names no file to fetch.
  EXPECT_THROW(DownloadUrl(5), std::out_of_range);
}

TEST(Catalogue, WebsitesAreAbsoluteAddressesOnReservedHostsEachItsOwnButTheEditions) {
  for (int i = 0; i < kEntryCount; ++i) {
    const std::string url = EntryAt(i).website;
    EXPECT_TRUE(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) << url;
    const std::string host = Host(url);
    EXPECT_EQ(host.substr(host.size() - 8), ".example") << url;
    for (int j = i + 1; j < kEntryCount; ++j) {
      if (!(i == 0 && j == 2)) {
        EXPECT_STRNE(EntryAt(i).website, EntryAt(j).website) << i << " " << j;
      }
    }
  }
}

TEST(Catalogue, DownloadBaseIsHttpsOnAReservedHostUnlessATestServerOnThisMachine) {
  // The manager runs what it downloads: a server anyone on the way could
  // stand in for is never asked without TLS.
  const std::string base = DownloadBase();
  const std::string host = Host(base).substr(0, Host(base).find(':'));
  if (host == "localhost" || host == "127.0.0.1") GTEST_SKIP() << "a test build against a loopback server: " << base;
  EXPECT_EQ(base.rfind("https://", 0), 0u) << base;
  EXPECT_TRUE(host.ends_with(".example")) << base;
}

TEST(Catalogue, DefaultsAreTheSixLinesOfAFreshDirectoryList) {
  EXPECT_EQ(DefaultDirList(), (DirList{"C:\\ORVIK ( recommended !)", "C:\\ORVIK ( recommended !)",
                                       "C:\\ORVIK ( recommended !)", "C:\\BRUNDA ( recommended !)",
                                       "Please select directory ->", "0"}));
  EXPECT_STREQ(EntryAt(5).displayName, "Software MIDI synthesizer");
  EXPECT_STREQ(EntryAt(12).displayName, "Styles for arranger keyboards");
  EXPECT_STREQ(EntryAt(12).executable, "");
}

TEST(Catalogue, WhatTheActionsTellApartIsNamedPerEntry) {
  EXPECT_EQ(Where(IsOwnProgram), "0 1 2 3 4");
  EXPECT_EQ(Where(IsLinkOnly), "5 6 7 8 9 10 11 12");
  EXPECT_EQ(Where(HasUpdateInstaller), "0 1 2 3");
  EXPECT_EQ(Where(CanBeRemoved), "0 1 2 3");
  EXPECT_EQ(Where(IsRememberedAsSelection), "0 1 2 3");
  EXPECT_EQ(Where(InstallsIntoAnotherProgramsDirectory), "4");
  EXPECT_EQ(Where(StartsWithManagerPath), "0 1 2");
  EXPECT_EQ(Where(IsPortableEdition), "2");
  EXPECT_EQ(Where([](int i) { return SameFamily(i, 1); }), "0 1 2");
  EXPECT_EQ(Where([](int i) { return SameFamily(i, 3); }), "3");
  EXPECT_EQ(Where([](int i) { return SameFamily(i, 4); }), "");
  EXPECT_EQ(Where([](int i) { return SameFamily(i, 5); }), "");
}

}  // namespace
