// The running copy of the program for the single-instance test: takes the lock and listens,
// prints "ready", then "activated" (and the file handed over, if any) and ends when a second copy asks.

#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    tavik::SingleInstance instance;
    if (!instance.tryAcquire() || !instance.listen([](const QString& file) {
            std::puts(file.isEmpty() ? "activated" : qPrintable(QStringLiteral("activated ") + file));
            QCoreApplication::exit(0);
        }))
        return 2;
    std::puts("ready");
    std::fflush(stdout);
    QTimer::singleShot(60000, [] { QCoreApplication::exit(3); });  // never outlive the test
    return app.exec();
}
