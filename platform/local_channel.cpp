#include "platform/local_channel.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace tavik {

QString LocalChannel::serverPath(const QString& baseName)
{
    const QString runtime = privateRuntimeFolder();
    return (runtime.isEmpty() ? QDir::tempPath() : runtime) + QLatin1Char('/') + baseName + QLatin1Char('-') + userId();
}

QString LocalChannel::privateRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QString();
}

QString LocalChannel::userId()
{
    return QString::number(::getuid());
}

}  // namespace tavik
