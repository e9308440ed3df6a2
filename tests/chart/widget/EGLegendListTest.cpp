// The legend list bound to a graph: its rows, the visibility boxes, and the binding between the
// two, driven through the list's viewport like a user would.

#include "ZoreRuzez.h"
#include "ZoreRuzezLegend.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

struct Bound {
    TZoreRuzez graph;
    TEGLegendList list;
    int changes = 0, clicks = 0;

    Bound() {
        TPoints& f = graph.Series().Add();
        f.SetFunc("sin(X)");
        f.SetColor(0x00FF00);
        TPoints& p = graph.Series().Add();
        p.Add(1, 2);
        TPoints& named = graph.Series().Add();
        named.SetCaption("Observed");
        named.SetColor(0xFF0000);
        named.SetVisible(false);
        list.resize(200, 100);
        list.SetZoreRuzez(&graph);
        list.show();
        list.doItemsLayout();
        list.OnChange = [this](TEGLegendList&) { ++changes; };
        list.OnClick = [this](TEGLegendList&) { ++clicks; };
    }

    QPoint BoxOf(int row) { return list.CheckSquare(list.visualItemRect(list.item(row))).center(); }
    QPoint TextOf(int row) { return list.visualItemRect(list.item(row)).center() + QPoint(60, 0); }
    void Click(QPoint at) { QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at); }
};

} // namespace

TEST(EGLegendList, OnlyTheBoxTogglesVisibilityAndEveryPressSelects) {
    Bound b;
    struct Step {
        bool box;
        int row;
        bool visibleAfter;
    } steps[] = {{true, 0, false}, {true, 0, true}, {true, 2, true}, {false, 1, true}, {false, 2, true}};
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.row) + (s.box ? " box" : " text"));
        b.Click(s.box ? b.BoxOf(s.row) : b.TextOf(s.row));
        EXPECT_EQ(b.graph.Series().Series(s.row).Visible(), s.visibleAfter);
        EXPECT_EQ((b.list.RowWord(s.row) & TEGLegendList::kVisibleBit) != 0, s.visibleAfter);
        EXPECT_EQ(b.list.ItemIndex(), s.row);
    }
    EXPECT_GE(b.clicks, 5);

    b.list.SetCheckBoxes(false);
    b.Click(b.BoxOf(0));
    EXPECT_TRUE(b.graph.Series().Series(0).Visible()) << "no boxes, no toggling";
    EXPECT_EQ(b.list.ItemIndex(), 0);
}

TEST(EGLegendList, TheBoxIsCrossedExactlyWhileItsSeriesShows) {
    Bound b;
    // Dark pixels inside a row's box, its frame left out.
    const auto ink = [&](int row) {
        const QImage picture = b.list.viewport()->grab().toImage();
        const QRect inside =
            b.list.CheckSquare(b.list.visualItemRect(b.list.item(row))).adjusted(1, 1, -1, -1);
        int dark = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                dark += qGray(picture.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(ink(0), 0);
    EXPECT_EQ(ink(2), 0) << "hidden series";
    b.Click(b.BoxOf(0));
    b.Click(b.BoxOf(2));
    EXPECT_EQ(ink(0), 0);
    EXPECT_GT(ink(2), 0);
}

TEST(EGLegendList, OneListPerGraphAndNeitherOutlivesTheOtherUnsafely) {
    Bound b;
    {
        TEGLegendList second;
        second.SetZoreRuzez(&b.graph);
        EXPECT_EQ(second.count(), 3);
        EXPECT_EQ(b.list.count(), 0) << "the first list is emptied at once";
        EXPECT_EQ(b.graph.Legend(), &second);
    }
    EXPECT_EQ(b.graph.Legend(), nullptr);
    b.graph.Series().Add(); // no list to tell

    auto graph = std::make_unique<TZoreRuzez>();
    graph->Series().Add().SetCaption("a");
    b.list.SetZoreRuzez(graph.get());
    EXPECT_EQ(b.list.count(), 1);
    b.changes = 0;
    graph.reset();
    EXPECT_EQ(b.list.ZoreRuzez(), nullptr);
    EXPECT_EQ(b.list.count(), 0);
    EXPECT_EQ(b.changes, 0) << "no events while the graph is destroyed";
    b.Click(QPoint(8, 8));
    b.list.SetZoreRuzez(&b.graph);
    b.list.SetZoreRuzez(nullptr);
    EXPECT_EQ(b.graph.Legend(), nullptr);
}

TEST(EGLegendList, RebuildsKeepTheUsersPickOnlyWhileTheRowCountStays) {
    Bound b;
    int pickedOnClick = -2;
    b.list.OnClick = [&](TEGLegendList& l) {
        pickedOnClick = l.ItemIndex();
        ++b.clicks;
    };
    // Focus alone selects nothing, across a rebuild either.
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&b.list, &focus);
    b.graph.Series().Series(0).SetColor(0x123456);
    EXPECT_EQ(b.list.ItemIndex(), -1);
    EXPECT_EQ(pickedOnClick, -1);
    EXPECT_TRUE(b.list.selectedItems().isEmpty());
    EXPECT_EQ(b.list.RowWord(0) & TEGLegendList::kColorMask, 0x123456u);

    b.Click(b.TextOf(1));
    b.clicks = b.changes = 0;
    b.graph.Series().Series(0).SetColor(0x654321);
    EXPECT_EQ(std::tuple(b.list.ItemIndex(), pickedOnClick, b.clicks, b.changes), std::tuple(1, 1, 1, 1));
    b.graph.Series().BeginUpdate();
    b.graph.Series().Add().SetCaption("new");
    b.graph.Series().EndUpdate();
    EXPECT_EQ(std::tuple(b.list.count(), b.list.ItemIndex(), b.clicks, b.changes), std::tuple(4, -1, 1, 2));
}
