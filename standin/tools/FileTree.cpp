#include "tools/FileTree.h"

#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path native(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

bool fail(QString *error, const char *what, const fs::path &path, const std::error_code &code)
{
    if (error)
        *error = QStringLiteral("cannot %1 %2: %3")
                     .arg(QLatin1String(what),
                          QFile::decodeName(QByteArray::fromStdString(path.native())),
                          QString::fromStdString(code.message()));
    return false;
}

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::error_code writeAll(int out, const char *data, size_t size, off_t offset)
{
    for (size_t written = 0; written < size;) {
        const ssize_t put = ::pwrite(out, data + written, size - written, offset + off_t(written));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return lastError();
        written += size_t(put);
    }
    return {};
}

// Writes what lies between `from` and `to` into the copy but for blocks of zeros, which the copy
// already reads as: a file system that cannot tell data from holes calls the whole file data.
std::error_code copyRange(int in, int out, off_t from, off_t to)
{
    std::vector<char> buffer(64 * 1024);
    for (off_t offset = from; offset < to;) {
        const ssize_t got =
            ::pread(in, buffer.data(), std::min<off_t>(buffer.size(), to - offset), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return lastError();
        // The file was cut short meanwhile.
        if (got == 0)
            break;
        const auto end = buffer.begin() + got;
        if (std::any_of(buffer.begin(), end, [](char byte) { return byte != 0; })) {
            if (const std::error_code code = writeAll(out, buffer.data(), size_t(got), offset))
                return code;
        }
        offset += got;
    }
    return {};
}

std::error_code copyData(const fs::path &source, const fs::path &target, mode_t mode)
{
    const Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (in.get() < 0 || ::fstat(in.get(), &status) != 0)
        return lastError();
    const Descriptor out(
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (out.get() < 0 || ::ftruncate(out.get(), status.st_size) != 0)
        return lastError();
    for (off_t offset = 0; offset < status.st_size;) {
        const off_t found = ::lseek(in.get(), offset, SEEK_DATA);
        // Nothing but a hole is left.
        if (found < 0 && errno == ENXIO)
            break;
        if (found < 0 && errno != EINVAL)
            return lastError();
        // EINVAL: the file system cannot tell, so everything left may be data.
        const off_t data = found < 0 ? offset : found;
        const off_t hole = found < 0 ? status.st_size : ::lseek(in.get(), data, SEEK_HOLE);
        if (hole < 0)
            return lastError();
        if (const std::error_code code =
                copyRange(in.get(), out.get(), data, std::min<off_t>(hole, status.st_size)))
            return code;
        offset = hole;
    }
    if (::fchmod(out.get(), mode & 07777) != 0)
        return lastError();
    return {};
}

bool copyEntry(const fs::path &source, const fs::path &target, QString *error)
{
    struct stat status {};
    if (::lstat(source.c_str(), &status) != 0)
        return fail(error, "copy", source, lastError());
    std::error_code code;
    if (S_ISLNK(status.st_mode)) {
        const fs::path linkTarget = fs::read_symlink(source, code);
        if (!code)
            fs::create_symlink(linkTarget, target, code);
    } else if (S_ISREG(status.st_mode)) {
        code = copyData(source, target, status.st_mode);
    } else if (!S_ISDIR(status.st_mode)) {
        code = std::make_error_code(std::errc::not_supported);
    } else if (::mkdir(target.c_str(), S_IRWXU) != 0) {
        code = lastError();
    } else {
        for (fs::directory_iterator it(source, code), end; !code && it != end; it.increment(code)) {
            if (!copyEntry(it->path(), target / it->path().filename(), error))
                return false;
        }
        // Set last, so that a folder without write permission can still be filled.
        if (!code && ::chmod(target.c_str(), status.st_mode & 07777) != 0)
            code = lastError();
    }
    return !code || fail(error, "copy", source, code);
}

} // namespace

namespace FileTree {

bool copy(const QString &source, const QString &target, QString *error)
{
    return copyEntry(native(source), native(target), error);
}

bool moveEntries(const QString &folder, const QString &into, QString *error)
{
    const fs::path from = native(folder);
    const fs::path to = native(into);
    std::error_code code;
    fs::create_directories(to, code);
    if (code)
        return fail(error, "make", to, code);
    // Listed first: a folder read while entries leave it may skip some.
    std::vector<fs::path> names;
    for (fs::directory_iterator it(from, code), end; !code && it != end; it.increment(code))
        names.push_back(it->path().filename());
    // A folder that is not there holds nothing to move.
    if (code && code != std::errc::no_such_file_or_directory)
        return fail(error, "read", from, code);
    for (const fs::path &name : names) {
        // Links in the way are removed, not followed.
        fs::remove_all(to / name, code);
        if (!code)
            fs::rename(from / name, to / name, code);
        if (code)
            return fail(error, "move", from / name, code);
    }
    return true;
}

qint64 apparentSize(const QString &folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        total += it.nextFileInfo().size();
    return total;
}

} // namespace FileTree
