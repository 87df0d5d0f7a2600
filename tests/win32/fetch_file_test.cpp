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

// The files of a folder.
std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// A registry value of the test's prefix, set for one test and put back after it.
class RegistryValue {
 public:
  RegistryValue(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& data)
      : root_(root), key_(key), name_(name) {
    HKEY opened = nullptr;
    RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    DWORD size = 0;
    had_ = RegQueryValueExA(opened, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
    old_.resize(size);
    if (had_) RegQueryValueExA(opened, name, nullptr, &type_, reinterpret_cast<BYTE*>(old_.data()), &size);
    RegSetValueExA(opened, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(opened);
  }
  ~RegistryValue() {
    HKEY opened = nullptr;
    RegOpenKeyExA(root_, key_.c_str(), 0, KEY_ALL_ACCESS, &opened);
    if (had_) {
      RegSetValueExA(opened, name_, 0, type_, reinterpret_cast<const BYTE*>(old_.data()), static_cast<DWORD>(old_.size()));
    } else {
      RegDeleteValueA(opened, name_);
    }
    RegCloseKey(opened);
  }

 private:
  HKEY root_;
  std::string key_;
  const char* name_;
  bool had_ = false;
  DWORD type_ = 0;
  std::string old_;
};

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

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
    if (cancelWhen && cancelWhen(*this)) Stop().RequestStop();
  }
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
    platform::win32::OwnedHandle held;
    return platform::win32::Download(url, Target(), watcher_, held, stallLimit);
  }
  // The main window's fetch, as an action does it: its hold on the file ends
  // with the action.
  bool Fetch(const std::string& url) {
    const manager::TForm1::ActionScope action(form_);
    return form_.FetchFile(url, Target()) == DownloadResult::Downloaded;
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
  EXPECT_EQ(FilesIn(dir_.Path()), std::set<std::string>{name_}) << "a part file stayed";

  // The older file stays when the finished file cannot take its place: a
  // program runs from it (opened without delete sharing).
  HANDLE running = CreateFileA(Target().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Download(Url()), DownloadResult::Failed);
  CloseHandle(running);
  EXPECT_EQ(ReadAll(Target()), kOlder);
  EXPECT_EQ(FilesIn(dir_.Path()), std::set<std::string>{name_});
}

