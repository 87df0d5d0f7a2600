#include "platform/download_rules.h"

#include <algorithm>
#include <charconv>

#include "platform/path.h"

namespace platform {

namespace {

std::optional<std::uint64_t> PlainNumber(std::string_view text) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A strong entity tag: quoted, not marked weak ("W/...").
bool IsStrongTag(const std::string& tag) { return tag.size() >= 2 && tag.front() == '"' && tag.back() == '"'; }

bool SameWord(std::string_view a, std::string_view b) {
  return LowerAscii(Trim(std::string(a))) == LowerAscii(std::string(b));
}

}  // namespace

std::optional<std::uint64_t> AnnouncedLength(const std::vector<std::string>& contentLengths) {
  std::optional<std::uint64_t> length;
  for (const std::string& text : contentLengths) {
    const std::optional<std::uint64_t> value = PlainNumber(text);
    if (!value || (length && *length != *value)) return std::nullopt;
    length = value;
  }
  return length;
}

bool IsIdentityEncoding(std::string_view contentEncoding) {
  return Trim(std::string(contentEncoding)).empty() || SameWord(contentEncoding, "identity");
}

std::optional<ContentRange> ParseContentRange(std::string_view text) {
  constexpr std::string_view kUnit = "bytes ";
  if (text.substr(0, kUnit.size()) != kUnit) return std::nullopt;
  text.remove_prefix(kUnit.size());
  const std::size_t dash = text.find('-');
  const std::size_t slash = text.find('/');
  if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash) return std::nullopt;
  const auto first = PlainNumber(text.substr(0, dash));
  const auto last = PlainNumber(text.substr(dash + 1, slash - dash - 1));
  const auto total = PlainNumber(text.substr(slash + 1));
  if (!first || !last || !total || *first > *last || *last >= *total) return std::nullopt;
  return ContentRange{*first, *last, *total};
}

ResumeOffer ReadResumeOffer(std::string_view acceptRanges, std::string_view etag, std::string_view lastModified) {
  ResumeOffer offer;
  offer.ranges = SameWord(acceptRanges, "bytes");
  const std::string tag = Trim(std::string(etag));
  if (IsStrongTag(tag)) {
    offer.validator = tag;
  } else if (tag.empty()) {
    offer.validator = Trim(std::string(lastModified));
    offer.byDate = true;
  }
  return offer;
}

bool ContinuesPartFile(const ContentRange& range, std::uint64_t held, std::uint64_t total) {
  return range.first == held && range.total == total && range.last + 1 == total;
}

bool ContinuesHeldBytes(const ResumeOffer& held, std::string_view etag, std::string_view lastModified,
                        const ContentRange& range, std::uint64_t heldBytes, std::uint64_t total) {
  if (held.validator.empty()) return false;
  const std::string same = Trim(std::string(held.byDate ? lastModified : etag));
  return same == held.validator && ContinuesPartFile(range, heldBytes, total);
}

std::uint32_t ResumptionPauseMs(int retry) { return 1000u << std::clamp(retry, 0, 2); }

bool SilentLongerThan(std::uint32_t lastByteTick, std::uint32_t now, std::uint32_t limitMs) {
  const auto silence = static_cast<std::int32_t>(now - lastByteTick);  // negative: after the clock was read
  return silence > 0 && static_cast<std::uint32_t>(silence) > limitMs;
}

}  // namespace platform
