#pragma once
// A tool window showing one picture at its natural size.

#include <QWidget>

class QLabel;

class TImageView : public QWidget {
    Q_OBJECT
public:
    // img_path may be empty: the window then starts without a picture.
    explicit TImageView(QWidget* AOwner = nullptr, const QString& img_path = QString());
    // False when the file is not a readable picture; the window then keeps its picture.
    bool LoadPicture(const QString& img_path);

    QLabel* Image1 = nullptr;
};
