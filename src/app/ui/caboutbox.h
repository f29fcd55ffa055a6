#pragma once
// The About box: the program's internal name as the title, "Version x.y.z", and
// the host that started it.

#include <QDialog>
#include <QIcon>

#include <string>

// The version record: "FileVersion" and "InternalName".
std::string VersionInfo(const std::string& key);

// The program's icon, drawn rather than shipped: a legend swatch, four
// coloured bands each beside a label line, at the sizes desktops ask for.
QIcon TessarinIcon();
// The bands' colours, top to bottom (0xRRGGBB).
inline constexpr unsigned kIconBands[] = {0x2F6FB5, 0x3A9D4F, 0xE8C23A, 0xD2452F};

class CAboutBox : public QDialog {
public:
    CAboutBox(int hostCode, const QIcon& icon, QWidget* parent = nullptr);
};
