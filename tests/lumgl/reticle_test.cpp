// MakeReticleStruct and the spans of the reticle lines.
#include "Support.h"

using namespace lumgl;

SPlotInfo Frame() {
    SPlotInfo info;
    spectra::SetFrame(info, 80, 445, 624, 16);
    return info;
}

ReticleBuffers Buffers(int width, int height) {
    ReticleBuffers b;
    MakeReticleStruct(b, true, width, height);
    return b;
}

TEST(MakeReticleStruct, SizesForTheScreenTerminatesBothListsAndReleases) {
    ReticleBuffers b = Buffers(1920, 1080);
    ASSERT_TRUE(b.allocated());
    EXPECT_EQ(b.horizontalColors.size() + b.verticalColors.size(), 1920u + 1080u);
    EXPECT_EQ(b.horizontalPositions[0].x, ReticleBuffers::kEnd);
    EXPECT_EQ(b.verticalPositions[0].y, ReticleBuffers::kEnd);
    MakeReticleStruct(b, false, 0, 0);
    EXPECT_FALSE(b.allocated());
    EXPECT_TRUE(b.horizontalColors.empty() && b.verticalPositions.empty());
    // Not allocated: no lines. A tiny screen still holds a terminator, and no pixel of a line.
    EXPECT_TRUE(HorizontalReticleSpan(Frame(), b, {300, 200}).empty());
    EXPECT_TRUE(VerticalReticleSpan(Frame(), b, {300, 200}).empty());
    b = Buffers(0, -5);
    EXPECT_EQ(b.horizontalCapacity() + b.verticalCapacity(), 2u);
    EXPECT_TRUE(HorizontalReticleSpan(Frame(), b, {300, 200}).empty());
}

TEST(ReticleSpan, WholeFrameInsideNothingOutsideCutToTheBuffers) {
    ReticleBuffers b = Buffers(1920, 1080);
    const SPlotInfo info = Frame();
    EXPECT_EQ(HorizontalReticleSpan(info, b, {300, 200}), (ReticleSpan{80, 624}));
    EXPECT_EQ(VerticalReticleSpan(info, b, {300, 200}), (ReticleSpan{16, 445}));
    EXPECT_EQ(HorizontalReticleSpan(info, b, {300, 200}).count(), 545);
    // The frame's edges count as inside; one pixel beyond, that line goes, the other stays.
    for (int y : {16, 445}) EXPECT_FALSE(HorizontalReticleSpan(info, b, {0, y}).empty()) << y;
    for (int x : {80, 624}) EXPECT_FALSE(VerticalReticleSpan(info, b, {x, 0}).empty()) << x;
    for (int y : {15, 446}) EXPECT_TRUE(HorizontalReticleSpan(info, b, {300, y}).empty()) << y;
    for (int x : {79, 625}) EXPECT_TRUE(VerticalReticleSpan(info, b, {x, 200}).empty()) << x;
    EXPECT_FALSE(VerticalReticleSpan(info, b, {300, 15}).empty());
    // A 400 x 300 screen holds 399 and 299 pixels plus the terminators; the lines keep their
    // first pixels from origin.x and topLeft.y. 546 x 431 holds the frame exactly.
    b = Buffers(400, 300);
    EXPECT_EQ(HorizontalReticleSpan(info, b, {300, 200}), (ReticleSpan{80, 478}));
    EXPECT_EQ(VerticalReticleSpan(info, b, {300, 200}), (ReticleSpan{16, 314}));
    EXPECT_EQ(b.horizontalCapacity() + b.verticalCapacity(), 400u + 300u);
    b = Buffers(546, 431);
    EXPECT_EQ(HorizontalReticleSpan(info, b, {300, 200}), (ReticleSpan{80, 624}));
    EXPECT_EQ(VerticalReticleSpan(info, b, {300, 200}), (ReticleSpan{16, 445}));
}
