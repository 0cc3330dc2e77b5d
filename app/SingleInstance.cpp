#include "SingleInstance.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SingleInstance {

QString lockPath(const QString& name)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        struct stat st;
        if (::stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            return QFile::decodeName(runtime) + QLatin1Char('/') + name;
    }
    const QString folder = QStringLiteral("/tmp/velmora-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder + QLatin1Char('/') + name;
}

Outcome acquire(const QString& name)
{
    const QByteArray path = QFile::encodeName(lockPath(name));
    // The descriptor is never closed: it holds the guard until the process ends.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Outcome::Unguarded;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Outcome::Owned;
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Unguarded;
}

} // namespace SingleInstance
