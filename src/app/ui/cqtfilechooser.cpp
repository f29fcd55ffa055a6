#include "app/ui/cqtfilechooser.h"

#include "platform/ctextcodec.h"

#include <QFileDialog>
#include <QStringList>

QString QtFileFilter(const std::string& hostFilter)
{
    // Pairs of description and pattern, ended by an empty pair; the description
    // already names the pattern, which is all QFileDialog reads from it.
    const QStringList parts = QString::fromStdString(hostFilter).split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        descriptions << parts[i];
    }
    return descriptions.join(QStringLiteral(";;"));
}

CFileChooser QtFileChooser(QWidget* parent)
{
    return [parent](const CFileChooserRequest& request) -> std::optional<std::string> {
        const QString caption = QString::fromStdString(request.productText);
        const QString start = QString::fromStdString(CTextCodec::ToUtf8(request.start));
        const QString chosen = request.kind == CFileChooserRequest::Kind::Folder
                                   ? QFileDialog::getExistingDirectory(parent, caption, start)
                                   : QFileDialog::getOpenFileName(parent, caption, start,
                                                                  QtFileFilter(request.filter));
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen.toStdString();
    };
}
