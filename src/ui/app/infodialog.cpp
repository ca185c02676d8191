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
    // The title, date and version are the program's own; the contact lines speak the catalogue's language.
    const QString texts[] = {MainWindow::Title(), "26.04.2019", "ZK-ORT " PLUMET_VERSION, "", "", "", "", "", ""};
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
    for (int line = 1; line <= 5; ++line)
        findChild<QLabel*>(QString("lblInfo%1").arg(line + 4))->setText(Texts().Text(QString("Contact%1").arg(line)));
}

} // namespace plumet::ui
