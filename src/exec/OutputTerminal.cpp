#include "exec/OutputTerminal.h"

#include "model/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

OutputTerminal::~OutputTerminal()
{
    closeChildSide();
    if (m_reader >= 0)
        ::close(m_reader);
}

bool OutputTerminal::open()
{
    const auto fail = [this](const char *call) {
        m_error = QLatin1String(call) + QStringLiteral(": ") + systemErrorText(errno);
        return false;
    };
    m_reader = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_reader < 0)
        return fail("posix_openpt");
    if (::grantpt(m_reader) != 0 || ::unlockpt(m_reader) != 0)
        return fail("grantpt");
    const char *name = ::ptsname(m_reader);
    if (!name)
        return fail("ptsname");
    m_child = ::open(name, O_RDWR | O_NOCTTY);
    if (m_child < 0)
        return fail("open");
    ::fcntl(m_reader, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_child, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_reader, F_SETFL, ::fcntl(m_reader, F_GETFL) | O_NONBLOCK);
    termios settings;
    if (::tcgetattr(m_child, &settings) == 0) {
        settings.c_lflag &= ~tcflag_t(ECHO | ICANON | ISIG);
        ::tcsetattr(m_child, TCSANOW, &settings);
    }
    winsize size{};
    size.ws_col = 80;
    size.ws_row = 24;
    ::ioctl(m_child, TIOCSWINSZ, &size);
    return true;
}

void OutputTerminal::closeChildSide()
{
    if (m_child >= 0)
        ::close(m_child);
    m_child = -1;
}

QByteArray OutputTerminal::readAvailable(bool *ended)
{
    *ended = false;
    QByteArray result;
    char buffer[16384];
    while (true) {
        const ssize_t read = ::read(m_reader, buffer, sizeof buffer);
        if (read > 0) {
            result.append(buffer, read);
            continue;
        }
        if (read < 0 && errno == EINTR)
            continue;
        // Once the last writer has closed its side, Linux answers EIO and macOS end of file.
        *ended = m_child < 0 && (read == 0 || errno == EIO);
        return result;
    }
}
