#include "app/tavik_app.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tavik::CTavikApp app;
    if (!app.InitInstance())
        return 0;
    const int exitCode = app.Run();
    const int cleanupCode = app.ExitInstance();
    return exitCode != 0 ? exitCode : cleanupCode;
}
