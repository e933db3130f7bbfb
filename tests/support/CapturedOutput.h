#pragma once

#include <QString>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

// Catches what the code under test prints to standard output (its diagnostic lines) for the
// lifetime of the object.
class CapturedOutput {
public:
    CapturedOutput()
    {
        m_file.open();
        std::fflush(stdout);
        m_savedDescriptor = dup(fileno(stdout));
        dup2(m_file.handle(), fileno(stdout));
    }
    ~CapturedOutput() { restore(); }

    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromUtf8(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_savedDescriptor < 0)
            return;
        std::fflush(stdout);
        dup2(m_savedDescriptor, fileno(stdout));
        close(m_savedDescriptor);
        m_savedDescriptor = -1;
    }

    QTemporaryFile m_file;
    int m_savedDescriptor = -1;
};
