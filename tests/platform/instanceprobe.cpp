// A stand-in for an editor start, for the single-instance tests: "first" records
// itself and prints "raised" each time a later start asks; any start that finds
// a running instance prints "activated" and ends with 3.

#include "platform/cinstancechecker.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CInstanceChecker checker(argc > 1 ? argv[1] : InstanceRecordName);
    if (checker.ActivatePrevious()) {
        std::printf("activated\n");
        return 3;
    }
    // The editor builds its window between the two steps; so does the probe, in time.
    QThread::msleep(200);
    std::string why;
    if (!checker.Track([] { std::printf("raised\n"); std::fflush(stdout); }, &why)) {
        std::printf("cannot record: %s\n", why.c_str());
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    return app.exec();
}
