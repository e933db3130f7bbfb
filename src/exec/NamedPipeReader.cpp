#include "exec/NamedPipeReader.h"

#include "exec/JobFolder.h"
#include "model/SystemError.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

NamedPipeReader::NamedPipeReader(const JobFolder &folder, const QString &name, ChunkHandler handler)
    : m_path(folder.filePath(name)), m_handler(std::move(handler))
{
    if (const std::optional<QString> error = folder.createPipe(name)) {
        m_error = *error;
        return;
    }
    const QByteArray path = QFile::encodeName(m_path);
    // Reading first: opening a pipe to write without waiting needs a reader already.
    m_reading = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (m_reading >= 0)
        m_writing = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    struct stat status;
    if (!isOpen() || ::fstat(m_reading, &status) != 0 || !S_ISFIFO(status.st_mode)) {
        m_error = systemErrorText(errno);
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_reading, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { drain(); });
}

NamedPipeReader::~NamedPipeReader()
{
    m_notifier.reset();
    // Once both ends here are closed, a command still writing is told so (SIGPIPE) and ends.
    if (m_reading >= 0)
        ::close(m_reading);
    if (m_writing >= 0)
        ::close(m_writing);
}

void NamedPipeReader::drain()
{
    if (m_reading < 0)
        return;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(m_reading, chunk.data(), size_t(chunk.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        m_handler(chunk.first(got));
    }
}
