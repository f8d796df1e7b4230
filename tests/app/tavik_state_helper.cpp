// tavik run as main() runs it, for the tests that end it from outside: opens the checklist
// named first on the command line, adds a row to it without writing it, goes into the state
// named second, prints "ready" and runs until it is ended.
//   about    the about box is open
//   menu     the "ツール" menu is open
//   reading  a reading aloud is in progress (the speech program must be installed)
//   closed   the main window has closed and the process is still busy on its way out

#include "app/main_frame.h"
#include "app/tavik_app.h"
#include "res/resources.h"
#include "view/tavik_view.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

void SayReady()
{
    std::puts("ready");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    tavik::CTavikApp app;
    if (!app.InitInstance(arguments[1]))
        return 2;
    tavik::CTavikView& view = *app.view();
    view.checklist().appendRow({tavik::Mark::None, u"added", u""}, u"");
    view.checklist().setModified(true);

    const QString state = arguments[2];
    if (state == QStringLiteral("about")) {
        QTimer::singleShot(0, [&app] { app.executeCommand(tavik::res::ID_APP_ABOUT); });
        QTimer::singleShot(0, [] {
            if (QApplication::activeModalWidget())
                SayReady();
        });
    } else if (state == QStringLiteral("menu")) {
        QTimer::singleShot(0, [&app] {
            app.mainFrame()->toolsButton()->click();
            if (QApplication::activePopupWidget())
                SayReady();
        });
    } else if (state == QStringLiteral("reading")) {
        view.executeCommand(tavik::res::ID_READ_ALOUD);
        SayReady();
    } else if (state == QStringLiteral("closed")) {
        QTimer::singleShot(0, [&app] { app.executeCommand(tavik::res::ID_APP_EXIT); });
    } else {
        return 2;
    }
    const int exitCode = app.Run();
    if (state == QStringLiteral("closed")) {
        SayReady();
        QThread::sleep(60);
    }
    const int cleanupCode = app.ExitInstance();
    return exitCode != 0 ? exitCode : cleanupCode;
}
