// The folder picker's directory rules and its properties as a form
// description gives them, on scripted doubles (no real file is touched): the
// old-style dialog's confirmation on the files and the boxes alone, the
// picker's properties on the whole scripted platform.
//
// Input: text lines, each one step; the first character says what it does:
//   d<path>  the folder exists          f<path>  the file exists
//   u<path>  the folder cannot be made  y / n    the next question's answer
//   o<c>     the options: bits 0-2 of c are sdAllowCreate, sdPerformCreate,
//            sdPrompt ("o7" all of them, "o0" none)
//   c<path>  the old-style dialog's OK on that path (ConfirmDirectory)
//   F<path>  ForceDirectories
//   s<name>=<value>  a published property read from a form description
//
// What must hold:
//  - OK on an existing folder is taken silently; on a file, on a missing
//    folder without sdAllowCreate, it is refused with one message; with
//    sdAllowCreate but not sdPerformCreate it is taken and nothing is made;
//    otherwise a No leaves everything as it was, and a taken path is a folder
//    afterwards. Only the path and folders above it are made, and no file is
//    ever touched;
//  - ForceDirectories reports whether the folder exists afterwards;
//  - a property either takes its text or refuses it with invalid_argument,
//    and what the picker stores reads back into a picker that stores the
//    same; Directory comes back as its writer and Folder's make it (one
//    trailing backslash fewer; the folder's path when a Folder is stored).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/path.h"
#include "seldir/directory_confirmation.h"
#include "seldir/seldir.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_services.h"

namespace {

using seldir::TSelectDirOpt;
using seldir::TSelectDirOpts;

constexpr platform::WindowHandle kDialog{0x999};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "seldir: %s\n", what);
  std::abort();
}

int Count(const testing_support::CallLog& log, std::size_t from, const std::string& prefix) {
  int count = 0;
  for (std::size_t i = from; i < log.calls.size(); ++i) count += log.calls[i].rfind(prefix, 0) == 0;
  return count;
}

// Folders above `path` and `path` itself, as the confirmation may make them.
bool IsPathOrAbove(const std::string& made, const std::string& path) {
  if (made.size() > path.size() || path.compare(0, made.size(), made) != 0) return false;
  return made.size() == path.size() || path[made.size()] == '\\' || made.back() == '\\' ||
         path.find_first_not_of('\\', made.size()) == std::string::npos;
}

// The old-style dialog's confirmation, with what it may touch.
struct Confirmation {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  testing_support::FakeBoxes boxes{log};
};

void Confirm(Confirmation& os, const std::string& path, TSelectDirOpts options,
             const std::map<std::string, std::string>& files) {
  const bool existed = os.files.DirectoryExists(path);
  const bool isFile = os.files.FileExists(path);
  const bool willBeAsked = !path.empty() && !existed && !isFile && options.Contains(TSelectDirOpt::sdAllowCreate) &&
                           options.Contains(TSelectDirOpt::sdPerformCreate) &&
                           options.Contains(TSelectDirOpt::sdPrompt);
  const std::deque<platform::BoxAnswer>& answers = os.boxes.messageBoxAnswers;
  const bool saysNo = willBeAsked && (answers.empty() || answers.front() != platform::BoxAnswer::Yes);
  const std::size_t from = os.log.calls.size();

  const bool taken = seldir::ConfirmDirectory(os.files, os.boxes, kDialog, path, options);
  const int boxes = Count(os.log, from, "SystemMessageBox");
  const int made = Count(os.log, from, "MakeDirectory");
  if (path.empty()) {
    Require(!taken && boxes == 0 && made == 0, "an empty path was not refused silently");
  } else if (existed) {
    Require(taken && boxes == 0 && made == 0, "an existing folder was not taken silently");
  } else if (isFile) {
    Require(!taken && boxes == 1 && made == 0, "a file was not refused with one message");
  } else if (!options.Contains(TSelectDirOpt::sdAllowCreate)) {
    Require(!taken && boxes == 1 && made == 0, "a missing folder was not refused with one message");
  } else if (!options.Contains(TSelectDirOpt::sdPerformCreate)) {
    Require(taken && boxes == 0 && made == 0, "a folder for the caller to make was not handed on as it is");
  } else if (saysNo) {
    Require(!taken && boxes == 1 && made == 0, "a No did not leave everything as it was");
  } else {
    Require(boxes == (willBeAsked ? 1 : 0) + (taken ? 0 : 1), "the wrong number of messages around creating");
    if (taken) Require(os.files.DirectoryExists(path), "a folder taken as made does not exist");
  }
  for (std::size_t i = from; i < os.log.calls.size(); ++i) {
    const std::string& call = os.log.calls[i];
    if (call.rfind("MakeDirectory ", 0) == 0) {
      Require(IsPathOrAbove(call.substr(14), path), "a folder outside the path was made");
    }
  }
  for (const auto& [name, content] : files) {
    Require(os.files.HasFile(name) && os.files.FileContent(name) == content, "a file was touched");
  }
}

