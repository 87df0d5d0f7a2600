#include "tests/programs/test_program.h"

#include <windows.h>

#include <cstdlib>

#include "platform/path.h"

namespace test_programs {

namespace {

std::string ReadText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char chunk[512];
  DWORD read = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) text.append(chunk, read);
  CloseHandle(file);
  return text;
}

}  // namespace

std::string OwnPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

std::string ArgumentText() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

Behaviour ReadBehaviour(const std::string& ownPath) {
  std::string words = ReadText(ownPath + ".behaviour");
  if (words.empty()) {
    const char* fromEnvironment = std::getenv("VANDREL_TEST_BEHAVIOUR");
    if (fromEnvironment != nullptr) words = fromEnvironment;
  }
  words = platform::LowerAscii(words) + " ";
  Behaviour behaviour;
  std::string word;
  for (char c : words) {
    if (c != ' ' && c != ',' && c != '\r' && c != '\n' && c != '\t') {
      word += c;
      continue;
    }
    if (word.rfind("sleep=", 0) == 0)
      behaviour.sleepMs = static_cast<unsigned>(std::strtoul(word.c_str() + 6, nullptr, 10));
    if (word == "fail") behaviour.fail = true;
    if (word == "nothing") behaviour.nothing = true;
    if (word == "window") behaviour.window = true;
    if (word == "hold") behaviour.hold = true;
    word.clear();
  }
  return behaviour;
}

void RecordStart(const std::string& ownPath, const std::string& arguments) {
  const std::string record = platform::ChangeFileExt(ownPath, ".cmdline");
  HANDLE file = CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = arguments + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace test_programs
