// MakeReticleStruct and the spans of the reticle lines.
#include <gtest/gtest.h>

#include "lumgl/lumgl.h"

namespace {

SPlotInfo Frame() {
    SPlotInfo info;
    info.origin = {80, 445};
    info.bottomRight = {624, 445};
    info.topLeft = {80, 16};
    info.topRight = {624, 16};
    return info;
}

TEST(MakeReticleStruct, SizesForTheScreenTerminatesBothListsAndReleases) {
    ReticleBuffers b;
    MakeReticleStruct(b, true, 1920, 1080);
    ASSERT_TRUE(b.allocated());
    EXPECT_EQ(b.horizontalPositions.size(), 1920u);
    EXPECT_EQ(b.horizontalColors.size(), 1920u);
    EXPECT_EQ(b.verticalPositions.size(), 1080u);
    EXPECT_EQ(b.verticalColors.size(), 1080u);
    EXPECT_EQ(b.horizontalPositions[0].x, ReticleBuffers::kEnd);
    EXPECT_EQ(b.verticalPositions[0].y, ReticleBuffers::kEnd);
    MakeReticleStruct(b, false, 0, 0);
    EXPECT_FALSE(b.allocated());
    EXPECT_TRUE(b.horizontalColors.empty() && b.verticalPositions.empty() && b.verticalColors.empty());
    // A tiny screen still holds a terminator.
    MakeReticleStruct(b, true, 0, -5);
    EXPECT_EQ(b.horizontalCapacity(), 1u);
    EXPECT_EQ(b.verticalCapacity(), 1u);
    EXPECT_TRUE(lumgl::HorizontalReticleSpan(Frame(), b, {300, 200}).empty());
}

TEST(ReticleSpan, WholeFrameWhenThePointIsInside) {
    ReticleBuffers b;
    MakeReticleStruct(b, true, 1920, 1080);
    const SPlotInfo info = Frame();
    EXPECT_EQ(lumgl::HorizontalReticleSpan(info, b, {300, 200}), (lumgl::ReticleSpan{80, 624}));
    EXPECT_EQ(lumgl::VerticalReticleSpan(info, b, {300, 200}), (lumgl::ReticleSpan{16, 445}));
    EXPECT_EQ(lumgl::HorizontalReticleSpan(info, b, {300, 200}).count(), 545);
    // The frame's edges count as inside.
    EXPECT_FALSE(lumgl::HorizontalReticleSpan(info, b, {0, 16}).empty());
    EXPECT_FALSE(lumgl::HorizontalReticleSpan(info, b, {0, 445}).empty());
    EXPECT_FALSE(lumgl::VerticalReticleSpan(info, b, {80, 0}).empty());
    EXPECT_FALSE(lumgl::VerticalReticleSpan(info, b, {624, 0}).empty());
}

TEST(ReticleSpan, NoLineOutsideTheFrame) {
    ReticleBuffers b;
    MakeReticleStruct(b, true, 1920, 1080);
    const SPlotInfo info = Frame();
    EXPECT_TRUE(lumgl::HorizontalReticleSpan(info, b, {300, 15}).empty());
    EXPECT_TRUE(lumgl::HorizontalReticleSpan(info, b, {300, 446}).empty());
    EXPECT_TRUE(lumgl::VerticalReticleSpan(info, b, {79, 200}).empty());
    EXPECT_TRUE(lumgl::VerticalReticleSpan(info, b, {625, 200}).empty());
    // but the other line still is
    EXPECT_FALSE(lumgl::VerticalReticleSpan(info, b, {300, 15}).empty());
}

TEST(ReticleSpan, FrameLargerThanTheScreenIsCutToTheBuffers) {
    // A 400 x 300 screen holds 399 and 299 pixels plus the
    // terminators; the lines keep their first pixels from origin.x and topLeft.y.
    ReticleBuffers b;
    MakeReticleStruct(b, true, 400, 300);
    const SPlotInfo info = Frame();
    const lumgl::ReticleSpan h = lumgl::HorizontalReticleSpan(info, b, {300, 200});
    const lumgl::ReticleSpan v = lumgl::VerticalReticleSpan(info, b, {300, 200});
    EXPECT_EQ(h, (lumgl::ReticleSpan{80, 478}));
    EXPECT_EQ(v, (lumgl::ReticleSpan{16, 314}));
    EXPECT_EQ(static_cast<std::size_t>(h.count()) + 1, b.horizontalCapacity());
    EXPECT_EQ(static_cast<std::size_t>(v.count()) + 1, b.verticalCapacity());
}

TEST(ReticleSpan, FrameThatFitsExactlyIsNotCut) {
    ReticleBuffers b;
    MakeReticleStruct(b, true, 546, 431);  // 545 and 430 pixels plus terminators
    const SPlotInfo info = Frame();
    EXPECT_EQ(lumgl::HorizontalReticleSpan(info, b, {300, 200}), (lumgl::ReticleSpan{80, 624}));
    EXPECT_EQ(lumgl::VerticalReticleSpan(info, b, {300, 200}), (lumgl::ReticleSpan{16, 445}));
}

TEST(ReticleSpan, NotAllocatedGivesNothing) {
    const ReticleBuffers b;
    EXPECT_TRUE(lumgl::HorizontalReticleSpan(Frame(), b, {300, 200}).empty());
    EXPECT_TRUE(lumgl::VerticalReticleSpan(Frame(), b, {300, 200}).empty());
}

}  // namespace
