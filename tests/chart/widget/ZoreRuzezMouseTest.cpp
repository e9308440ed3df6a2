// The graph driven by the mouse: click zoom (its limits are in ZoreRuzezMappingTest), panning, the rubber
// band, the hint gesture, the zoom animation and the picture export. The bare graph's plot is the whole
// control, 201 x 201 pixels over -10..10 in both directions: one pixel is 0.1.

#include "GraphTestSupport.h"
#include "ZoreRuzezHint.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// Shown, so that the mouse reaches it.
void MakeShown(TZoreRuzez& g, int zoomTime = 0) {
    MakeBare(g, 201, 201);
    g.SetZoomTime(zoomTime);
    g.show();
    g.Picture();
}

void Drag(QWidget& w, Qt::MouseButton b, QPoint from, const std::vector<QPoint>& moves) {
    QTest::mousePress(&w, b, Qt::NoModifier, from);
    for (const QPoint& p : moves)
        QTest::mouseMove(&w, p);
    QTest::mouseRelease(&w, b, Qt::NoModifier, moves.empty() ? from : moves.back());
}

} // namespace

TEST(ZoreRuzezMouse, ClicksZoomAboutTheCentreAndDragsPan) {
    struct Case {
        const char* name;
        Qt::MouseButton button;
        QPoint from;
        std::vector<QPoint> moves;
        TRect2D want;
    } cases[] = {
        {"left click zooms in", Qt::LeftButton, {30, 170}, {}, {-5, -5, 5, 5}},
        {"right click zooms out", Qt::RightButton, {30, 170}, {}, {-20, -20, 20, 20}},
        {"two moves zoom out", Qt::RightButton, {100, 100}, {{101, 100}, {102, 100}}, {-20, -20, 20, 20}},
        // The third move pans by the whole distance from the press point; no zoom-out follows.
        {"drag pans", Qt::RightButton, {100, 100}, {{101, 100}, {105, 97}, {130, 90}}, {-13, -11, 7, 9}},
        {"rubber band", Qt::LeftButton, {50, 150}, {{80, 120}, {150, 50}}, {-5, -5, 5, 5}},
        {"band clamped to the plot", Qt::LeftButton, {100, 100}, {{400, -50}}, {0, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZoreRuzez g;
        MakeShown(g);
        int visChanges = 0;
        g.OnVisChange = [&](TZoreRuzez&) { ++visChanges; };
        Drag(g, c.button, c.from, c.moves);
        ExpectRect(g.VisRect(), c.want);
        EXPECT_EQ(visChanges, 1);
    }
}

TEST(ZoreRuzezMouse, PressesOutsideThePlotAndOtherButtonsDoNothing) {
    TZoreRuzez g;
    MakeShown(g);
    QTest::mouseClick(&g, Qt::LeftButton, Qt::NoModifier, {230, 100});
    QTest::mouseClick(&g, Qt::MiddleButton, Qt::NoModifier, {100, 100});
    g.SetMousePan(TMouseAction::maNone);
    g.SetMouseZoom(TMouseAction::maNone);
    QTest::mouseClick(&g, Qt::LeftButton, Qt::NoModifier, {100, 100});
    Drag(g, Qt::RightButton, {100, 100}, {{110, 100}, {120, 100}, {130, 100}});
    ExpectRect(g.VisRect(), {-10, -10, 10, 10});
}

TEST(ZoreRuzezMouse, RubberBandIsDrawnOverThePictureAndGoesAway) {
    TZoreRuzez g;
    MakeShown(g);
    QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, {40, 60});
    QTest::mouseMove(&g, {90, 20});
    QImage shown = g.grab().toImage();
    for (const QPoint p :
         {QPoint(40, 60), QPoint(90, 20), QPoint(40, 20), QPoint(90, 60), QPoint(65, 20), QPoint(40, 40)})
        EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, 0x000000u) << p.x() << "," << p.y();
    EXPECT_EQ(shown.pixel(65, 40) & 0xFFFFFF, 0xFFFFFFu) << "inside stays";
    EXPECT_EQ(g.Picture().pixel(40, 60) & 0xFFFFFF, 0xFFFFFFu) << "the cached picture is untouched";
    // A release with the right button ends the band without zooming.
    QTest::mouseRelease(&g, Qt::RightButton, Qt::NoModifier, {90, 20});
    ExpectRect(g.VisRect(), {-10, -10, 10, 10});
    shown = g.grab().toImage();
    EXPECT_EQ(shown.pixel(40, 60) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(ZoreRuzezMouse, HintNamesTheFirstVisibleSeriesUnderTheMouse) {
    TZoreRuzez g;
    MakeShown(g);
    TPoints& hidden = g.Series().Add();
    hidden.SetFunc("X");
    hidden.SetCaption("hidden");
    hidden.SetVisible(false);
    TPoints& line = g.Series().Add();
    line.SetFunc("X");
    line.SetColor(0x00C000);
    TPoints& steps = g.Series().Add();
    steps.SetCaption("Steps");
    for (auto [x, y] : {std::pair{-10.0L, -5.0L}, {1.0L, -5.0L}, {1.05L, 5.0L}, {10.0L, 5.0L}})
        steps.Add(x, y);
    TPoints& lone = g.Series().Add();
    lone.SetCaption("lone");
    lone.Add(-6, 6);
    g.Picture();

    struct Case {
        QPoint at;
        std::string name, x, y; // "-" names no series
    } cases[] = {
        {{120, 80}, "X", "2.0000", "2.0000"},
        {{121, 82}, "X", "2.1000", "1.8000"},      // within the few pixels around the line
        {{110, 100}, "Steps", "1.0000", "0.0000"}, // on the vertical jump
        {{160, 50}, "Steps", "6.0000", "5.0000"},
        {{40, 40}, "-", "-6.0000", "6.0000"}, // the lone point is never found
        {{150, 100}, "-", "5.0000", "0.0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " at " + std::to_string(c.at.x()) + "," + std::to_string(c.at.y()));
        QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, c.at);
        const TEGHintForm& hint = g.HintForm();
        EXPECT_TRUE(hint.isVisible());
        EXPECT_EQ(hint.DisplaySeries() ? hint.Function() : "-", c.name);
        EXPECT_EQ(hint.XText(), c.x);
        EXPECT_EQ(hint.YText(), c.y);
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, c.at);
        EXPECT_FALSE(hint.isVisible());
        ExpectRect(g.VisRect(), {-10, -10, 10, 10});
    }
}

TEST(ZoreRuzezMouse, HintFollowsTheMouseAndHidesOutsideThePlot) {
    TZoreRuzez g;
    MakeShown(g);
    g.SetOnXLabeling([](TZoreRuzez&, long double v, std::string& s) { s = v < 0 ? "west" : "east"; });
    QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, {50, 100});
    const TEGHintForm& hint = g.HintForm();
    EXPECT_EQ(hint.XText(), "west");
    QTest::mouseMove(&g, {150, 100});
    EXPECT_EQ(hint.XText(), "east");
    QTest::mouseMove(&g, {300, 100});
    EXPECT_FALSE(hint.isVisible());
    QTest::mouseMove(&g, {20, 100});
    EXPECT_FALSE(hint.isVisible()) << "hidden for the rest of the gesture";
    EXPECT_EQ(hint.XText(), "west") << "its content still follows";
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, {20, 100});
    // The gesture is over: a plain left click zooms again.
    QTest::mouseClick(&g, Qt::LeftButton, Qt::NoModifier, {100, 100});
    ExpectRect(g.VisRect(), {-5, -5, 5, 5});
}

