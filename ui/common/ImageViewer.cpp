#include "ImageViewer.h"

#include <QLabel>
#include <QPixmap>

TImageView::TImageView(QWidget* AOwner, const QString& img_path) : QWidget(AOwner, Qt::Tool) {
    setWindowTitle(QStringLiteral("Image Viewer"));
    Image1 = new QLabel(this);
    Image1->move(0, 0);
    if (!img_path.isEmpty()) LoadPicture(img_path);
}

bool TImageView::LoadPicture(const QString& img_path) {
    QPixmap picture;
    if (!picture.load(img_path)) return false;
    Image1->setPixmap(picture);
    Image1->resize(picture.size());
    setFixedSize(picture.size());
    return true;
}
