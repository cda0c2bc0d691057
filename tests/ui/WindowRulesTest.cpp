// The window's pure rules: zoom titles, the resize rule, where the image is
// drawn and where a click lands.
#include "ui/ResizeRule.h"
#include "ui/SplitDivider.h"
#include "ui/ViewGeometry.h"
#include "ui/ZoomRules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velo {
namespace {

using Titles = std::vector<std::string>;

TEST(ZoomRules, menuListsTheCurrentZoomAmongTheStandardOnes) {
    ZoomMenu menu = zoomMenuFor(333.0f, 400.0f);
    EXPECT_EQ(menu.titles,
              (Titles{"25%", "50%", "75%", "83%", "100%", "150%", "200%", "400%", "800%"}));
    EXPECT_EQ(menu.selected, "83%");

    ZoomMenu actual = zoomMenuFor(400.0f, 400.0f);
    EXPECT_EQ(actual.titles, standardZoomTitles());
    EXPECT_EQ(actual.selected, "100%");

    ZoomMenu narrow = zoomMenuFor(1.0f, 400.0f);
    EXPECT_EQ(narrow.titles.front(), "0%");
    EXPECT_EQ(narrow.selected, "0%");
}

TEST(ZoomRules, titlesCompareByTheirLeadingInteger) {
    EXPECT_EQ(compareZoomTitles("25%", "100%"), -1);
    EXPECT_EQ(compareZoomTitles("800%", "83%"), 1);
    EXPECT_EQ(compareZoomTitles("100%", "100"), 0);
}

TEST(ZoomRules, zoomFactorsFromTagsAndTitles) {
    EXPECT_EQ(zoomFromTag(50), 0.5f);
    EXPECT_EQ(zoomFromTitle("150%"), 1.5f);
    EXPECT_FALSE(zoomFromTag(0));
    EXPECT_FALSE(zoomFromTag(-25));
    EXPECT_FALSE(zoomFromTitle("nothing"));
    EXPECT_FALSE(zoomFromTag(20000000));

    ContentSize half = contentSizeForZoom(*zoomFromTag(50), 400, 300);
    EXPECT_EQ(half.width, 200.0f);
    EXPECT_EQ(half.height, 150.0f);
    ContentSize eight = contentSizeForZoom(*zoomFromTitle("800%"), 400, 300);
    EXPECT_EQ(eight.width, 3200.0f);
    EXPECT_EQ(eight.height, 2400.0f);
}

TEST(ZoomRules, zoomInAndOutStepThroughTheStandardZooms) {
    EXPECT_EQ(nextZoomUp(1.0f), 150);
    EXPECT_EQ(nextZoomUp(0.8325f), 100);
    EXPECT_EQ(nextZoomDown(0.8325f), 75);
    EXPECT_EQ(nextZoomDown(0.25f), std::nullopt);
    EXPECT_EQ(nextZoomUp(8.0f), std::nullopt);
}

ResizeState documentWindow(float ratio, bool toolbar, Size frame, Size content) {
    ResizeState state;
    state.hasDestination = true;
    state.ratio = ratio;
    state.toolbarVisible = toolbar;
    state.currentFrame = frame;
    state.currentContent = content;
    state.chrome = {frame.width - content.width, frame.height - content.height};
    return state;
}

TEST(ResizeRule, heightGovernsAndTheWidthFollowsTheImage) {
    // Toolbar hidden: any drag yields content of the image's proportions.
    ResizeState hidden = documentWindow(2.0f, false, {420, 240}, {400, 200});
    Size dragged = windowWillResize(hidden, {900, 340});
    EXPECT_DOUBLE_EQ(dragged.width - 20, 2.0 * (340 - 40));
    EXPECT_DOUBLE_EQ(dragged.height, 340);
    // Dragging only horizontally leaves a proportioned window as it is.
    Size sideways = windowWillResize(hidden, {700, 240});
    EXPECT_DOUBLE_EQ(sideways.width, 420);
    EXPECT_DOUBLE_EQ(sideways.height, 240);
}

TEST(ResizeRule, closeProportionsCarryTheWidthAlongRounded) {
    ResizeState visible = documentWindow(1.5f, true, {620.0, 440.0}, {600.0, 402.0});
    Size next = windowWillResize(visible, {100, 451});
    EXPECT_EQ(next.width, std::rintf(620.0f + 1.5f * 11.0f)); // 636.5 rounds to even
    EXPECT_EQ(next.width, 636.0);
    EXPECT_EQ(next.height, 451);
}

TEST(ResizeRule, farProportionsAreCorrectedFromTheProposedHeight) {
    ResizeState visible = documentWindow(1.5f, true, {500, 440}, {480, 400});
    Size next = windowWillResize(visible, {500, 340});
    EXPECT_DOUBLE_EQ(next.height, 340);
    EXPECT_DOUBLE_EQ(next.width, 1.5 * 300 + 20);
    // A content of no height is never close to any proportion.
    ResizeState flat = documentWindow(1.5f, true, {500, 40}, {480, 0});
    EXPECT_DOUBLE_EQ(windowWillResize(flat, {500, 140}).width, 1.5 * 100 + 20);
}

TEST(ResizeRule, otherWindowsAndDocumentsWithoutResultKeepTheProposal) {
    ResizeState state = documentWindow(1.5f, true, {500, 440}, {480, 400});
    state.isDocumentWindow = false;
    EXPECT_DOUBLE_EQ(windowWillResize(state, {123, 456}).width, 123);
    state.isDocumentWindow = true;
    state.hasDestination = false;
    EXPECT_DOUBLE_EQ(windowWillResize(state, {123, 456}).height, 456);
}

TEST(ViewGeometry, imageFitsOneAxisExactly) {
    std::optional<DrawnSize> wide = drawnImageSize(200, 100, 100, 100);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->width, 100.0f);
    EXPECT_EQ(wide->height, 50.0f);
    std::optional<DrawnSize> tall = drawnImageSize(200, 100, 50, 100);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->width, 50.0f);
    EXPECT_EQ(tall->height, 25.0f);
}