TEST(ZoreRuzezMouse, AnimationEndsExactlyOnTheTargetAndBlocksPresses) {
    TZoreRuzez g;
    MakeShown(g, 200);
    const TRect2D s = Rect2D(-10.3L, -7.1L, 9.7L, 12.9L);
    g.SetVisRect(s);
    std::vector<TRect2D> frames;
    g.OnVisChange = [&](TZoreRuzez& z) { frames.push_back(z.VisRect()); };
    QTest::mouseClick(&g, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_TRUE(g.Zooming());
    QTest::mouseClick(&g, Qt::RightButton, Qt::NoModifier, {10, 10}); // ignored meanwhile
    EXPECT_TRUE(QTest::qWaitFor([&] { return !g.Zooming(); }, 5000));
    const long double w = s.X2 - s.X1, h = s.Y2 - s.Y1;
    const TRect2D& v = g.VisRect();
    EXPECT_TRUE(v.X1 == s.X1 + w / 4 && v.X2 == s.X2 - w / 4 && v.Y1 == s.Y1 + h / 4 && v.Y2 == s.Y2 - h / 4);
    ASSERT_FALSE(frames.empty());
    for (size_t i = 1; i < frames.size(); ++i)
        EXPECT_GE(frames[i].X1, frames[i - 1].X1);
}

TEST(ZoreRuzezMouse, DestroyingTheGraphDuringAnAnimationIsSafe) {
    auto g = std::make_unique<TZoreRuzez>();
    MakeShown(*g, 2000);
    QTest::mouseClick(g.get(), Qt::RightButton, Qt::NoModifier, {100, 100});
    QTest::qWait(30);
    ASSERT_TRUE(g->Zooming());
    g.reset();
    QTest::qWait(250);
}

TEST(ZoreRuzezExport, SavedBitmapReadsBackAtTheGraphSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TZoreRuzez g;
    g.resize(173, 91);
    g.SetColorBg(0x0000FF);
    const QString path = dir.filePath("graph.png");
    g.SaveAsBmp(path.toStdString());
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "bmp"); // whatever the name says
    const QImage back = reader.read();
    EXPECT_EQ(back.size(), QSize(173, 91));
    EXPECT_EQ(back.pixel(1, 1) & 0xFFFFFF, ColorToRGB(0x0000FF) & 0xFFFFFF);
    EXPECT_THROW(g.SaveAsBmp(dir.filePath("no/such/folder/g.bmp").toStdString()), std::runtime_error);
}

TEST(ZoreRuzezExport, ClipboardGetsThePictureEvenBeforeAnyRender) {
    TZoreRuzez g;
    g.resize(120, 70);
    g.CopyToClipboard();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(120, 70));
}
