// A lost display is made anew a bounded number of times, then reported.
#include <gtest/gtest.h>

#include "platform/display_restore.h"

namespace vdx::platform {
namespace {

TEST(DisplayRestore, AFrameIsShownAgainAfterTheDisplayIsMadeAnewAndAPersistentLossEndsInAnError) {
  // Lost twice, then back: two restores, and the frame is shown.
  int shows = 0;
  int restores = 0;
  ShowRestoring(
      kDisplayRestores, [&] { return ++shows > 2; }, [&] { ++restores; },
      [] { return std::string("lost"); });
  EXPECT_EQ(shows, 3);
  EXPECT_EQ(restores, 2);

  // Never back: the bounded restores, one more try, then the error.
  shows = 0;
  restores = 0;
  try {
    ShowRestoring(
        kDisplayRestores, [&] { return ++shows, false; }, [&] { ++restores; },
        [] { return std::string("device removed"); });
    ADD_FAILURE() << "a display that stays lost must end in an error";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()),
              "the display was lost and could not be made anew (3 attempts): device removed");
  }
  EXPECT_EQ(restores, kDisplayRestores);
  EXPECT_EQ(shows, kDisplayRestores + 1);
}

}  // namespace
}  // namespace vdx::platform
