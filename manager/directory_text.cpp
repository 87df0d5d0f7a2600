#include "manager/directory_text.h"

#include "catalogue/catalogue.h"
#include "platform/path.h"

namespace manager {

std::string CleanDirectoryText(const std::string& fieldText) {
  const auto marker = fieldText.find(catalogue::kRecommendedMarker);
  if (marker == std::string::npos) return fieldText;
  return platform::Trim(fieldText.substr(0, marker));
}

bool IsOwnDirectory(const std::string& exePath, const std::string& installDir) {
  const auto normalise = [](const std::string& text) { return platform::LowerAscii(platform::Trim(text)); };
  return normalise(platform::ExtractFileDir(exePath)) == normalise(installDir);
}

}  // namespace manager
