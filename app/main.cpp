#include "app/tavik_app.h"

#include <QApplication>

namespace {

// The checklist named on the command line ("tavik FILE", the desktop's "Open with"), or
// "" for none: the first argument that is not an option; after "--" a name may begin with "-".
QString FileArgument(const QStringList& arguments)
{
    bool options = true;
    for (const QString& argument : arguments.mid(1)) {
        if (options && argument == QLatin1String("--"))
            options = false;
        else if (!options || !argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return QString();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tavik::CTavikApp app;
    // Qt has taken its own options out of the arguments by now.
    if (!app.InitInstance(FileArgument(QCoreApplication::arguments())))
        return 0;
    const int exitCode = app.Run();
    const int cleanupCode = app.ExitInstance();
    return exitCode != 0 ? exitCode : cleanupCode;
}
