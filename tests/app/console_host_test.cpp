#include <gtest/gtest.h>

#include "app/console_host.h"

namespace upd {
namespace {

TEST(ConsoleHost, PrintsWhatTheStatusGainsAndAReplacedTextOnANewLine) {
  std::u16string out, err;
  ConsoleHost host(0, [&](const std::u16string& t) { out += t; }, [&](const std::u16string& t) { err += t; });
  host.SetStatusText(u"Intro\r\n\r\n");
  host.SetStatusText(u"Intro\r\n\r\nFile a ... ");
  host.ShowError(u"Error - file missing.");
  host.SetStatusText(u"Intro\r\n\r\nFile a ... Error\r\n");
  host.SetStatusText(u"Some errors occurred.");  // the verdict replaces everything
  host.Finish();
  EXPECT_EQ(out, u"Intro\r\n\r\nFile a ... Error\r\nSome errors occurred.\n");
  EXPECT_EQ(err, u"Error - file missing.\n");
  EXPECT_FALSE(host.PickProgramFile());
}

TEST(ConsoleHost, ExitStatusFollowsTheRunFlag) {
  ConsoleHost host(0, [](const std::u16string&) {}, [](const std::u16string&) {});
  host.SetRunSucceeded(true);
  EXPECT_EQ(host.ExitStatus(), 0);
  host.SetRunSucceeded(false);
  EXPECT_EQ(host.ExitStatus(), 1);
}

TEST(ConsoleHost, ReplacedTextAfterAnEndedLineNeedsNoExtraBreak) {
  std::u16string out;
  ConsoleHost host(0, [&](const std::u16string& t) { out += t; }, [](const std::u16string&) {});
  host.SetStatusText(u"line\r\n");
  host.SetStatusText(u"verdict");
  host.Finish();
  EXPECT_EQ(out, u"line\r\nverdict\n");
}

}  // namespace
}  // namespace upd
