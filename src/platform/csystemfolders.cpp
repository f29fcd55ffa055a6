#include "platform/csystemfolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

std::string WithoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path.toStdString();
}

} // namespace

std::string CSystemFolders::RoamingAppData()
{
    return WithoutTrailingSlash(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

std::string CSystemFolders::Temp()
{
    return WithoutTrailingSlash(QDir::tempPath());
}
