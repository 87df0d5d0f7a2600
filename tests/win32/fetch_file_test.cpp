// Downloads on the real platform: from the loopback server of the test run
// over http and https, every way a server can fail, cut, stall, change or
// offer a file in ranges, the progress, a cancel, the file held once it is
// placed, and the copy beside the manager (for this test executable, beside
// the test executable).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <set>
#include <sstream>

#include "manager/main_window.h"
#include "platform/win32/download.h"
#include "platform/win32/http_request.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"

namespace {

using namespace win32_tests;
using namespace std::chrono_literals;
using platform::DownloadResult;

// A stalled server costs the tests that call the download directly this long,
// not the manager's half minute.
constexpr auto kShortStallLimit = 1000ms;
constexpr const char* kOlder = "an older setup file";

// The part files in the temporary folder.
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

// Lines of one of the server's logs under its state directory.
std::vector<std::string> ServerLog(const char* name) {
  std::istringstream lines(ReadAll(HttpServer::StateDirectory() + "\\" + name));
  std::vector<std::string> found;
  for (std::string line; std::getline(lines, line);) found.push_back(line);
  return found;
}

// Plays the caller of a download: records its progress and cancels when asked to.
struct Watcher final : platform::DownloadObserver {
  std::uint64_t held = 0, total = 0;
  int reports = 0;
  std::function<bool(const Watcher&)> cancelWhen;
  void Progress(std::uint64_t h, std::uint64_t t, std::uint32_t) override {
    held = h;
    total = t;
    ++reports;
  }
  bool CancelRequested() override { return cancelWhen && cancelWhen(*this); }
};

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
  DownloadResult Download(const std::string& url, std::chrono::milliseconds stallLimit = kShortStallLimit) {
    platform::HeldFile held;
    const DownloadResult result = platform::win32::Download(url, Target(), watcher_, held, stallLimit);
    platform::win32::ReleaseFile(held);
    return result;
  }
  // The main window's fetch; its hold on the file ends at once.
  bool Fetch(const std::string& url) {
    const bool fetched = form_.FetchFile(url, Target()) == DownloadResult::Downloaded;
    form_.ReleaseHeldSetup();
    return fetched;
  }

  platform::Win32Platform os_;
  manager::TForm1 form_{nullptr, os_};
  TempDir dir_{"fetch file"};
  std::string name_;
  Watcher watcher_;
};

