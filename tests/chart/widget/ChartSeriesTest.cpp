#include "ChartSeries.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(ChartSeries, PointsStaySortedAndEqualXReplacesY) {
    TPoints p;
    p.Add(3, 30);
    p.Add(1, 10);
    p.Add(2, 20);
    p.Add(2, 22);
    p.Add(0.5L, 5);
    ASSERT_EQ(p.Count(), 4);
    const long double xs[] = {0.5L, 1, 2, 3}, ys[] = {5, 10, 22, 30};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::pair(p.Points(i).X, p.Points(i).Y), std::pair(xs[i], ys[i]));
}

TEST(ChartSeries, BadIndexesRaise) {
    TPoints p;
    p.Add(1, 1);
    TSeries s;
    s.Add();
    EXPECT_THROW(p.Points(1), std::out_of_range);
    EXPECT_THROW(p.Delete(1), std::out_of_range);
    EXPECT_THROW(s.Series(-1), std::out_of_range);
    EXPECT_THROW(s.Delete(1), std::out_of_range);
    EXPECT_EQ(std::pair(p.Count(), s.Count()), std::pair(1, 1));
}

TEST(ChartSeries, SettersNotifyAsDocumented) {
    TSeries s;
    int fired = 0;
    s.OnChange = [&](TSeries&) { ++fired; };
    TPoints& p = s.Add();
    EXPECT_EQ(fired, 1);
    struct Case {
        const char* what;
        std::function<void()> act;
        int expected;
    };
    // clang-format off
    const Case cases[] = {
        {"same colour", [&] { p.SetColor(255); }, 0}, {"new colour", [&] { p.SetColor(0xFF00); }, 1},
        {"same caption", [&] { p.SetCaption(""); }, 0}, {"same visible", [&] { p.SetVisible(true); }, 0},
        {"same draw style", [&] { p.SetDrawStyle(TDrawStyle::dsLines); }, 0},
        {"same domain start", [&] { p.SetFuncDomX1(p.FuncDomX1()); }, 1},
        {"same symbol", [&] { p.SetPointSymbol(0); }, 1}, {"same func", [&] { p.SetFunc(""); }, 1},
        {"alloc by", [&] { p.SetAllocBy(5); }, 0}, {"add point", [&] { p.Add(1, 1); }, 1},
        {"clear points", [&] { p.Clear(); }, 1}};
    // clang-format on
    for (const Case& c : cases) {
        fired = 0;
        c.act();
        EXPECT_EQ(fired, c.expected) << c.what;
    }
}

TEST(ChartSeries, UpdatesAreBatchedAndNestedOnesKeepAPendingChange) {
    TSeries s;
    int fired = 0;
    s.OnChange = [&](TSeries&) { ++fired; };
    s.BeginUpdate();
    for (int i = 0; i < 5; ++i)
        s.Add().Add(i, i);
    EXPECT_EQ(fired, 0);
    s.EndUpdate();
    EXPECT_EQ(fired, 1);

    fired = 0;
    s.BeginUpdate();
    s.EndUpdate();
    EXPECT_EQ(fired, 0) << "no change, no notice";

    fired = 0;
    s.BeginUpdate();
    s.Series(0).SetColor(1);
    s.BeginUpdate(); // nested: must not forget the change above
    s.EndUpdate();
    EXPECT_EQ(fired, 0);
    s.EndUpdate();
    EXPECT_EQ(fired, 1);

    fired = 0;
    s.EndUpdate(); // unmatched: the counter stays at 0
    s.Delete(0);
    EXPECT_EQ(fired, 1);
}
