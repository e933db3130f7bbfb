#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QFile;

// A job's private temporary folder: made fresh under the host's temporary folder, owner-only
// (mkdtemp), and removed with everything in it when the object goes. Nothing in it is reached
// through a link: files are created only where nothing stands yet, and removal walks the folder
// by descriptor, removing a link itself, never what it points to.
class JobFolder {
public:
    // "NAME-XXXXXX" below the temporary folder; isValid() says whether it could be made.
    explicit JobFolder(const QString &name);
    ~JobFolder();
    JobFolder(const JobFolder &) = delete;
    JobFolder &operator=(const JobFolder &) = delete;

    bool isValid() const { return m_descriptor >= 0; }
    // Why the folder could not be made.
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }
    QString filePath(const QString &name) const { return m_path + u'/' + name; }

    // A new file `name` directly in the folder, open for writing; nullptr with `error` set when
    // something stands there already or it cannot be made.
    std::unique_ptr<QFile> createFile(const QString &name, QString *error) const;
    // Writes `bytes` to a new file `name`; the error when it could not.
    std::optional<QString> writeFile(const QString &name, const QByteArray &bytes) const;
    // A new named pipe `name` directly in the folder, which only the owner can open; the error
    // when something stands there already or it cannot be made.
    std::optional<QString> createPipe(const QString &name) const;
    // Leaves the folder where it is, as it is: something is still mounted on it, and emptying
    // it would reach into that.
    void keep();

private:
    QString m_path;
    QString m_error;
    // The folder itself, held open so that removal goes into it and nowhere else.
    int m_descriptor = -1;
};
