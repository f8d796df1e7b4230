// The main() of GUI test executables. Settings, the device root and the runtime folder
// (single-instance lock and socket) point at fresh temporary folders before anything can
// read them, so no test touches the user's own. QSettings keeps the paths it first saw,
// which is why this happens before QApplication.

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const QTemporaryDir folders[3];  // made 0700, as a runtime folder must be
    const char* variables[] = {"XDG_CONFIG_HOME", "TAVIK_ROOT", "XDG_RUNTIME_DIR"};
    for (int i = 0; i < 3; ++i)
        if (!folders[i].isValid() || !qputenv(variables[i], folders[i].path().toLocal8Bit()))
            return 1;
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
