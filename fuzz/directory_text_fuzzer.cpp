// The directory field's text and the protected mode's comparison with the
// manager's own directory.
//
// Input: the manager's executable path (up to the first byte 0x01, at most
// 260 bytes used), then the field's text.
//
// What must hold:
//  - the cleaned text is the whole text when it has no " ( recommended"
//    marker; otherwise it is a trimmed piece of the text before the first
//    marker, holds no marker, and is what the part before the marker alone
//    gives (what follows the marker never matters); cleaning is idempotent;
//  - the own directory is recognised in any letter case and with blanks
//    around it, and no longer once a visible character is added;
//  - the main window started with "/x DNR" turns every governed button off
//    exactly when the cleaned field names its own directory, and otherwise
//    offers installing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "manager/directory_text.h"
#include "manager/main_window.h"
#include "platform/path.h"
#include "tests/support/fake_platform.h"
#include "tests/support/main_window_states.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "directory_text: %s\n", what);
  std::abort();
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

void CheckCleaning(const std::string& field) {
  const std::string marker = catalogue::kRecommendedMarker;
  const std::string cleaned = manager::CleanDirectoryText(field);
  const auto first = field.find(marker);
  if (first == std::string::npos) {
    Require(cleaned == field, "a text without the marker changed");
    return;
  }
  Require(cleaned.find(marker) == std::string::npos, "the cleaned text holds the marker");
  Require(cleaned.empty() || (!IsBlank(cleaned.front()) && !IsBlank(cleaned.back())), "the cleaned text is untrimmed");
  const auto at = field.find(cleaned);
  Require(cleaned.empty() || (at != std::string::npos && at + cleaned.size() <= first),
          "the cleaned text is not from before the marker");
  Require(manager::CleanDirectoryText(field.substr(0, first + marker.size())) == cleaned,
          "what follows the marker changed the result");
  Require(manager::CleanDirectoryText(cleaned) == cleaned, "cleaning twice changed the text");
}

void CheckOwnDirectory(const std::string& exePath, const std::string& field) {
  const std::string own = platform::ExtractFileDir(exePath);
  for (const std::string& same : {own, UpperAscii(own), platform::LowerAscii(own), " \t" + UpperAscii(own) + "\r\n "}) {
    Require(manager::IsOwnDirectory(exePath, same), "the own directory in another case or padding was missed");
  }
  Require(!manager::IsOwnDirectory(exePath, own + "x"), "a longer directory counted as the own one");
  Require(!manager::IsOwnDirectory(exePath, "x" + own), "a longer directory counted as the own one");

  const bool isOwn = manager::IsOwnDirectory(exePath, field);
  Require(manager::IsOwnDirectory(exePath, UpperAscii(field)) == isOwn, "letter case changed the answer");
  Require(manager::IsOwnDirectory(exePath, " " + field + "\t") == isOwn, "blanks around changed the answer");
}

// The main window in protected mode, on the scripted platform.
void CheckProtectedWindow(const std::string& exePath, const std::string& field) {
  testing_support::FakePlatform os;
  os.exePath = exePath;
  os.commandLine = "\"" + exePath + "\" /x DNR";
  manager::TForm1 form(nullptr, os);
  Require(form.ProtectOwnDir(), "the window did not take the protected mode");
  form.Edit1.SetText(field);
  const bool isOwn = manager::IsOwnDirectory(exePath, manager::CleanDirectoryText(field));
  const std::string buttons = testing_support::GovernedButtons(form);
  Require(isOwn ? buttons == "00000" : buttons.substr(0, 2) == "11", "the buttons do not follow the own directory");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto split = input.find('\x01');
  std::string exePath(input.substr(0, std::min<std::size_t>(split, 260)));
  const std::string field(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

  CheckCleaning(field);
  CheckCleaning(exePath);
  CheckOwnDirectory(exePath, field);
  CheckOwnDirectory(exePath, manager::CleanDirectoryText(field));
  // The window reads a quoted program name: a quote in it would change the arguments.
  if (exePath.find('"') == std::string::npos && !exePath.empty()) CheckProtectedWindow(exePath, field);
  return 0;
}
