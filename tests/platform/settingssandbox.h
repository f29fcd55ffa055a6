#pragma once
// Points the user's and machine's settings and TMPDIR at fresh folders: the real user's are never touched.

#include "platform/csettingsstore.h"
#include "support/madelocale.h"
#include "support/testfiles.h"

#include <QSettings>
#include <QString>

#include <filesystem>
#include <string>

class CSettingsSandbox {
public:
    CSettingsSandbox()
    {
        std::filesystem::create_directories(UserDir());
        std::filesystem::create_directories(SystemDir());
        std::filesystem::create_directories(TempDir());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(UserDir()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, QString::fromStdString(SystemDir()));
        CSettingsStore::SetProfileProduct("");
    }

    std::string UserDir() const { return m_Root.File("user"); }
    std::string SystemDir() const { return m_Root.File("system"); }
    std::string TempDir() const { return m_Root.File("tmp"); }
    // A scratch folder beside the settings.
    std::string Work(const std::string& name) const
    {
        const std::string dir = m_Root.File("work/" + name);
        std::filesystem::create_directories(dir);
        return dir;
    }

    // Writes a file, making its folders.
    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteTextFile(path, text);
    }

private:
    CTempDir m_Root;
    CScopedEnv m_Home{"XDG_CONFIG_HOME", UserDir()}, m_Dirs{"XDG_CONFIG_DIRS", SystemDir()}, m_Tmp{"TMPDIR", TempDir()};
};
