#include "QuietLibraries.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>

namespace {

void setUnlessSet(const char *name, const QByteArray &value)
{
    if (!qEnvironmentVariableIsSet(name))
        qputenv(name, value);
}

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : configured;
}

} // namespace

void keepLibrariesFromWriting()
{
    // Mesa starts a shader cache under ~/.cache with the first OpenGL context,
    // which Qt creates at start-up for sharing with the web view.
    setUnlessSet("MESA_SHADER_CACHE_DISABLE", "true");

    // libpulse (Qt Multimedia's sound output) creates its runtime directory
    // before it looks for a server: XDG_RUNTIME_DIR/pulse, or, without
    // XDG_RUNTIME_DIR, ~/.config/pulse/<machine id>-runtime linked to a new
    // directory in /tmp; it may also spawn a server. Naming the sockets it
    // would try skips both and finds a running server all the same.
    if (!qEnvironmentVariableIsSet("PULSE_SERVER")) {
        QStringList servers;
        const QString runtimePath = qEnvironmentVariable("PULSE_RUNTIME_PATH");
        const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
        const QString machineId = QString::fromLatin1(QSysInfo::machineUniqueId());
        if (!runtimePath.isEmpty())
            servers << QStringLiteral("unix:") + runtimePath + QStringLiteral("/native");
        else if (!runtimeDir.isEmpty())
            servers << QStringLiteral("unix:") + runtimeDir + QStringLiteral("/pulse/native");
        else if (!machineId.isEmpty())
            servers << QStringLiteral("unix:") + configHome() + QStringLiteral("/pulse/") + machineId
                           + QStringLiteral("-runtime/native");
        servers << QStringLiteral("unix:/var/run/pulse/native");
        qputenv("PULSE_SERVER", servers.join(QLatin1Char(' ')).toLocal8Bit());
    }

    // Finding no cookie file, libpulse writes a new random ~/.config/pulse/cookie.
    // A random cookie read from /dev/urandom serves as well: no server knows
    // either. An existing cookie file is left to be read as usual.
    if (!qEnvironmentVariableIsSet("PULSE_COOKIE")
        && !QFileInfo::exists(configHome() + QStringLiteral("/pulse/cookie"))
        && !QFileInfo::exists(QDir::homePath() + QStringLiteral("/.pulse-cookie")))
        qputenv("PULSE_COOKIE", "/dev/urandom");
}
