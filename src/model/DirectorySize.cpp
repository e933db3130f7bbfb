#include "model/InstallerApp.h"

#include "model/Diagnostics.h"
#include "model/SystemError.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Installer bundles hold tens of thousands of files, so the walk reads each folder once and asks
// for one lstat per file relative to its folder, skipping the lstat for folders whose type the
// listing already gives. Symbolic links are measured as links, never followed, so the walk
// cannot loop.
namespace {

void reportUnreadable(const QByteArray &path, int error)
{
    printDiagnostic(QStringLiteral("Error getting size for ") +
                    QUrl::fromLocalFile(QFile::decodeName(path)).toString() + QStringLiteral(": ") +
                    systemErrorText(error));
}

// Sums the files directly in `folder` and queues its subfolders on `pending`.
qint64 sumFolder(const QByteArray &folderPath, DIR *folder, std::vector<QByteArray> &pending)
{
    qint64 total = 0;
    const int folderDescriptor = dirfd(folder);
    while (const dirent *entry = readdir(folder)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        auto childPath = [&] { return folderPath + '/' + name; };
        if (entry->d_type == DT_DIR) {
            pending.push_back(childPath());
            continue;
        }
        struct stat status;
        if (fstatat(folderDescriptor, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            reportUnreadable(childPath(), errno);
            continue;
        }
        if (S_ISDIR(status.st_mode))
            pending.push_back(childPath());
        else
            total += qint64(status.st_size);
    }
    return total;
}

} // namespace

qint64 InstallerApp::calculateDirectorySize(const QUrl &url)
{
    const QByteArray root = QFile::encodeName(url.toLocalFile());
    DIR *top = opendir(root.constData());
    if (!top)
        return 0;
    std::vector<QByteArray> pending;
    qint64 total = sumFolder(root, top, pending);
    closedir(top);

    while (!pending.empty()) {
        const QByteArray folderPath = std::move(pending.back());
        pending.pop_back();
        const int descriptor =
            open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DIR *folder = descriptor >= 0 ? fdopendir(descriptor) : nullptr;
        if (!folder) {
            reportUnreadable(folderPath, errno);
            if (descriptor >= 0)
                close(descriptor);
            continue;
        }
        total += sumFolder(folderPath, folder, pending);
        closedir(folder);
    }
    return total;
}
