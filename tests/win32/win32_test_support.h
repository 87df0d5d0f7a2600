// Helpers of the Win32 tests: real files and directories in the Wine prefix,
// the paths the test run hands over, the loopback HTTP server.
#pragma once

#include <string>
#include <vector>

namespace win32_tests {

// Errors that reached a barrier of the window binding, in order; the Win32
// tests' reporter (their main.cpp) also shows them as the application does.
// A test clears the list before it acts.
extern std::vector<std::string> gReportedErrors;
void RecordError(const std::string& message);

// A Windows path for a path from the test run: a Unix path becomes one on
// Wine's drive Z:, a Windows path stays as it is.
std::string WindowsPath(const std::string& path);
// The Windows path in environment variable `name`; empty when it is not set.
std::string PathFromEnvironment(const char* name);

// The directory of this test executable, with its trailing backslash: where
// FetchFile looks for its local copies.
std::string ModuleDirectory();

bool IsFile(const std::string& path);
bool IsDirectory(const std::string& path);
std::string ReadAll(const std::string& path);  // empty when missing
bool WriteAll(const std::string& path, const std::string& bytes);
// Deletes a file, or a directory with everything in it.
void RemoveTree(const std::string& path);

// A fresh directory under the temporary folder, whose name holds blanks;
// deleted with its content at the end of the scope.
class TempDir {
 public:
  explicit TempDir(const std::string& name);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// A name no earlier test of this run used: prefix, process id and a counter.
std::string UniqueName(const std::string& prefix, const std::string& extension);

// The loopback server of the test run (tests/servers/http_server.py), from the
// state directory in VANDREL_TEST_HTTP. Its https addresses name localhost,
// and its test authority is trusted in the test prefix (the https fixture).
struct HttpServer {
  static std::string StateDirectory();                     // empty when the run started none
  static std::string Root();                               // served files: GET /a/b answers Root()\a\b
  static std::string Url(const std::string& path);         // http://127.0.0.1:<port><path>
  static std::string HttpsUrl(const std::string& path);    // https://localhost:<port><path>, a trusted certificate
  static std::string SelfSignedUrl(const std::string& path);  // the same files, a self-signed certificate
  static std::string OtherHostUrl(const std::string& path);   // a trusted certificate of another host
  static std::string RefusedUrl(const std::string& path);  // a port nobody listens on
  // The plain server under a host name that does not resolve: reachable only through the proxy.
  static std::string ProxyOnlyUrl(const std::string& path);
  static std::string Requests();                           // the paths asked for so far, one a line
  static int RequestCount(const std::string& path);        // how often exactly `path` was asked for
};

}  // namespace win32_tests
