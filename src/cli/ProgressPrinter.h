#pragma once

#include "model/ProgressInfo.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// How a job's progress reaches the person or the script that started tessaline-cli, on standard
// output: on a terminal one line that redraws itself (a bar, the percentage, the step, the time so
// far); elsewhere one plain line per change of step or message; with --json one JSON object per
// line for each change, and one last line with the result.
class ProgressPrinter {
public:
    enum class Style { terminal, lines, json };

    explicit ProgressPrinter(Style style, std::FILE *out = stdout);

    // Called with the record each time it changes; repeats are left out. The percentage shown
    // never goes down within a run.
    void show(const ProgressInfo &progress);
    // The run's result; `path` is what it made, when it made something, and `verified` whether
    // that was read back and found to match. Only the first is printed.
    void finish(bool ok, const QString &message, const QString &detail, const QString &path,
                bool verified);
    bool hasFinished() const { return m_finished; }

    // A one-line JSON object, as --json prints each line.
    static QByteArray jsonLine(const class QJsonObject &object);

private:
    void write(const QByteArray &bytes);

    Style m_style;
    std::FILE *m_out;
    QElapsedTimer m_clock;
    double m_percent = 0;
    QString m_lastShown;
    bool m_lineOpen = false;
    bool m_finished = false;
};