TEST(ViewGeometry, nothingIsDrawnWithoutAUsableSize) {
    EXPECT_FALSE(drawnImageSize(0, 0, 100, 100));
    EXPECT_FALSE(drawnImageSize(200, 100, 0, 100));
    EXPECT_FALSE(drawnImageSize(200, 100, 100, 0));
    // A tiny bitmap in a huge view would be drawn 100000 or wider.
    EXPECT_FALSE(drawnImageSize(1, 1, 100000, 100000));
    EXPECT_TRUE(drawnImageSize(1, 1, 99999, 99999));
}

TEST(ViewGeometry, clicksLandWhereTheImageIsDrawn) {
    // A 200 x 100 image in a 100 x 100 view is drawn 100 x 50 at the bottom.
    std::optional<BitmapViewClick> top = clickInDrawnImage(10, 50, 100, 100, 200, 100, false);
    ASSERT_TRUE(top);
    EXPECT_FLOAT_EQ(top->locationInView.x, 10.5f);
    EXPECT_FLOAT_EQ(top->locationInView.y, 49.5f);
    EXPECT_EQ(top->viewBounds.width, 100.0);
    EXPECT_EQ(top->viewBounds.height, 50.0);
    std::optional<BitmapViewClick> corner = clickInDrawnImage(99, 99, 100, 100, 200, 100, true);
    ASSERT_TRUE(corner);
    EXPECT_TRUE(corner->shiftHeld);
    EXPECT_FLOAT_EQ(corner->locationInView.y, 0.5f);
    // Above the drawn image (the empty upper half) nothing is picked.
    EXPECT_FALSE(clickInDrawnImage(10, 49, 100, 100, 200, 100, false));
    EXPECT_FALSE(clickInDrawnImage(100, 99, 100, 100, 200, 100, false));
}

// A 200 x 100 image drawn 10 from the left and 20 from the top.
constexpr DrawnArea kDrawn{10, 20, 200, 100};

TEST(SplitDivider, theLineFollowsThePointerWithinTheImageOnWholePixels) {
    EXPECT_FLOAT_EQ(dividerFractionAt(60, kDrawn), 0.25f);
    EXPECT_EQ(dividerFractionAt(-40, kDrawn), 0.0f);
    EXPECT_EQ(dividerFractionAt(900, kDrawn), 1.0f);
    EXPECT_EQ(dividerFractionAt(60, {0, 0, 0, 0}), kDividerStart);
    EXPECT_EQ(wipeX(0.5f, kDrawn), 110.0f);
    EXPECT_EQ(wipeX(0.2537f, kDrawn), 61.0f);
    EXPECT_EQ(wipeX(0.0f, kDrawn), 10.0f);
    // All of an image whose width ends within a pixel.
    EXPECT_FLOAT_EQ(wipeX(1.0f, {0, 0, 199.6f, 100}), 199.6f);
}

TEST(SplitDivider, aPressTakesHoldOfTheLineOnlyNearItAlongTheImage) {
    // The line at 110, between pixels 109 and 110.
    EXPECT_TRUE(grabsDivider(104, 60, 0.5f, kDrawn));
    EXPECT_FALSE(grabsDivider(103, 60, 0.5f, kDrawn));
    EXPECT_TRUE(grabsDivider(115, 60, 0.5f, kDrawn));
    EXPECT_FALSE(grabsDivider(116, 60, 0.5f, kDrawn));
    EXPECT_TRUE(grabsDivider(109, 20, 0.5f, kDrawn));
    EXPECT_TRUE(grabsDivider(109, 119, 0.5f, kDrawn));
    EXPECT_FALSE(grabsDivider(109, 19, 0.5f, kDrawn));
    EXPECT_FALSE(grabsDivider(109, 120, 0.5f, kDrawn));
    // At an edge of the image, from inside.
    EXPECT_TRUE(grabsDivider(205, 60, 1.0f, kDrawn));
}

} // namespace
} // namespace velo
