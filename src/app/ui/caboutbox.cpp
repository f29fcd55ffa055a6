#include "app/ui/caboutbox.h"

#include "app/core/startupoptions.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

std::string VersionInfo(const std::string& key)
{
    if (key == "FileVersion")
        return TESSARIN_VERSION;
    if (key == "InternalName")
        return "Tessarin";
    return {};
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
