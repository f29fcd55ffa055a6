// tessarin: the legend editor.

#include "app/ui/ctessarinapp.h"
#include "platform/cfileio.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // As every program does: a file-size limit fails a save instead of killing us.
    CFileIO::IgnoreFileSizeSignal();
    QApplication app(argc, argv); // also sets the user's locale, as the formats expect
    QApplication::setApplicationName(QStringLiteral("Tessarin"));
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.emplace_back(argv[i]);
    CTessarinApp tessarin(std::move(args));
    return tessarin.Run();
}
