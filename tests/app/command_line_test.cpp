#include "app/command_line.h"

#include <gtest/gtest.h>

namespace kelvane::app {
namespace {

// What a deployment system writes, in msiexec's manner: either prefix, any case.
TEST(ParseCommandLine, TakesTheSwitchesAsMsiexecDoes) {
  const auto parsed = ParseCommandLine({"-QUIET", "/NoRestart", "/log", "C:\\kv.log"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->display, RunOptions::Display::Quiet);
  EXPECT_EQ(parsed.options->restart, RunOptions::Restart::Never);
  EXPECT_EQ(parsed.options->logFile, "C:\\kv.log");
  EXPECT_TRUE(parsed.silent);
  EXPECT_TRUE(ParseCommandLine({}).options);
}

// The message names what is wrong first, as the administrator reads it.
TEST(ParseCommandLine, RefusesWhatDoesNotGoTogetherNamingTheFirstFault) {
  EXPECT_EQ(ParseCommandLine({"/quiet", "/bogus", "/other"}).error, "unknown argument: /bogus");
  EXPECT_EQ(ParseCommandLine({"/quiet", "/passive"}).error, "/quiet and /passive go alone");
  EXPECT_EQ(ParseCommandLine({"/quiet", "/norestart", "/forcerestart"}).error, "/norestart and /forcerestart go alone");
  EXPECT_EQ(ParseCommandLine({"/quiet", "/log"}).error, "/log takes one file");
  EXPECT_EQ(ParseCommandLine({"/log", "a", "/log", "b"}).error, "/log takes one file");
  // The window always restarts to finish; /check changes nothing, and so
  // takes a restart switch a deployment system adds to every command.
  EXPECT_EQ(ParseCommandLine({"/norestart"}).error, "/norestart and /forcerestart go with /quiet or /passive");
  EXPECT_TRUE(ParseCommandLine({"/check", "/norestart"}).options);
  EXPECT_FALSE(ParseCommandLine({"/bogus"}).silent);
}

}  // namespace
}  // namespace kelvane::app
