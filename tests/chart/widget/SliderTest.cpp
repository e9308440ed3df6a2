// The slider: clamping with its events, thumb placement, dragging from the press point in both
// orientations, and the guards for an empty range or a track no longer than the thumb.

#include "Slider.h"

#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace {

void Horizontal(TSlider& s, int width = 250) {
    s.SetOrientation(TSliderOrientation::slHoriz);
    s.resize(width, 50);
    s.SetThumbHeight(8);
    s.show();
}

void Drag(TSlider& s, QPoint from, std::initializer_list<QPoint> moves) {
    QTest::mousePress(&s, Qt::LeftButton, Qt::NoModifier, from);
    for (const QPoint& p : moves)
        QTest::mouseMove(&s, p);
    QTest::mouseRelease(&s, Qt::LeftButton, Qt::NoModifier, moves.size() ? *(moves.end() - 1) : from);
}

} // namespace

TEST(Slider, ValueClampsAndFiresOnlyOnChange) {
    TSlider s;
    int events = 0;
    s.OnValueChange = [&](TSlider&) { ++events; };
    struct Step {
        int set, want, eventsAfter;
    } steps[] = {{150, 100, 1}, {100, 100, 1}, {-5, 0, 2}, {42, 42, 3}};
    for (const Step& st : steps) {
        s.SetValue(st.set);
        EXPECT_EQ(s.Value(), st.want);
        EXPECT_EQ(events, st.eventsAfter);
    }
    s.SetValue(10);
    s.SetMin(30);
    EXPECT_EQ(s.Value(), 30);
    s.SetMin(0);
    s.SetValue(50);
    s.SetMax(20);
    EXPECT_EQ(s.Value(), 20);
    EXPECT_EQ(events, 7);
}

TEST(Slider, HorizontalThumbAndDragFromThePressPoint) {
    TSlider s;
    Horizontal(s);
    s.SetValue(50);
    EXPECT_EQ(s.ThumbRect(), QRect(121, 0, 8, 50));
    struct Case {
        std::initializer_list<QPoint> moves;
        int want;
    } cases[] = {
        {{}, 0}, {{{125, 25}}, 50}, {{{60, 25}, {125, 30}}, 50}, {{{400, 25}}, 100}, {{{-300, 25}}, 0}};
    for (const Case& c : cases) {
        s.SetValue(0);
        Drag(s, {4, 25}, c.moves);
        EXPECT_EQ(s.Value(), c.want);
    }
    // Pressing beside the thumb neither jumps nor drags.
    Drag(s, {200, 25}, {{240, 25}});
    EXPECT_EQ(s.Value(), 0);
}

TEST(Slider, VerticalHasItsMinimumAtTheBottomAndGrowsUpwards) {
    TSlider s; // vertical, 50 x 200, thumb 20
    s.show();
    EXPECT_EQ(s.ThumbRect(), QRect(0, 180, 50, 20));
    const QImage before = s.grab().toImage();
    EXPECT_EQ(before.pixel(49, 179), before.pixel(49, 170)) << "nothing drawn above the thumb";
    Drag(s, {25, 190}, {{25, 100}});
    EXPECT_EQ(s.ThumbRect(), QRect(0, 90, 50, 20));
    Drag(s, {25, 100}, {{25, 150}});
    EXPECT_EQ(s.Value(), 23);
}

TEST(Slider, EmptyRangeAndShortTrackStayPut) {
    // An empty range, then a track no longer than the thumb: painting divides by neither.
    for (const auto& [width, max, value] : {std::tuple{250, 0, 0}, {6, 100, 70}}) {
        TSlider s;
        Horizontal(s, width);
        s.SetMax(max);
        s.SetValue(value);
        EXPECT_EQ(s.ThumbRect().left(), 0);
        Drag(s, {3, 25}, {{200, 25}});
        EXPECT_EQ(s.Value(), value);
        s.grab();
    }
}

TEST(Slider, DisabledThumbIsGrey) {
    TSlider s;
    Horizontal(s);
    s.SetThumbColor(0x0000FF);
    EXPECT_EQ(s.grab().toImage().pixel(4, 25) & 0xFFFFFF, 0xFF0000u) << "red thumb";
    s.setEnabled(false);
    EXPECT_EQ(s.grab().toImage().pixel(4, 25) & 0xFFFFFF, 0x808080u);
}
