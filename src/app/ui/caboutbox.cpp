#include "app/ui/caboutbox.h"

#include "app/core/startupoptions.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>

std::string VersionInfo(const std::string& key)
{
    if (key == "FileVersion")
        return TESSARIN_VERSION;
    if (key == "InternalName")
        return "Tessarin";
    return {};
}

QIcon TessarinIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        // A sheet of paper with a dark edge; the bands fill it but for a margin.
        const int margin = std::max(1, size / 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x40, 0x40, 0x48));
        painter.drawRect(0, 0, size, size);
        painter.setBrush(Qt::white);
        painter.drawRect(margin, margin, size - 2 * margin, size - 2 * margin);
        const int inner = size - 4 * margin;
        const int bandHeight = inner / 4;
        const int top = 2 * margin + (inner - 4 * bandHeight) / 2;
        const int swatchWidth = inner * 9 / 20;
        const int gap = std::max(1, bandHeight / 5);
        for (int band = 0; band < 4; ++band) {
            const int y = top + band * bandHeight;
            painter.setBrush(QColor::fromRgb(kIconBands[band]));
            painter.drawRect(2 * margin, y + gap / 2, swatchWidth, bandHeight - gap);
            // The label: a grey line in the middle of the band.
            const int line = std::max(1, bandHeight / 4);
            painter.setBrush(QColor(0x90, 0x90, 0x98));
            painter.drawRect(2 * margin + swatchWidth + 2 * gap, y + (bandHeight - line) / 2,
                             inner - swatchWidth - 2 * gap, line);
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

CAboutBox::CAboutBox(int hostCode, const QIcon& icon, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromStdString(VersionInfo("InternalName")));
    auto* text = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(QString::fromStdString(VersionInfo("InternalName"))), this);
    text->addWidget(title);
    text->addWidget(new QLabel(QStringLiteral("Version %1").arg(QString::fromStdString(VersionInfo("FileVersion"))), this));
    text->addWidget(new QLabel(QStringLiteral("Legend editor of the geoscience suite"), this));
    if (hostCode > 0 && hostCode < 10)
        text->addWidget(new QLabel(QStringLiteral("Started by %1").arg(QString::fromStdString(HostProduct(hostCode))), this));
    auto* row = new QHBoxLayout;
    if (!icon.isNull()) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("picture"));
        picture->setPixmap(icon.pixmap(48, 48));
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    row->addLayout(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(row);
    outer->addWidget(buttons);
}
