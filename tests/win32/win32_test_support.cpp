#include "tests/win32/win32_test_support.h"

#include <windows.h>

#include <cstdlib>

namespace win32_tests {


std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

std::string PathFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : WindowsPath(value);
}

std::string ModuleDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string module(path, length);
  return module.substr(0, module.find_last_of('\\') + 1);
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadAll(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) content.append(chunk, read);
  CloseHandle(file);
  return content;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

void RemoveTree(const std::string& path) {
  if (!IsDirectory(path)) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

TempDir::TempDir(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + UniqueName(name + " ", "");
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string UniqueName(const std::string& prefix, const std::string& extension) {
  static int counter = 0;
  return prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + extension;
}

namespace {
std::string Port(const char* file) {
  std::string port = ReadAll(HttpServer::StateDirectory() + "\\" + file);
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  return port;
}
}  // namespace

std::string HttpServer::StateDirectory() { return PathFromEnvironment("VANDREL_TEST_HTTP"); }
std::string HttpServer::Root() { return StateDirectory() + "\\root"; }
std::string HttpServer::Url(const std::string& path) { return "http://127.0.0.1:" + Port("port") + path; }
std::string HttpServer::HttpsUrl(const std::string& path) { return "https://localhost:" + Port("https_port") + path; }
std::string HttpServer::SelfSignedUrl(const std::string& path) {
  return "https://localhost:" + Port("self_signed_port") + path;
}
std::string HttpServer::OtherHostUrl(const std::string& path) {
  return "https://localhost:" + Port("other_host_port") + path;
}
std::string HttpServer::RefusedUrl(const std::string& path) {
  return "http://127.0.0.1:" + Port("refused_port") + path;
}
std::string HttpServer::ProxyOnlyUrl(const std::string& path) {
  return "http://only-through-the-proxy.invalid:" + Port("port") + path;
}
std::string HttpServer::Requests() { return ReadAll(StateDirectory() + "\\requests.log"); }
int HttpServer::RequestCount(const std::string& path) {
  const std::string log = "\n" + Requests();
  int count = 0;
  for (auto at = log.find("\n" + path + "\n"); at != std::string::npos; at = log.find("\n" + path + "\n", at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace win32_tests
