#pragma once
// The About box: the program's internal name as the title, "Version x.y.z", and
// the host that started it.

#include <QDialog>

#include <string>

// The version record: "FileVersion" and "InternalName".
std::string VersionInfo(const std::string& key);

class CAboutBox : public QDialog {
public:
    CAboutBox(int hostCode, const QIcon& icon, QWidget* parent = nullptr);
};
