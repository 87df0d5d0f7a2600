// FetchFile on the real platform: downloads from the loopback server of the
// test run, the server's failures, and the copy beside the manager (for this
// test executable, beside the test executable).
#include <gtest/gtest.h>
#include <windows.h>

#include "manager/downloader1.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"

namespace {

using namespace win32_tests;

// Bytes of every value, so that a cut or a text conversion shows.
std::string Payload(char seed, std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 7 + static_cast<unsigned char>(seed)) & 0xFF);
  }
  return bytes;
}

class FetchFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(HttpServer::StateDirectory().empty()) << "VANDREL_TEST_HTTP names the loopback server's state";
    ASSERT_TRUE(IsDirectory(HttpServer::Root())) << HttpServer::Root();
    name_ = UniqueName("setup-", ".exe");
    CreateDirectoryA((HttpServer::Root() + "\\software").c_str(), nullptr);
  }
  void TearDown() override {
    DeleteFileA(Served().c_str());
    DeleteFileA(Beside().c_str());
  }

  std::string Served() const { return HttpServer::Root() + "\\software\\" + name_; }
  std::string Beside() const { return ModuleDirectory() + name_; }
  std::string Url() const { return HttpServer::Url("/software/" + name_); }
  std::string Target() const { return dir_ / name_; }
  bool Requested() const { return HttpServer::Requests().find(name_) != std::string::npos; }

  platform::Win32Platform os_;
  manager::TForm1 form_{nullptr, os_};
  TempDir dir_{"fetch file"};
  std::string name_;
};

TEST_F(FetchFileTest, DownloadsTheServersFile) {
  const std::string bytes = Payload('a', 300000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_TRUE(form_.FetchFile(Url(), Target()));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
}

TEST_F(FetchFileTest, DownloadsTheNewFileAfterTheServersFileChanged) {
  ASSERT_TRUE(WriteAll(Served(), "version 1"));
  ASSERT_TRUE(form_.FetchFile(Url(), Target()));
  ASSERT_TRUE(WriteAll(Served(), "version 2, longer"));
  EXPECT_TRUE(form_.FetchFile(Url(), Target()));
  EXPECT_EQ(ReadAll(Target()), "version 2, longer");  // not the cached first download
}

TEST_F(FetchFileTest, NotFoundIsAFailureAndLeavesNoErrorPageBehind) {
  EXPECT_FALSE(form_.FetchFile(Url(), Target()));
  EXPECT_TRUE(Requested());
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, RefusedConnectionIsAFailure) {
  const DWORD start = GetTickCount();
  EXPECT_FALSE(form_.FetchFile(HttpServer::RefusedUrl("/software/" + name_), Target()));
  EXPECT_LT(GetTickCount() - start, 10000u);
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, BodyCutShortIsAFailureAndLeavesNoPartialFile) {
  ASSERT_TRUE(WriteAll(Served(), Payload('c', 200000)));
  EXPECT_FALSE(form_.FetchFile(HttpServer::Url("/cut/software/" + name_), Target()));
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, PrefersTheFileBesideTheManagerAndReplacesTheTarget) {
  ASSERT_TRUE(WriteAll(Served(), "from the server"));
  ASSERT_TRUE(WriteAll(Beside(), "beside the manager"));
  ASSERT_TRUE(WriteAll(Target(), "an older setup file"));
  EXPECT_TRUE(form_.FetchFile(Url(), Target()));
  EXPECT_EQ(ReadAll(Target()), "beside the manager");
  EXPECT_FALSE(Requested());
}

TEST_F(FetchFileTest, FailedLocalCopyDoesNotFallBackToTheServer) {
  ASSERT_TRUE(WriteAll(Served(), "from the server"));
  ASSERT_TRUE(WriteAll(Beside(), "beside the manager"));
  const std::string unreachable = dir_ / ("no such directory\\" + name_);
  EXPECT_FALSE(form_.FetchFile(Url(), unreachable));
  EXPECT_FALSE(Requested());
  EXPECT_FALSE(IsFile(unreachable));
}

}  // namespace