std::string Stored(const seldir::TSelDir& picker, std::string_view name) {
  for (const auto& [stored, value] : picker.StoredProperties()) {
    if (stored == name) return value;
  }
  return {};
}

void CheckStoredPropertiesReadBack(const seldir::TSelDir& picker, testing_support::FakePlatform& os) {
  seldir::TSelDir copy(nullptr, os);
  for (const auto& [name, value] : picker.StoredProperties()) copy.SetProperty(name, value);  // must not throw

  for (const std::string_view name : seldir::TSelDir::kPublishedProperties) {
    if (name != "Directory") Require(Stored(copy, name) == Stored(picker, name), "a property read back differently");
  }
  // Directory comes before Folder, whose writer replaces it with the folder's
  // path; without a folder, its writer takes one trailing backslash away.
  std::string directory = picker.Directory();
  if (picker.Folder() != seldir::TShellFolder::SdNone) {
    seldir::TSelDir rooted(nullptr, os);
    rooted.SetFolder(picker.Folder());
    directory = rooted.Directory();
  } else if (!directory.empty() && directory.back() == '\\') {
    directory.pop_back();
  }
  Require(copy.Directory() == directory, "Directory read back differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Confirmation confirmation;
  confirmation.files.AddDirectory("C:\\");
  testing_support::FakePlatform os;  // the picker's
  TSelectDirOpts options{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt};
  std::map<std::string, std::string> files;
  seldir::TSelDir picker(nullptr, os);

  std::size_t start = 0;
  while (start < input.size()) {
    const auto end = std::min(input.find('\n', start), input.size());
    const std::string_view line = input.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    const std::string argument(line.substr(1));
    switch (line[0]) {
      case 'd':
        if (!confirmation.files.HasFile(argument)) confirmation.files.AddDirectory(argument);
        break;
      case 'f':
        if (!confirmation.files.DirectoryExists(argument)) {
          confirmation.files.AddFile(argument, argument);
          files[platform::LowerAscii(argument)] = argument;  // letter case names the same file
        }
        break;
      case 'u':
        confirmation.files.uncreatable.insert(platform::LowerAscii(argument));
        break;
      case 'y':
      case 'n':
        confirmation.boxes.messageBoxAnswers.push_back(line[0] == 'y' ? platform::BoxAnswer::Yes
                                                                      : platform::BoxAnswer::No);
        break;
      case 'o':
        options = {};
        for (unsigned bit = 0; bit < 3; ++bit) {
          if (!argument.empty() && ((static_cast<unsigned>(argument[0]) >> bit) & 1)) {
            options.Include(static_cast<TSelectDirOpt>(bit));
          }
        }
        break;
      case 'c':
        Confirm(confirmation, argument, options, files);
        break;
      case 'F': {
        const bool made = seldir::ForceDirectories(confirmation.files, argument);
        Require(made == confirmation.files.DirectoryExists(argument), "ForceDirectories misreports the folder");
        break;
      }
      case 's': {
        const auto equals = argument.find('=');
        if (equals == std::string::npos) break;
        try {
          picker.SetProperty(argument.substr(0, equals), argument.substr(equals + 1));
        } catch (const std::invalid_argument&) {
          // Refused: the property keeps its value.
        }
        break;
      }
      default:
        break;
    }
  }
  CheckStoredPropertiesReadBack(picker, os);
  return 0;
}
