// A second copy of the program for the single-instance test, as small as can be.
//   first   take the lock and listen; print "ready", then "activated" and end when asked
//   hold    take the lock and never listen (a copy whose window does not exist yet)
//   second  try the lock; when it is taken, ask the running copy to activate, print "ended" and end
// Prints "busy" and ends with 2 when "first" or "hold" cannot take the lock.

#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const char* mode = argc > 1 ? argv[1] : "";
    tavik::SingleInstance instance;

    if (std::strcmp(mode, "second") == 0) {
        if (instance.tryAcquire()) {
            say("acquired");
            return 0;
        }
        tavik::SingleInstance::activateRunningCopy();
        say("ended");
        return 1;
    }

    if (!instance.tryAcquire()) {
        say("busy");
        return 2;
    }
    if (std::strcmp(mode, "first") == 0) {
        const tavik::Outcome listening = instance.listen([] {
            say("activated");
            QCoreApplication::exit(0);
        });
        if (!listening) {
            say("cannot listen");
            return 4;
        }
    }
    say("ready");
    // Never outlive the test that started it.
    QTimer::singleShot(60000, [] { QCoreApplication::exit(3); });
    return app.exec();
}