TEST_F(FetchFileTest, DownloadsTheServersFileOverHttpAndHttpsAndReportsItsProgress) {
  const std::string bytes = Payload('a', 300000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_TRUE(Fetch(Url()));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  ASSERT_TRUE(WriteAll(Served(), "version 2, longer"));
  EXPECT_TRUE(Fetch(HttpServer::HttpsUrl(Path())));
  EXPECT_EQ(ReadAll(Target()), "version 2, longer");  // not a cached first download

  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_EQ(Download(ModeUrl("/trickle", "?pause=0.3")), DownloadResult::Downloaded);
  EXPECT_GE(watcher_.reports, 4);
  EXPECT_EQ(watcher_.held, bytes.size());
  EXPECT_EQ(watcher_.total, bytes.size());
}

// Every answer whose end does not prove the file whole, and every error,
// fails; an older file at the target stays as it was, and no part file stays.
TEST_F(FetchFileTest, AnswersThatDoNotProveAWholeFileFailAndLeaveTheOlderFile) {
  ASSERT_TRUE(WriteAll(Served(), Payload('c', 200000)));
  const std::set<std::string> before = PartFiles();
  for (const std::string& url :
       {HttpServer::Url("/software/missing.exe"), ModeUrl("/status/500"), HttpServer::RefusedUrl(Path()),
        ModeUrl("/stall-head", "?hold=0.3"), ModeUrl("/cut"), ModeUrl("/chunked"), ModeUrl("/chunked-cut"),
        ModeUrl("/no-length"), ModeUrl("/no-length-cut"), ModeUrl("/length/%2B200000"), ModeUrl("/length/0x30D40"),
        ModeUrl("/length/200000.0"), ModeUrl("/two-lengths"), ModeUrl("/gzip"), ModeUrl("/empty"),
        HttpServer::SelfSignedUrl(Path()), HttpServer::OtherHostUrl(Path())}) {
    ASSERT_TRUE(WriteAll(Target(), kOlder));
    EXPECT_EQ(Download(url), DownloadResult::Failed) << url;
    EXPECT_EQ(ReadAll(Target()), kOlder) << url;
  }
  EXPECT_EQ(HttpServer::RequestCount(Path()), 0) << "the certificate was refused before the address was sent";
  EXPECT_TRUE(form_.FetchFile(ModeUrl("/cut"), Target()) == DownloadResult::Failed);
  EXPECT_EQ(PartFiles(), before);
}

TEST_F(FetchFileTest, RedirectsAreFollowedTenTimesButNotElevenAndNeverFromHttpsToHttp) {
  const std::string bytes = Payload('f', 100000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_TRUE(Fetch(HttpServer::HttpsUrl("/redirect/software/setup.exe?to=" + Path())));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  const std::string ten = "/chain/" + std::to_string(platform::win32::kDownloadRedirectLimit) + Path();
  EXPECT_EQ(Download(HttpServer::HttpsUrl(ten)), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  const std::string eleven = "/chain/" + std::to_string(platform::win32::kDownloadRedirectLimit + 1) + Path();
  EXPECT_EQ(Download(HttpServer::Url(eleven)), DownloadResult::Failed);
  EXPECT_EQ(HttpServer::RequestCount("/chain/0" + Path()), 1);  // only the ten's last one
  // A server that redirects to itself is asked no more than the limit allows.
  const int before = HttpServer::RequestCount("/loop" + Path());
  EXPECT_EQ(Download(HttpServer::HttpsUrl("/loop" + Path())), DownloadResult::Failed);
  EXPECT_EQ(HttpServer::RequestCount("/loop" + Path()) - before, platform::win32::kDownloadRedirectLimit + 1);
  const int plain = HttpServer::RequestCount(Path());
  EXPECT_EQ(Download(HttpServer::HttpsUrl("/redirect/software/setup.exe?to=" + Url())), DownloadResult::Failed);
  EXPECT_EQ(HttpServer::RequestCount(Path()), plain);
  EXPECT_FALSE(IsFile(Target()));
}

// Only silence is a stall: a link that brings a little now and then is slow,
// and a silent one is ended at the limit, with its connection.
TEST_F(FetchFileTest, ASlowLinkIsNoStallAndASilentOneIsClosedAtTheLimit) {
  const std::string bytes = Payload('t', 6000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_EQ(Download(ModeUrl("/slow", "?rate=2000")), DownloadResult::Downloaded);  // three seconds
  EXPECT_TRUE(ReadAll(Target()) == bytes);

  ASSERT_TRUE(WriteAll(Served(), Payload('w', 200000)));
  const DWORD start = GetTickCount();
  EXPECT_EQ(Download(ModeUrl("/stall-body")), DownloadResult::Failed);
  EXPECT_LT(GetTickCount() - start, 10000u);
  // The server sees the connection closed within a couple of seconds.
  const std::string stalled = "/stall-body/software/" + name_;
  for (int waited = 0; waited < 3000 && ServerLog("connections.log").empty(); waited += 100) Sleep(100);
  bool closed = false;
  for (const std::string& line : ServerLog("connections.log")) closed = closed || line.rfind(stalled, 0) == 0;
  EXPECT_TRUE(closed) << "the stalled connection is still open";
}

// A connection that breaks goes on where it stopped, with a validator that
// makes sure the file is still the same.
TEST_F(FetchFileTest, BrokenTransfersOfRangedFilesResumeAndAChangedFileStartsAgain) {
  const std::string bytes = Payload('r', 400000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  // Each query counts the cuts of its own `id`.
  for (const std::string& query : {"?cuts=2&id=a" + name_, "?cuts=5&how=reset&id=b" + name_,
                                   "?cuts=1&how=stall&id=c" + name_}) {
    DeleteFileA(Target().c_str());
    EXPECT_EQ(Download(ModeUrl("/resume", query)), DownloadResult::Downloaded) << query;
    EXPECT_TRUE(ReadAll(Target()) == bytes) << query;
  }
  bool askedForTheRest = false;
  for (const std::string& line : ServerLog("ranges.log")) {
    askedForTheRest = askedForTheRest || (line.find(name_) != std::string::npos && line.find("\tbytes=") != std::string::npos &&
                                          line.find("\t\"") != std::string::npos);
  }
  EXPECT_TRUE(askedForTheRest) << "no range asked for with the ETag in If-Range";
  DeleteFileA(Target().c_str());
  EXPECT_EQ(Download(ModeUrl("/resume-weak", "?id=" + name_)), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  EXPECT_EQ(Download(ModeUrl("/changing", "?id=" + name_)), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);

  for (const std::string& url :
       {ModeUrl("/resume", "?cuts=6&id=d" + name_), ModeUrl("/range-wrong-start", "?id=" + name_),
        ModeUrl("/range-wrong-total", "?id=" + name_), ModeUrl("/range-ignored", "?id=" + name_),
        ModeUrl("/resume-no-progress", "?id=" + name_)}) {
    ASSERT_TRUE(WriteAll(Target(), kOlder));
    EXPECT_EQ(Download(url), DownloadResult::Failed) << url;
    EXPECT_EQ(ReadAll(Target()), kOlder) << url;
  }
  EXPECT_EQ(HttpServer::RequestCount("/resume-no-progress/software/" + name_ + "?id=" + name_), 2);
}

// A cancel ends the caller's wait at once; the transfer's thread closes the
// connection and its part file goes.
TEST_F(FetchFileTest, ACancelledEndlessDownloadEndsAtOnceAndLeavesNothing) {
  ASSERT_TRUE(WriteAll(Served(), Payload('e', 100000)));
  ASSERT_TRUE(WriteAll(Target(), kOlder));
  const std::set<std::string> before = PartFiles();
  watcher_.cancelWhen = [](const Watcher& w) { return w.held > 1000000; };
  const DWORD start = GetTickCount();
  EXPECT_EQ(Download(ModeUrl("/endless"), platform::win32::kDownloadStallLimit), DownloadResult::Cancelled);
  EXPECT_LT(GetTickCount() - start, 20000u);
  EXPECT_EQ(ReadAll(Target()), kOlder);
  const std::string endless = "/endless/software/" + name_;
  bool closed = false;
  for (int waited = 0; waited < 3000 && !closed; waited += 100) {
    Sleep(100);
    for (const std::string& line : ServerLog("connections.log")) closed = closed || line.rfind(endless, 0) == 0;
  }
  EXPECT_TRUE(closed) << "the server still sends";
  EXPECT_EQ(PartFiles(), before);
}

// From its placing until it is released, nobody changes, replaces or
// deletes the downloaded file; reading it is fine.
TEST_F(FetchFileTest, ThePlacedFileIsHeldUntilReleased) {
  const std::string bytes = Payload('h', 50000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  ASSERT_TRUE(WriteAll(Target(), kOlder));
  platform::HeldFile held;
  ASSERT_EQ(platform::win32::Download(Url(), Target(), watcher_, held), DownloadResult::Downloaded);
  const std::string other = dir_ / "other.exe";
  ASSERT_TRUE(WriteAll(other, "another program"));
  EXPECT_FALSE(CopyFileA(other.c_str(), Target().c_str(), FALSE));
  EXPECT_FALSE(MoveFileExA(other.c_str(), Target().c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(DeleteFileA(Target().c_str()));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  platform::win32::ReleaseFile(held);
  EXPECT_TRUE(DeleteFileA(Target().c_str()));
}

TEST_F(FetchFileTest, PartFilesOfEarlierRunsGoUnlessAProcessHoldsThem) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string left = std::string(folder) + platform::win32::kDownloadPartPrefix + "F00D.tmp";
  const std::string held = std::string(folder) + platform::win32::kDownloadPartPrefix + "F00E.tmp";
  const std::string foreign = std::string(folder) + "other-F00D.tmp";
  for (const std::string& path : {left, held, foreign}) ASSERT_TRUE(WriteAll(path, "bytes"));
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  platform::win32::RemoveLeftPartFiles();
  EXPECT_FALSE(IsFile(left));
  EXPECT_TRUE(IsFile(held));
  EXPECT_TRUE(IsFile(foreign));
  CloseHandle(holder);
  DeleteFileA(held.c_str());
  DeleteFileA(foreign.c_str());
}

TEST_F(FetchFileTest, PrefersTheFileBesideTheManagerAndReplacesTheTarget) {
  ASSERT_TRUE(WriteAll(Served(), "from the server"));
  ASSERT_TRUE(WriteAll(Beside(), "beside the manager"));
  ASSERT_TRUE(WriteAll(Target(), kOlder));
  EXPECT_TRUE(Fetch(Url()));
  EXPECT_EQ(ReadAll(Target()), "beside the manager");
  EXPECT_FALSE(Requested());
}

TEST_F(FetchFileTest, FailedLocalCopyDoesNotFallBackToTheServer) {
  ASSERT_TRUE(WriteAll(Served(), "from the server"));
  ASSERT_TRUE(WriteAll(Beside(), "beside the manager"));
  const std::string unreachable = dir_ / ("no such directory\\" + name_);
  EXPECT_EQ(form_.FetchFile(Url(), unreachable), DownloadResult::Failed);
  EXPECT_FALSE(Requested());
  EXPECT_FALSE(IsFile(unreachable));
}

}  // namespace
