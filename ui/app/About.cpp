#include "About.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "UtilStuff.h"

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("About"));

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto* icon = new QLabel(panel);
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    ProductName = new QLabel(QStringLiteral("Orvex ") + QString::fromStdString(ApplicationVersion()), panel);
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    ProductName->setFont(big);
    Version = new QLabel(QStringLiteral("Orvex, plant phenology modelling"), panel);
    Comments = new QLabel(QStringLiteral("Designs, fits and runs phenology models that predict the day of "
                                         "the year on which a plant reaches a stage from daily temperatures "
                                         "and day length."),
                          panel);
    Comments->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addSpacing(8);
    texts->addWidget(Comments);
    texts->addStretch();
    auto* row = new QHBoxLayout(panel);
    row->addWidget(icon);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}
