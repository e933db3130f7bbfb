#include "exec/JobFolder.h"

#include "host/Host.h"
#include "model/Diagnostics.h"
#include "model/SystemError.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Empties the folder open at `folder`, which it closes. Entries are looked at without following
// links, and a folder is only entered through a descriptor opened with O_NOFOLLOW.
void emptyFolder(int folder)
{
    DIR *listing = ::fdopendir(folder);
    if (!listing) {
        ::close(folder);
        return;
    }
    while (const dirent *entry = ::readdir(listing)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat status;
        if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(status.st_mode)) {
            const int inner = ::openat(folder, name, folderFlags);
            if (inner >= 0)
                emptyFolder(inner);
            ::unlinkat(folder, name, AT_REMOVEDIR);
        } else {
            ::unlinkat(folder, name, 0);
        }
    }
    ::closedir(listing);
}

} // namespace

JobFolder::JobFolder(const QString &name)
{
    QByteArray pattern = QFile::encodeName(Host::current().temporaryFolder() + u'/' + name +
                                           QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        m_error = systemErrorText(errno);
        return;
    }
    m_descriptor = ::open(pattern.constData(), folderFlags);
    if (m_descriptor < 0) {
        m_error = systemErrorText(errno);
        ::rmdir(pattern.constData());
        return;
    }
    m_path = QFile::decodeName(pattern);
}

JobFolder::~JobFolder()
{
    if (m_descriptor < 0)
        return;
    emptyFolder(::dup(m_descriptor));
    ::close(m_descriptor);
    // A link put in the folder's place is not a folder: rmdir leaves it and what it points to.
    if (::rmdir(QFile::encodeName(m_path).constData()) != 0)
        printDiagnostic(QStringLiteral("Could not remove the temporary folder %1: %2")
                            .arg(m_path, systemErrorText(errno)));
}

void JobFolder::keep()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

std::unique_ptr<QFile> JobFolder::createFile(const QString &name, QString *error) const
{
    const int descriptor =
        ::openat(m_descriptor, QFile::encodeName(name).constData(),
                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (descriptor < 0) {
        *error = systemErrorText(errno);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        *error = file->errorString();
        ::close(descriptor);
        return nullptr;
    }
    return file;
}

std::optional<QString> JobFolder::writeFile(const QString &name, const QByteArray &bytes) const
{
    QString error;
    const std::unique_ptr<QFile> file = createFile(name, &error);
    if (!file)
        return error;
    if (file->write(bytes) != bytes.size() || !file->flush())
        return file->errorString();
    return std::nullopt;
}

std::optional<QString> JobFolder::createPipe(const QString &name) const
{
    if (::mkfifoat(m_descriptor, QFile::encodeName(name).constData(), S_IRUSR | S_IWUSR) != 0)
        return systemErrorText(errno);
    return std::nullopt;
}
