// The escape poll of long walks: Ctrl-C is taken as a request while watching.
#include "platform/escape_key.hpp"

#include <gtest/gtest.h>
#include <signal.h>

namespace kestrova {
namespace {

TEST(EscapeKey, CtrlCDuringTheWalkIsARequestNotTheEnd) {
  platform::EscapeKey escape;
  EXPECT_FALSE(escape.pressed());  // not watching yet
  escape.begin();
  EXPECT_FALSE(escape.pressed());
  raise(SIGINT);  // held pending while watching
  EXPECT_TRUE(escape.pressed());
  EXPECT_FALSE(escape.pressed());
  raise(SIGINT);
  escape.end();  // a late Ctrl-C is taken, not delivered: the test goes on
  SUCCEED();
}

}  // namespace
}  // namespace kestrova
