#include "ui/app/infodialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/mainwindow.h"

namespace plumet::ui {

InfoDialog::InfoDialog(QWidget* parent) : DialogBase("frmInfo", parent) {
    auto* layout = new QHBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setProperty(kNoCaptionProperty, true);
    picture->setPixmap(QPixmap(":/data/logo.png").scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setMinimumSize(96, 96);
    layout->addWidget(picture, 0, Qt::AlignTop);

    auto* lines = new QVBoxLayout;
    layout->addLayout(lines);
    const QString texts[] = {MainWindow::Title(), "26.04.2019", "ZK-ORT " PLUMET_VERSION, "", "Plumet club software desk",
                             "Support for club officials", "Telephone: +49 (0)30 0000 0000", "E-mail: support@plumet.invalid",
                             "Office hours: Monday to Friday, 9:00 to 17:00"};
    int n = 1;
    for (const QString& text : texts) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString("lblInfo%1").arg(n++));
        label->setProperty(kNoCaptionProperty, true);
        label->setTextFormat(Qt::PlainText);
        lines->addWidget(label);
    }
    auto* close = new QPushButton("OK", this);
    close->setObjectName("Command1");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    lines->addWidget(close, 0, Qt::AlignRight);
    Load();
}

} // namespace plumet::ui
