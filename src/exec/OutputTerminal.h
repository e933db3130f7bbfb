#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for a child's standard output, for tools that show their progress only
// when they write to a terminal (softwareupdate redraws "Installing: N%" in place and says
// nothing of it through a pipe). The child writes into the terminal's far side; this side reads
// what it wrote. Both ends close on exec, so no other child keeps the terminal open.
//
// The terminal's line discipline turns each "\n" into "\r\n"; readers of its output see both.
class OutputTerminal {
public:
    OutputTerminal() = default;
    ~OutputTerminal();
    OutputTerminal(const OutputTerminal &) = delete;
    OutputTerminal &operator=(const OutputTerminal &) = delete;

    // Opens a new terminal, 80 columns wide and without echo; false with errorString() on failure.
    bool open();
    QString errorString() const { return m_error; }

    // The side the child writes to, until closeChildSide().
    int childSide() const { return m_child; }
    // Called once the child has its own copy: from then on the terminal ends with the child.
    void closeChildSide();
    // The side this process reads from; never blocks.
    int readSide() const { return m_reader; }

    // What has arrived and not been read yet. `ended` turns true once every writer has gone and
    // all was read.
    QByteArray readAvailable(bool *ended);

private:
    int m_reader = -1;
    int m_child = -1;
    QString m_error;
};
