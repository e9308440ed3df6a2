#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "About.h"
#include "ImageViewer.h"
#include "TextFactory.h"
#include "UtilStuff.h"

TEST(TextFactory, TooltipsByKind) {
    struct Case {
        TTextFactory::TTooltipKind kind;
        const char* title;
        const char* msg;
    };
    const Case cases[] = {
        {TTextFactory::RAND_COLOR, "Colors", "Click to randomly refresh \ncolors for curves display."},
        {TTextFactory::FUNC_WEIGHT, "Define Weight",
         "Give a weight to the selected \nfunction [deafult = 1.0] \n(Used to combine with the \n"
         "previous chained block)."},
        {TTextFactory::SELECT_PARAM_XML, "Select Model",
         "Select an XML model file : \na one resulting from the \nsave of a previous fit process."},
    };
    for (const Case& c : cases) {
        const TRTooltip tip = TTextFactory::GetTooltip(c.kind);
        EXPECT_STREQ(tip.title, c.title);
        EXPECT_STREQ(tip.msg, c.msg);
    }
    for (int kind = TTextFactory::RAND_COLOR; kind <= TTextFactory::SELECT_PARAM_XML; ++kind)
        EXPECT_NE(TTextFactory::GetTooltip(static_cast<TTextFactory::TTooltipKind>(kind)).title, nullptr)
            << kind;
    const TRTooltip none = TTextFactory::GetTooltip(TTextFactory::UNKNOWN_TIP);
    EXPECT_EQ(none.title, nullptr);
    EXPECT_EQ(none.msg, nullptr);
}

TEST(TextFactory, HelpTexts) {
    EXPECT_TRUE(TTextFactory::GetHelp(TTextFactory::UNKNOWN_HLP).isEmpty());
    EXPECT_TRUE(
        TTextFactory::GetHelp(TTextFactory::GRAPH_MOUSE_CTRL).startsWith("MOUSE Controls for graph :\n"));
    const QString exportTab = TTextFactory::GetHelp(TTextFactory::EXPORT_TAB);
    EXPECT_TRUE(exportTab.contains("\r\n\t- To append the current fit to an existing file.\r\n"));
    EXPECT_TRUE(exportTab.endsWith("(as the console mode can handle several fits from a single file)"));
}

TEST(TextFactory, BalloonTipIsReadableRichText) {
    QPushButton button;
    TTextFactory::ShowBalloonTip(&button, 1, "A <b> title", "line one\nline & two", QColor(Qt::blue),
                                 QColor(0, 0, 128));
    const QString tip = button.toolTip();
    EXPECT_TRUE(tip.contains("<b>")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("A &lt;b&gt; title"));
    EXPECT_TRUE(tip.contains("line one<br>line &amp; two"));
    // Navy on pure blue is unreadable: the background is lightened, the text colour kept.
    EXPECT_FALSE(tip.contains("#0000ff"));
    EXPECT_TRUE(tip.contains("#000080"));

    TTextFactory::ShowTip(&button, TTextFactory::UNKNOWN_TIP);
    EXPECT_FALSE(button.toolTip().contains("Select Model"));
}

TEST(ImageViewer, ClientAreaIsThePictureSize) {
    QTemporaryDir dir;
    const QString path = dir.filePath("formula_NA.bmp");
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(path, "BMP"));

    TImageView viewer(nullptr, path);
    EXPECT_EQ(viewer.size(), QSize(300, 200));
    EXPECT_EQ(viewer.Image1->size(), QSize(300, 200));
    EXPECT_EQ(viewer.Image1->pos(), QPoint(0, 0));

    TImageView empty; // as created at start-up
    EXPECT_FALSE(empty.LoadPicture(dir.filePath("missing.bmp")));
}

TEST(AboutBox, NamesProgramVersionAndPurpose) {
    TAboutBox box;
    EXPECT_EQ(box.ProductName->text().toStdString(), "Orvex " + ApplicationVersion());
    EXPECT_FALSE(box.Comments->text().isEmpty());
    EXPECT_EQ(box.windowTitle(), "About");
}
