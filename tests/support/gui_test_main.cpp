// The main() of GUI test executables. Settings, the device root and the runtime
// folder (single-instance lock and socket) are pointed at fresh temporary folders
// before anything can read them, so no test touches the user's own. QSettings
// keeps the paths it first saw, which is why this happens before QApplication.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool pointAt(const char* variable, const QTemporaryDir& dir) {
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder for %s\n", variable);
        return false;
    }
    qputenv(variable, QFile::encodeName(dir.path()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const QTemporaryDir configHome;
    const QTemporaryDir deviceRoot;
    const QTemporaryDir runtimeDir;  // made 0700, as the runtime folder must be
    if (!pointAt("XDG_CONFIG_HOME", configHome) || !pointAt("TAVIK_ROOT", deviceRoot) ||
        !pointAt("XDG_RUNTIME_DIR", runtimeDir))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
