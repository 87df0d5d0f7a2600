// What a download reads from the server's answers, and what the user sees of
// it: the progress line and the window that shows after a second.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "manager/download_progress.h"
#include "platform/download_rules.h"
#include "platform/window_services.h"

namespace {

using platform::AnnouncedLength;

TEST(DownloadRules, OnlyOnePlainDecimalLengthProvesTheEndOfTheBody) {
  const std::optional<std::uint64_t> none;
  const struct {
    std::vector<std::string> headers;
    std::optional<std::uint64_t> length;
  } cases[] = {
      {{"12"}, 12},       {{"12", "12"}, 12}, {{}, none},          {{"+12"}, none},   {{" 12"}, none},
      {{"0x10"}, none},   {{"-1"}, none},     {{"12.0"}, none},    {{"12", "13"}, none}, {{""}, none},
      {{"99999999999999999999999"}, none},
  };
  for (const auto& c : cases) EXPECT_EQ(AnnouncedLength(c.headers), c.length) << testing::PrintToString(c.headers);
  EXPECT_TRUE(platform::IsIdentityEncoding(""));
  EXPECT_TRUE(platform::IsIdentityEncoding("Identity"));
  EXPECT_FALSE(platform::IsIdentityEncoding("gzip"));
}

TEST(DownloadRules, ARangeContinuesThePartFileOnlyFromItsEndToTheSameTotal) {
  const auto range = platform::ParseContentRange("bytes 40-99/100");
  ASSERT_TRUE(range.has_value());
  EXPECT_TRUE(platform::ContinuesPartFile(*range, 40, 100));
  EXPECT_FALSE(platform::ContinuesPartFile(*range, 41, 100));
  EXPECT_FALSE(platform::ContinuesPartFile(*range, 40, 101));
  EXPECT_FALSE(platform::ContinuesPartFile(*platform::ParseContentRange("bytes 40-98/100"), 40, 100));
  for (const char* odd : {"bytes 40-99/*", "bytes */100", "bytes 40-100/100", "bytes 50-40/100", "items 0-1/2", ""}) {
    EXPECT_FALSE(platform::ParseContentRange(odd).has_value()) << odd;
  }

}

// If-Range and the joining of a 206 follow RFC 9110: a strong ETag, else a
// date only where no ETag was given; a 206 joins the held bytes only with
// the validator they came with and a range that continues them.
TEST(DownloadRules, A206JoinsTheHeldBytesOnlyWithTheirOwnStrongValidator) {
  const char* date = "Tue, 01 Dec 2026 10:00:00 GMT";
  const auto strong = platform::ReadResumeOffer("bytes", "\"v1\"", date);
  EXPECT_TRUE(strong.ranges);
  EXPECT_EQ(strong.validator, "\"v1\"");
  EXPECT_EQ(platform::ReadResumeOffer("bytes", "W/\"v1\"", date).validator, "") << "no date beside a weak tag";
  const auto dated = platform::ReadResumeOffer("bytes", "", date);
  EXPECT_EQ(dated.validator, date);
  EXPECT_EQ(platform::ReadResumeOffer("bytes", "", "").validator, "");
  EXPECT_FALSE(platform::ReadResumeOffer("none", "\"v1\"", "").ranges);

  const platform::ContentRange rest{40, 99, 100};
  EXPECT_TRUE(platform::ContinuesHeldBytes(strong, "\"v1\"", "", rest, 40, 100));
  EXPECT_FALSE(platform::ContinuesHeldBytes(strong, "\"v2\"", date, rest, 40, 100)) << "If-Range ignored";
  EXPECT_FALSE(platform::ContinuesHeldBytes(strong, "W/\"v1\"", date, rest, 40, 100));
  EXPECT_FALSE(platform::ContinuesHeldBytes(strong, "", date, rest, 40, 100));
  EXPECT_FALSE(platform::ContinuesHeldBytes(strong, "\"v1\"", "", rest, 41, 100));
  EXPECT_TRUE(platform::ContinuesHeldBytes(dated, "", date, rest, 40, 100));
  EXPECT_FALSE(platform::ContinuesHeldBytes(dated, "", "Wed, 02 Dec 2026 10:00:00 GMT", rest, 40, 100));
  EXPECT_FALSE(platform::ContinuesHeldBytes({}, "", "", rest, 40, 100));

  EXPECT_EQ(platform::ResumptionPauseMs(0), 1000u);
  EXPECT_EQ(platform::ResumptionPauseMs(1), 2000u);
  EXPECT_EQ(platform::ResumptionPauseMs(4), 4000u);
}

// The caller reads the clock while the transfer's thread stamps each byte:
// a stamp a moment after the clock reading is no silence (read as unsigned
// it was 49 days of it, and a healthy download failed under load).
TEST(DownloadRules, SilenceIsTheTimeSinceTheLastByteEvenAcrossTheTicksWrap) {
  EXPECT_FALSE(platform::SilentLongerThan(1000, 1000, 35000));
  EXPECT_FALSE(platform::SilentLongerThan(1016, 1000, 35000));  // a byte after the clock was read
  EXPECT_FALSE(platform::SilentLongerThan(1000, 36000, 35000));
  EXPECT_TRUE(platform::SilentLongerThan(1000, 36001, 35000));
  EXPECT_TRUE(platform::SilentLongerThan(0xFFFFF000u, 35000, 35000));  // the tick wrapped meanwhile
  EXPECT_FALSE(platform::SilentLongerThan(0xFFFFF000u, 1000, 35000));
}

TEST(DownloadProgress, TheLineTellsWhatArrivedOfHowMuchHowFastAndHowLongItTakesStill) {
  const std::uint64_t mb = 1024 * 1024;
  EXPECT_EQ(manager::ProgressLine(mb * 34 / 10, 12 * mb, 2833), "3.4 MB of 12.0 MB, 1.2 MB/s, about 7 s left");
  EXPECT_EQ(manager::ProgressLine(0, 0, 1000), "0 KB");
  EXPECT_EQ(manager::ProgressLine(512 * 1024, 0, 1000), "512 KB, 512 KB/s");
  EXPECT_EQ(manager::ProgressLine(1024, 100 * mb, 1000), "1 KB of 100.0 MB, 1 KB/s, about 1707 min left");
}

// A modal section that notes, when it is left, whether the watch's window is
// still shown: the order of the two is what passes the activation back to
// the main window.
class SectionThatSeesTheWindow final : public platform::ModalSection {
 public:
  void Leave() override {
    left.push_back(window != nullptr && window->Visible() ? "left with the window shown"
                                                          : "left with no window shown");
  }
  const ui::TForm* window = nullptr;
  std::vector<std::string> left;
};

TEST(DownloadProgress, TheWindowShowsAfterASecondAndItsCancelOrACloseEndsTheDownload) {
  ui::TForm main(nullptr);
  platform::StopToken stop;
  SectionThatSeesTheWindow modal;
  {
    manager::DownloadWatch watch(main, "SELVO.exe", stop, modal);
    watch.Progress(4096, 8192, 900);
    EXPECT_EQ(watch.Window(), nullptr);
    watch.Progress(4096, 8192, 1000);
    ASSERT_NE(watch.Window(), nullptr);
    modal.window = watch.Window();
    EXPECT_TRUE(watch.Window()->Visible());
    EXPECT_EQ(watch.Window()->Text(), "Downloading SELVO.exe ...");
    EXPECT_EQ(watch.Window()->PopupParent, &main);
    EXPECT_EQ(watch.Window()->ProgressBar1.Position(), ui::TProgressBar::kMax / 2);
    EXPECT_EQ(watch.Window()->Label1.Text(), "4 KB of 8 KB, 4 KB/s, about 1 s left");
    EXPECT_FALSE(watch.CancelRequested());
    watch.Window()->BitBtn1.Click();
    EXPECT_TRUE(watch.CancelRequested());
    EXPECT_TRUE(stop.StopRequested());  // the one request that the transfer reads too
  }
  EXPECT_EQ(ui::Application.MainForm(), nullptr);  // the window went with the watch
  // The other windows take input again before the watch's window hides.
  EXPECT_EQ(modal.left, std::vector<std::string>{"left with the window shown"});

  // A watch whose window never showed leaves nothing.
  SectionThatSeesTheWindow unused;
  { manager::DownloadWatch quick(main, "SELVO.exe", {}, unused); }
  EXPECT_TRUE(unused.left.empty());

  // The main window's close asks for the same stop.
  platform::StopToken closing;
  manager::DownloadWatch watch(main, "SELVO.exe", closing, modal);
  EXPECT_FALSE(watch.CancelRequested());
  closing.RequestStop();
  EXPECT_TRUE(watch.CancelRequested());
}

}  // namespace