TEST_F(FetchFileTest, RedirectsAreFollowedTenTimesButNotElevenAndNeverFromHttpsToHttp) {
  // The limit the manager promises, written here as a number of its own: a
  // change of the product's constant fails this test.
  constexpr int kTen = 10;
  const std::string bytes = Payload('f', 100000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_TRUE(Fetch(HttpServer::HttpsUrl("/redirect/software/setup.exe?to=" + Path())));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  const std::string ten = "/chain/" + std::to_string(kTen) + Path();
  EXPECT_EQ(Download(HttpServer::HttpsUrl(ten)), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  const std::string eleven = "/chain/" + std::to_string(kTen + 1) + Path();
  EXPECT_EQ(Download(HttpServer::Url(eleven)), DownloadResult::Failed);
  EXPECT_EQ(HttpServer::RequestCount("/chain/0" + Path()), 1);  // only the ten's last one
  // A server that redirects to itself is asked no more than the limit allows.
  const int before = HttpServer::RequestCount("/loop" + Path());
  EXPECT_EQ(Download(HttpServer::HttpsUrl("/loop" + Path())), DownloadResult::Failed);
  EXPECT_EQ(HttpServer::RequestCount("/loop" + Path()) - before, kTen + 1);
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
  // A file changed meanwhile starts again from its first byte, whether the
  // server honours If-Range (200) or not (a 206 of the new file, under its
  // new ETag), and so does a 206 that does not continue the held bytes: the
  // file placed is never pieced together from two versions.
  for (const char* mode : {"/changing", "/ignores-if-range", "/range-wrong-start", "/range-wrong-total"}) {
    DeleteFileA(Target().c_str());
    EXPECT_EQ(Download(ModeUrl(mode, "?id=" + name_)), DownloadResult::Downloaded) << mode;
    EXPECT_TRUE(ReadAll(Target()) == bytes) << mode;
  }
  // A weak ETag is no validator: the file is asked for whole again.
  DeleteFileA(Target().c_str());
  EXPECT_EQ(Download(ModeUrl("/resume-weak", "?id=" + name_)), DownloadResult::Failed);
  EXPECT_EQ(HttpServer::RequestCount("/resume-weak/software/" + name_ + "?id=" + name_), 1);

  // A resumption whose connection fails is tried again after a pause, and
  // one that answers slowly after a stall has time of its own.
  DeleteFileA(Target().c_str());
  EXPECT_EQ(Download(ModeUrl("/resume-drops", "?drops=2&id=" + name_)), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  DeleteFileA(Target().c_str());
  EXPECT_EQ(Download(ModeUrl("/slow-resume", "?how=stall&pause=6.5&id=" + name_), 8000ms), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);

  for (const std::string& url : {ModeUrl("/resume", "?cuts=6&id=d" + name_), ModeUrl("/range-ignored", "?id=" + name_),
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
  for (int waited = 0; waited < 3000 && FilesIn(dir_.Path()).size() > 1; waited += 100) Sleep(100);
  EXPECT_EQ(FilesIn(dir_.Path()), std::set<std::string>{name_}) << "the part file stayed";
}

// From its placing until it is released, nobody changes, replaces or
// deletes the downloaded file; reading it is fine.
TEST_F(FetchFileTest, ThePlacedFileIsHeldUntilReleased) {
  const std::string bytes = Payload('h', 50000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  ASSERT_TRUE(WriteAll(Target(), kOlder));
  platform::win32::OwnedHandle held;
  ASSERT_EQ(platform::win32::Download(Url(), Target(), watcher_, held), DownloadResult::Downloaded);
  const std::string other = dir_ / "other.exe";
  ASSERT_TRUE(WriteAll(other, "another program"));
  EXPECT_FALSE(CopyFileA(other.c_str(), Target().c_str(), FALSE));
  EXPECT_FALSE(MoveFileExA(other.c_str(), Target().c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(DeleteFileA(Target().c_str()));
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  held.reset();
  EXPECT_TRUE(DeleteFileA(Target().c_str()));
}

// A part file left by a killed run is made anew; one a process holds keeps
// its bytes, and the download takes the next name.
TEST_F(FetchFileTest, ALeftPartFileIsMadeAnewAndAHeldOneIsPassedOver) {
  const std::string bytes = Payload('n', 70000), first = Target() + ".vandrel-part", next = Target() + ".1.vandrel-part";
  ASSERT_TRUE(WriteAll(Served(), bytes));
  ASSERT_TRUE(WriteAll(first, "held"));
  ASSERT_TRUE(WriteAll(next, Payload('l', 90000)));
  HANDLE holder = CreateFileA(first.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Download(Url()), DownloadResult::Downloaded);
  CloseHandle(holder);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  EXPECT_EQ(ReadAll(first), "held");
  EXPECT_EQ(FilesIn(dir_.Path()), (std::set<std::string>{name_, name_ + ".vandrel-part"}));
}

// Only the manager's own part files go, and only those nobody holds; other
// programs' files (such as the system's temporary names) stay.
TEST_F(FetchFileTest, PartFilesOfEarlierRunsGoUnlessAProcessHoldsThem) {
  const std::string left = dir_ / "selvo100.exe.vandrel-part", held = dir_ / "orvik100.exe.1.vandrel-part";
  const std::set<std::string> others = {"vdl1A2B.tmp", "VDL7F.TMP", "selvo100.exe.part", "vandrel-part"};
  for (const std::string& name : others) ASSERT_TRUE(WriteAll(dir_ / name, "another program's"));
  for (const std::string& path : {left, held}) ASSERT_TRUE(WriteAll(path, "bytes"));
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  os_.RemoveLeftPartFiles(dir_.Path());
  CloseHandle(holder);
  std::set<std::string> stayed = others;
  stayed.insert("orvik100.exe.1.vandrel-part");
  EXPECT_EQ(FilesIn(dir_.Path()), stayed);
}

// The file beside the manager is copied like a download: placed whole, and
// held until the setup program has started.
TEST_F(FetchFileTest, PrefersTheFileBesideTheManagerAndHoldsItsCopy) {
  ASSERT_TRUE(WriteAll(Served(), "from the server"));
  ASSERT_TRUE(WriteAll(Beside(), "beside the manager"));
  ASSERT_TRUE(WriteAll(Target(), kOlder));
  const std::string other = dir_ / "other.exe";
  {
    const manager::TForm1::ActionScope action(form_);
    EXPECT_EQ(form_.FetchFile(Url(), Target()), DownloadResult::Downloaded);
    EXPECT_EQ(ReadAll(Target()), "beside the manager");
    ASSERT_TRUE(WriteAll(other, "another program"));
    EXPECT_FALSE(CopyFileA(other.c_str(), Target().c_str(), FALSE));
  }
  EXPECT_TRUE(CopyFileA(other.c_str(), Target().c_str(), FALSE));
  EXPECT_FALSE(Requested());
}

// The route the user's settings give: here a proxy auto-configuration
// script names the proxy, and the address is reachable only through it.
TEST_F(FetchFileTest, TheProxyThatTheUsersScriptNamesCarriesTheDownload) {
  const std::string script = HttpServer::Url("/proxy.pac");
  // The browser's connection settings: a version, a counter, the flags
  // (direct, script; no detection), no fixed proxy nor bypass, the script.
  const std::string settings = Dword(0x46) + Dword(1) + Dword(1 | 4) + Dword(0) + Dword(0) +
                               Dword(static_cast<DWORD>(script.size())) + script + std::string(32, '\0');
  const RegistryValue connections(HKEY_CURRENT_USER,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections",
                                  "DefaultConnectionSettings", REG_BINARY, settings);
  const std::string bytes = Payload('p', 70000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_EQ(Download(HttpServer::ProxyOnlyUrl(Path())), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
  bool throughProxy = false;
  for (const std::string& line : ServerLog("proxy.log")) throughProxy = throughProxy || line.find(name_) != std::string::npos;
  EXPECT_TRUE(throughProxy);
}

// Windows 7's secure channel offers TLS 1.2 only to a program that asks for
// it; the test server speaks nothing older.
TEST_F(FetchFileTest, AsksForTls12WhereTheSystemDoesNotOfferItByDefault) {
  const std::string protocols = "System\\CurrentControlSet\\Control\\SecurityProviders\\SCHANNEL\\Protocols\\";
  const RegistryValue tls11(HKEY_LOCAL_MACHINE, protocols + "TLS 1.1\\Client", "DisabledByDefault", REG_DWORD, Dword(1));
  const RegistryValue tls12(HKEY_LOCAL_MACHINE, protocols + "TLS 1.2\\Client", "DisabledByDefault", REG_DWORD, Dword(1));
  const RegistryValue tls13(HKEY_LOCAL_MACHINE, protocols + "TLS 1.3\\Client", "DisabledByDefault", REG_DWORD, Dword(1));
  const std::string bytes = Payload('s', 80000);
  ASSERT_TRUE(WriteAll(Served(), bytes));
  EXPECT_EQ(Download(HttpServer::HttpsUrl(Path())), DownloadResult::Downloaded);
  EXPECT_TRUE(ReadAll(Target()) == bytes);
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

// A read asks for more than has arrived only on a fast link, and never for
// more than the link could bring within a fraction of the stall limit.
TEST(ReadPiece, OnlyAFastLinkIsAskedForMoreThanHasArrived) {
  using platform::win32::ReadPiece;
  constexpr DWORD kSpace = 1024 * 1024;
  EXPECT_EQ(ReadPiece(1500, kSpace, 10000, 1000, 30000), 1500u);              // 10 kB a second: what has arrived
  EXPECT_EQ(ReadPiece(16384, kSpace, 2000000, 1000, 30000), 150000u);         // 2 MB a second: 75 ms of it
  EXPECT_EQ(ReadPiece(16384, kSpace, 50000000, 1000, 30000), 256u * 1024);    // never more than 256 KiB
  EXPECT_EQ(ReadPiece(16384, 4096, 50000000, 1000, 30000), 4096u);            // nor than the space left
  EXPECT_EQ(ReadPiece(100, kSpace, 10000000, 1000, 1000), 20000u);            // a 1 s limit: 2 ms of the link
  EXPECT_EQ(ReadPiece(8192, kSpace, 65536, 3, 30000), 49152u);                // the first moments count as 0.1 s
}
