#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ImageViewer.h"
#include "TextFactory.h"

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
}

TEST(ImageViewer, ClientAreaIsThePictureSize) {
    QTemporaryDir dir;
    const QString path = dir.filePath("formula_NA.bmp");
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(path, "BMP"));

    TImageView viewer(nullptr, path);
    EXPECT_EQ(viewer.size(), QSize(300, 200));

    TImageView empty; // as created at start-up
    EXPECT_FALSE(empty.LoadPicture(dir.filePath("missing.bmp")));
}
