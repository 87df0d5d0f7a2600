// FetchFile on the real platform: downloads from the loopback server of the
// test run over http and https, the server's failures, stalls and redirects,
// and the copy beside the manager (for this test executable, beside the test
// executable).
#include <gtest/gtest.h>
#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <chrono>
#include <set>

#include "manager/main_window.h"
#include "platform/win32/url_download.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"

namespace {

using namespace win32_tests;
using namespace std::chrono_literals;

// A stalled server costs the tests that call the download directly this long,
// not the manager's half minute.
constexpr auto kShortStallLimit = 1000ms;

// The part files of transfers that have not ended yet.
std::set<std::string> PartFiles() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  const std::string pattern = std::string(folder) + platform::win32::kDownloadPartPrefix + "*.tmp";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.insert(std::string(folder) + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

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
  std::string Path() const { return "/software/" + name_; }
  std::string Url() const { return HttpServer::Url(Path()); }
  std::string Target() const { return dir_ / name_; }
  bool Requested() const { return HttpServer::Requests().find(name_) != std::string::npos; }
  // The served file through one of the server's modes, such as "/stall-body".
  std::string ModeUrl(const std::string& mode, const std::string& query = "") const {
    return HttpServer::Url(mode + "/software/" + name_ + query);
  }
  long Download(const std::string& url, std::chrono::milliseconds stallLimit = kShortStallLimit) const {
    return platform::win32::DownloadUrlToFile(url, Target(), stallLimit);
  }

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

TEST_F(FetchFileTest, ServerErrorIsAFailureAndLeavesNoErrorPageBehind) {
  ASSERT_TRUE(WriteAll(Served(), Payload('e', 1000)));
  EXPECT_FALSE(form_.FetchFile(ModeUrl("/status/500"), Target()));
  EXPECT_TRUE(Requested());
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, ConnectionClosedWithoutAnAnswerIsAFailure) {
  ASSERT_TRUE(WriteAll(Served(), Payload('n', 1000)));
  EXPECT_FALSE(form_.FetchFile(ModeUrl("/stall-head", "?hold=0.3"), Target()));
  EXPECT_FALSE(IsFile(Target()));  // not even an empty one
}

TEST_F(FetchFileTest, DownloadsOverHttpsWithATrustedCertificate) {
  const std::string bytes = Payload('p', 300000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_TRUE(form_.FetchFile(HttpServer::HttpsUrl(Path()), Target()));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
}

TEST_F(FetchFileTest, CertificateOfNoTrustedAuthorityOrOfAnotherHostFailsBeforeAnyRequest) {
  ASSERT_TRUE(WriteAll(Served(), Payload('u', 1000)));
  ASSERT_TRUE(WriteAll(Target(), "an older setup file"));
  EXPECT_EQ(Download(HttpServer::SelfSignedUrl(Path())), HRESULT_FROM_WIN32(ERROR_INTERNET_INVALID_CA));
  EXPECT_FALSE(IsFile(Target()));
  EXPECT_EQ(Download(HttpServer::OtherHostUrl(Path())), HRESULT_FROM_WIN32(ERROR_INTERNET_SEC_CERT_CN_INVALID));
  EXPECT_FALSE(form_.FetchFile(HttpServer::OtherHostUrl(Path()), Target()));
  EXPECT_FALSE(IsFile(Target()));
  EXPECT_FALSE(Requested());  // the handshake failed: not even the address was sent
}

TEST_F(FetchFileTest, RedirectToTheFileUnderAnotherNameIsFollowedAsAreTenButNotEleven) {
  const std::string bytes = Payload('f', 100000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_TRUE(form_.FetchFile(HttpServer::HttpsUrl("/redirect/software/setup.exe?to=" + Path()), Target()));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  // Every kind of redirect, one after the other.
  const std::string ten = "/chain/" + std::to_string(platform::win32::kDownloadRedirectLimit) + Path();
  EXPECT_EQ(Download(HttpServer::HttpsUrl(ten)), 0);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  const std::string eleven = "/chain/" + std::to_string(platform::win32::kDownloadRedirectLimit + 1) + Path();
  EXPECT_EQ(Download(HttpServer::Url(eleven)), HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED));
  EXPECT_FALSE(IsFile(Target()));
  EXPECT_EQ(HttpServer::RequestCount("/chain/0" + Path()), 1);  // only the ten's last one
}

// A server that redirects to itself was asked for ever, and every answer
// counted as progress: now the download stops asking at the limit, within
// seconds and with the manager's own stall limit.
TEST_F(FetchFileTest, RedirectLoopOverHttpAndHttpsEndsQuicklyInAFailureAndLeavesNoFile) {
  ASSERT_TRUE(WriteAll(Served(), Payload('l', 1000)));
  for (const std::string& url : {HttpServer::Url("/loop" + Path()), HttpServer::HttpsUrl("/loop" + Path())}) {
    ASSERT_TRUE(WriteAll(Target(), "an older setup file"));
    const int before = HttpServer::RequestCount("/loop" + Path());
    const DWORD start = GetTickCount();
    EXPECT_FALSE(form_.FetchFile(url, Target())) << url;
    EXPECT_LT(GetTickCount() - start, 10000u) << url;
    EXPECT_EQ(HttpServer::RequestCount("/loop" + Path()) - before, platform::win32::kDownloadRedirectLimit + 1) << url;
    EXPECT_FALSE(IsFile(Target())) << url;
  }
}

TEST_F(FetchFileTest, RedirectsAreNoProgress) {
  // Each a third of the limit apart: only a download that counted them would
  // get to the redirect limit before the stall limit.
  ASSERT_TRUE(WriteAll(Served(), Payload('q', 1000)));
  EXPECT_EQ(Download(HttpServer::Url("/loop" + Path() + "?pause=0.33")), INET_E_CONNECTION_TIMEOUT);
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, RedirectFromHttpsToPlainHttpFailsWithoutAskingTheHttpServer) {
  ASSERT_TRUE(WriteAll(Served(), Payload('d', 1000)));
  const std::string url = HttpServer::HttpsUrl("/redirect/software/setup.exe?to=" + Url());
  EXPECT_EQ(Download(url, platform::win32::kDownloadStallLimit), HRESULT_FROM_WIN32(ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR));
  EXPECT_FALSE(form_.FetchFile(url, Target()));
  EXPECT_FALSE(IsFile(Target()));
  EXPECT_EQ(HttpServer::RequestCount(Path()), 0);
}

// Stalled servers hold the connection open for longer than the test runs;
// each case fails within the stall limit and leaves no file.
TEST_F(FetchFileTest, StallBeforeAnyAnswerEndsInAFailure) {
  ASSERT_TRUE(WriteAll(Served(), Payload('h', 1000)));
  EXPECT_NE(Download(ModeUrl("/stall-head")), 0);
  EXPECT_TRUE(Requested());
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, StallAfterTheHeadersEndsInAFailure) {
  ASSERT_TRUE(WriteAll(Served(), Payload('s', 200000)));
  EXPECT_NE(Download(ModeUrl("/stall-headers")), 0);
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, StallInTheMiddleOfTheBodyEndsInAFailureAndRemovesTheOlderFile) {
  ASSERT_TRUE(WriteAll(Served(), Payload('m', 200000)));
  ASSERT_TRUE(WriteAll(Target(), "an older setup file"));
  EXPECT_NE(Download(ModeUrl("/stall-body")), 0);
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, SlowButSteadyTransferIsNotAStall) {
  // Eight pieces half a second apart: longer in all than the limit, never
  // without progress for as long.
  const std::string bytes = Payload('t', 200000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_EQ(Download(ModeUrl("/trickle", "?pause=0.5"), 2000ms), 0);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
}

TEST_F(FetchFileTest, GivenUpTransferNeverWritesTheTargetWhenItsServerLetsGo) {
  ASSERT_TRUE(WriteAll(Served(), Payload('g', 200000)));
  const std::set<std::string> before = PartFiles();
  // The server ends the stall well after the download gave up; the service
  // then reports the half body as a success, as it does for a cut.
  EXPECT_NE(Download(ModeUrl("/stall-body", "?hold=5")), 0);
  std::set<std::string> ours;
  for (const std::string& name : PartFiles()) {
    if (!before.contains(name)) ours.insert(name);
  }
  ASSERT_FALSE(ours.empty()) << "the given-up transfer keeps its bytes in a part file while it runs";
  const DWORD start = GetTickCount();
  auto left = [&ours] {
    for (const std::string& name : ours) {
      if (IsFile(name)) return true;
    }
    return false;
  };
  while (left() && GetTickCount() - start < 90000) Sleep(100);
  EXPECT_FALSE(left()) << "the part file outlived its transfer";
  EXPECT_FALSE(IsFile(Target()));
}

TEST_F(FetchFileTest, DownloadAgainAfterAStallGetsTheWholeFile) {
  const std::string bytes = Payload('r', 200000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  const std::string url = ModeUrl("/stall-body", "?once");  // only the first request stalls
  ASSERT_NE(Download(url), 0);
  EXPECT_TRUE(form_.FetchFile(url, Target()));  // neither blocked nor served from the stalled one
  EXPECT_TRUE(ReadAll(Target()) == bytes);
}

TEST_F(FetchFileTest, StalledServerEndsTheManagersDownloadWithinAMinute) {
  ASSERT_TRUE(WriteAll(Served(), Payload('w', 200000)));
  const DWORD start = GetTickCount();
  EXPECT_FALSE(form_.FetchFile(ModeUrl("/stall-body"), Target()));
  EXPECT_LT(GetTickCount() - start, 90000u);
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
