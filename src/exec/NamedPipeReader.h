#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class JobFolder;
class QSocketNotifier;

// Reads a named pipe in a job folder while a command started elsewhere, with rights of its own,
// writes into it. Chunks reach the handler on the thread that made the reader, from that thread's
// event loop, as they arrive. The reader holds a writing end of its own, so the pipe never reads
// as ended before the command has opened it, and it stays open however often the command reopens
// it; what the command wrote last is read with drain() once the command has ended.
class NamedPipeReader {
public:
    using ChunkHandler = std::function<void(const QByteArray &)>;

    // Makes the pipe `name` in `folder` and opens it; isOpen() says whether that worked.
    NamedPipeReader(const JobFolder &folder, const QString &name, ChunkHandler handler);
    ~NamedPipeReader();
    NamedPipeReader(const NamedPipeReader &) = delete;
    NamedPipeReader &operator=(const NamedPipeReader &) = delete;

    bool isOpen() const { return m_reading >= 0 && m_writing >= 0; }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }
    // Hands over what the pipe holds now, without waiting for more.
    void drain();

private:
    QString m_path;
    QString m_error;
    ChunkHandler m_handler;
    int m_reading = -1;
    int m_writing = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
