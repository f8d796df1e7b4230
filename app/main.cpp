#include "app/tavik_app.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tavik::CTavikApp app;
    if (!app.InitInstance())
        return 0;
    app.Run();
    return app.ExitInstance();
}
