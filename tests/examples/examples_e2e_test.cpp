// The example programs as a newcomer runs them: each opens its window and
// ends with status 0 on Escape; the viewer answers the mouse.

#include "harness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <utility>

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

const std::string buildDir = E2E_BUILD_DIR;

// Pixels that differ between two shots of the same window, outside the bottom
// text line; every pixel when the window's size changed in between.
int changedPixels(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height;
    int changed = 0;
    for (int y = 0; y < a.height - 40; ++y)
        for (int x = 0; x < a.width; ++x) changed += !near(a.at(x, y), b.at(x, y), 8);
    return changed;
}

class Example : public ::testing::Test {
protected:
    void start(const std::string& program, const std::string& title) {
        child_.emplace(buildDir + "/" + program, LaunchOptions{buildDir, {}});
        auto found = x_.findWindow(title, child_->pid(), Millis(10000));
        ASSERT_TRUE(found) << "no window titled " << title << "; stderr: " << child_->stderrText();
        window_ = *found;
        x_.focus(window_);
    }

    // A shot taken once the picture has stopped changing and, where given,
    // shows what `ready` looks for: a resize is drawn some frames after the
    // window took its new size, and a slow build may pause in between.
    Image settled(const std::function<bool(const Image&)>& ready = {}) {
        std::optional<Image> last, now;
        for (const auto end = Clock::now() + Millis(10000); Clock::now() < end; last = now) {
            std::this_thread::sleep_for(Millis(150));
            now = x_.capture(window_);
            if (now && last && changedPixels(*now, *last) == 0 && (!ready || ready(*now))) break;
        }
        return now.value_or(Image{});
    }

    XSession x_;
    std::optional<Child> child_;
    XWindow window_ = 0;
};

TEST_F(Example, ShellOpensGrowsItsBannerWithTheWindowAndEndsOnEscape) {
    ASSERT_NO_FATAL_FAILURE(start("tandrel-shell", "Tandrel shell"));
    x_.resize(window_, 1620, 900);
    // The banner spans 30 to 90 units up, from 40 to 770 across: in a window
    // twice the size, 60 to 180 pixels up from 80. The pyramid stays clear of
    // its left end.
    const Rgb banner = blend(rgb(0xFFFFFF), 0.35, rgb(0x1E2430)), clear = rgb(0x1E2430);
    auto shows = [&](const Image& image) {
        return image.width == 1620 && near(image.at(100, 900 - 70), banner, 8) &&
               near(image.at(100, 900 - 50), clear, 8) && near(image.at(70, 900 - 70), clear, 8);
    };
    std::optional<Image> shot;
    for (const auto end = Clock::now() + Millis(10000); Clock::now() < end && !(shot && shows(*shot));)
        shot = x_.capture(window_);
    EXPECT_TRUE(shot && shows(*shot)) << "the banner did not grow with the window";
    EXPECT_EQ(quitWithEscape(x_, *child_), 0) << child_->stderrText();
}

TEST_F(Example, ViewerTurnsOnRightDragAndZoomsOnTheWheel) {
    ASSERT_NO_FATAL_FAILURE(start("tandrel-viewer", "Tandrel viewer"));
    const Image before = settled();

    x_.pointer(window_, 405, 225);
    x_.button(3, true);
    for (int step = 0; step < 10; ++step) {
        std::this_thread::sleep_for(Millis(30));
        x_.pointer(window_, 445, 240); // the viewer puts the cursor back at the centre
    }
    x_.button(3, false);
    const Image turned = settled();
    EXPECT_GT(changedPixels(before, turned), 2000) << "a right drag did not turn the view";

    x_.button(4, true);
    x_.button(4, false);
    const Image zoomed = settled();
    EXPECT_GT(changedPixels(turned, zoomed), 2000) << "a wheel notch did not zoom";

    EXPECT_EQ(quitWithEscape(x_, *child_), 0) << child_->stderrText();
}

TEST_F(Example, ViewerKeepsItsThumbnailInTheTopRightCornerOfAResizedWindow) {
    ASSERT_NO_FATAL_FAILURE(start("tandrel-viewer", "Tandrel viewer"));
    x_.resize(window_, 1200, 700);
    // A quarter of the window's width and height, 10 pixels from the top and
    // the right, in a frame of 2: the frame covers columns 888 to 1191 and
    // rows 8 to 186 from the top. Its corners are framed; the pixels just
    // beyond them, outward and into the thumbnail, are not (the scene runs
    // right up to the frame, so they may be anything else).
    const Rgb frame = rgb(0xF9F6F2);
    const auto corners = {std::pair{888, 8}, {1191, 8}, {888, 186}, {1191, 186}};
    Image shot = settled([&](const Image& image) {
        return image.width == 1200 && image.height == 700 && std::ranges::all_of(corners, [&](auto corner) {
                   return near(image.at(corner.first, corner.second), frame, 8);
               });
    });
    ASSERT_EQ((std::pair{shot.width, shot.height}), (std::pair{1200, 700}));
    for (auto [x, y] : corners) {
        const int outX = x < 1000 ? -1 : 1, outY = y < 100 ? -1 : 1;
        EXPECT_TRUE(near(shot.at(x, y), frame, 8)) << "frame corner " << x << ", " << y;
        EXPECT_FALSE(near(shot.at(x + outX, y + outY), frame, 8)) << "beyond corner " << x << ", " << y;
        EXPECT_FALSE(near(shot.at(x - 2 * outX, y - 2 * outY), frame, 8)) << "within corner " << x << ", " << y;
    }
    EXPECT_EQ(quitWithEscape(x_, *child_), 0) << child_->stderrText();
}

} // namespace
