// tessarin: the legend editor.

#include "app/core/startupoptions.h"
#include "app/ui/ctessarinapp.h"
#include "platform/cfileio.h"

#include <QApplication>

#include <cstdio>

namespace {

const char kUsage[] =
    "Usage: tessarin [FILE.leg] [--screenshot OUT.png] [host switches]\n"
    "Edits the legends of the project and system legend folders.\n"
    "  FILE.leg              open that legend (its folder is listed too)\n"
    "  --screenshot OUT.png  start, write a picture of the window to OUT.png and end\n"
    "  -name LEGEND          the legend to show first\n"
    "  -edit                 edit that one legend only (no list)\n"
    "  -TABPath TABLE, -tab2leg, -PID n, -LeftPos x -TopPos y, -CAPID n, -cartora,\n"
    "  -Quarvex, -Q3D, -Strativ, -ST3D, -Vyrn, -FV, -DL, ...\n"
    "                        switches the host applications start the editor with\n"
    "One editor runs per user: a second start brings the running one to the front,\n"
    "and a FILE.leg given to it opens there.\n";

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> given(argv, argv + argc);
    // Usage is printed before anything else is started, so it needs no display.
    // A "--help" that is the screenshot's file name is no request for it.
    for (const std::string& arg : FindScreenshot(given).hostArgs)
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    CStartupOptions own;
    ApplyOwnSwitches(given, own);
    if (!own.unknownSwitch.empty()) {
        std::fprintf(stderr, "tessarin: unknown switch %s\n", own.unknownSwitch.c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    // A picture under another format's name would mislead whoever opens it.
    if (const std::optional<std::string> refusal = RefuseScreenshotPath(own.screenshotPath)) {
        std::fprintf(stderr, "%s\n", refusal->c_str());
        return 1;
    }
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
