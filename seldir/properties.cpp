// TSelDir's published properties as a form description writes and reads them:
// texts as they are, numbers in decimal, Booleans as True/False, the folder by
// its value's name and the options as a bracketed list.
#include <cstdint>
#include <stdexcept>

#include "seldir/seldir.h"

namespace seldir {

namespace {

constexpr std::array<std::string_view, kShellFolderCount> kFolderNames = {
    "SdNone",     "SdDesktop", "SdDesktopDir", "SdDrives",    "SdFonts",   "SdNetwork",  "SdPersonal",
    "SdPrograms", "SdRecent",  "SdSendTo",     "SdStartmenu", "SdStartup", "SdTemplates"};
constexpr std::array<std::string_view, 3> kOptionNames = {"sdAllowCreate", "sdPerformCreate", "sdPrompt"};
const TSelectDirOpts kDefaultOptions{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate,
                                     TSelectDirOpt::sdPrompt};

[[noreturn]] void Malformed(std::string_view name, const std::string& value) {
  throw std::invalid_argument("property " + std::string(name) + " cannot take \"" + value + "\"");
}

std::int32_t ParseInteger(std::string_view name, const std::string& value) {
  std::size_t used = 0;
  long long number = 0;
  try {
    number = std::stoll(value, &used, 10);
  } catch (const std::exception&) {
    Malformed(name, value);
  }
  if (used != value.size() || number < INT32_MIN || number > INT32_MAX) Malformed(name, value);
  return static_cast<std::int32_t>(number);
}

std::string FormatOptions(TSelectDirOpts options) {
  std::string text = "[";
  for (std::size_t i = 0; i < kOptionNames.size(); ++i) {
    if (!options.Contains(static_cast<TSelectDirOpt>(i))) continue;
    if (text.size() > 1) text += ", ";
    text += kOptionNames[i];
  }
  return text + "]";
}

TSelectDirOpts ParseOptions(std::string_view name, const std::string& value) {
  if (value.size() < 2 || value.front() != '[' || value.back() != ']') Malformed(name, value);
  TSelectDirOpts options;
  std::string_view rest(value.data() + 1, value.size() - 2);
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    std::size_t i = 0;
    while (i < kOptionNames.size() && kOptionNames[i] != item) ++i;
    if (i == kOptionNames.size()) Malformed(name, value);
    options.Include(static_cast<TSelectDirOpt>(i));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return options;
}

}  // namespace

void TSelDir::SetProperty(std::string_view name, const std::string& value) {
  if (name == "Name") {
    Name = value;
  } else if (name == "Tag") {
    Tag = ParseInteger(name, value);
  } else if (name == "Directory") {
    SetDirectory(value);
  } else if (name == "Folder") {
    std::size_t i = 0;
    while (i < kFolderNames.size() && kFolderNames[i] != value) ++i;
    if (i == kFolderNames.size()) Malformed(name, value);
    SetFolder(static_cast<TShellFolder>(i));
  } else if (name == "OldStyle") {
    if (value != "True" && value != "False") Malformed(name, value);
    OldStyle = value == "True";
  } else if (name == "OSOptions") {
    OSOptions = ParseOptions(name, value);
  } else if (name == "OSHelpContext") {
    OSHelpContext = ParseInteger(name, value);
  } else if (name == "OSRoot") {
    OSRoot = value;
  } else if (name == "Title") {
    Title = value;
  } else {
    throw std::invalid_argument("TSelDir has no property " + std::string(name));
  }
}

std::vector<std::pair<std::string, std::string>> TSelDir::StoredProperties() const {
  std::vector<std::pair<std::string, std::string>> stored;
  const auto text = [&stored](const char* name, const std::string& value) {
    if (!value.empty()) stored.emplace_back(name, value);
  };
  text("Name", Name);
  if (Tag != 0) stored.emplace_back("Tag", std::to_string(Tag));
  text("Directory", directory_);
  if (folder_ != TShellFolder::SdNone) stored.emplace_back("Folder", kFolderNames[static_cast<std::size_t>(folder_)]);
  if (OldStyle) stored.emplace_back("OldStyle", "True");
  if (OSOptions != kDefaultOptions) stored.emplace_back("OSOptions", FormatOptions(OSOptions));
  stored.emplace_back("OSHelpContext", std::to_string(OSHelpContext));  // declares no default
  text("OSRoot", OSRoot);
  text("Title", Title);
  return stored;
}

}  // namespace seldir
