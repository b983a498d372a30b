#include <gtest/gtest.h>

#include "common/centre_window.h"
#include "common/dialog_layout.h"
#include "test_support.h"

namespace {

const Rect kWorkArea{0, 0, 1280, 984};

} // namespace

TEST(CentredPosition, CentresOnTheOwnerOrTheWorkAreaAndStaysInside) {
    struct Case {
        const char* what;
        Rect dialog;
        std::optional<Rect> owner;
        Rect workArea;
        Point expected;
    };
    const Case cases[] = {
        {"on the work area", {0, 0, 389, 261}, std::nullopt, kWorkArea, {446, 362}},
        {"on the owner", {0, 0, 100, 50}, Rect{200, 100, 401, 301}, kWorkArea, {250, 175}},
        {"odd sums truncate toward zero", {0, 0, 11, 11}, Rect{-101, -51, 0, 0}, {-200, -200, 200, 200}, {-55, -30}},
        {"pushed back from the right and bottom edges", {0, 0, 300, 200}, Rect{1100, 900, 1280, 984}, kWorkArea,
         {980, 784}},
        {"larger than the work area: its top-left corner", {0, 0, 1400, 1100}, std::nullopt, {10, 20, 1280, 984},
         {10, 20}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(centredPosition(c.dialog, c.owner, c.workArea), c.expected) << c.what;
    }
}

TEST(DialogLayout, ControlsFollowTheEdgesTheirFlagsName) {
    DialogLayout layout;
    layout.start({400, 300}, {410, 330});
    const Rect initial{10, 20, 110, 70};
    // The control was meanwhile moved elsewhere: edges no flag touches stay there.
    const Rect current{15, 25, 105, 65};
    struct Case {
        unsigned flags;
        Rect expected; // for a client area grown by 50 x 30
    };
    const Case cases[] = {
        {0, current},
        {kAnchorSizeX, {15, 25, 160, 65}},
        {kAnchorSizeY, {15, 25, 105, 100}},
        {kAnchorSizeX | kAnchorSizeY, {15, 25, 160, 100}},
        {kAnchorMoveX, {60, 25, 160, 65}},
        {kAnchorMoveY, {15, 50, 105, 100}},
        {kAnchorSizeX | kAnchorMoveY | kAnchorRepaint, {15, 50, 160, 100}},
        {kAnchorMoveX | kAnchorMoveY | kAnchorSizeGrip, {60, 50, 160, 100}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layout.placed({1, c.flags, initial}, current, {450, 330}), c.expected) << c.flags;
    }
    // Back at the initial size every flagged edge returns to where it started.
    EXPECT_EQ(layout.placed({1, kAnchorMoveX | kAnchorSizeY, initial}, current, {400, 300}), (Rect{10, 25, 110, 70}));
    EXPECT_EQ(layout.minimumTrackingSize(), (Size{410, 330}));
    EXPECT_FALSE(DialogLayout().minimumTrackingSize().has_value());
}
