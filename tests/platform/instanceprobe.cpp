// An editor start for the single-instance tests: instanceprobe RECORD [PATH-TO-FORWARD]. The first
// prints "raised" or "opened PATH" at each later start; a later one "activated" (exit 3) or "failed: WHY" (1).

#include "platform/cinstancechecker.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CInstanceChecker checker(argc > 1 ? argv[1] : InstanceRecordName);
    std::string failure;
    if (checker.ActivatePrevious(argc > 2 ? argv[2] : "", 2000, &failure)) {
        if (!failure.empty()) {
            std::printf("failed: %s\n", failure.c_str());
            return 1;
        }
        std::printf("activated\n");
        return 3;
    }
    // The editor builds its window between the two steps; so does the probe, in time.
    QThread::msleep(200);
    std::string why;
    const bool recorded = checker.Track(
        [](const std::string& path) {
            std::string shown = path; // one line per request: a line break is shown as "\n"
            for (size_t at = 0; (at = shown.find('\n', at)) != std::string::npos; at += 2)
                shown.replace(at, 1, "\\n");
            std::printf(path.empty() ? "raised\n" : "opened %s\n", shown.c_str());
            std::fflush(stdout);
        },
        &why);
    if (!recorded) {
        std::printf("cannot record: %s\n", why.c_str());
        return 1;
    }
    std::printf("listening %s\n", checker.RecordPath().c_str());
    std::fflush(stdout);
    return app.exec();
}
