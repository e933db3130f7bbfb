#include "cli/ProgressPrinter.h"

#include "model/ElapsedTime.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

constexpr int barWidth = 24;

QString bar(double percent)
{
    const int filled = std::clamp(int(std::lround(percent * barWidth / 100)), 0, barWidth);
    return u'[' + QString(filled, u'#') + QString(barWidth - filled, u'-') + u']';
}

} // namespace

ProgressPrinter::ProgressPrinter(Style style, std::FILE *out) : m_style(style), m_out(out)
{
    m_clock.start();
}

QByteArray ProgressPrinter::jsonLine(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

void ProgressPrinter::write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

void ProgressPrinter::show(const ProgressInfo &progress)
{
    m_percent = std::max(m_percent, std::clamp(progress.percentage, 0.0, 100.0));
    const int percent = int(m_percent);
    const QString step =
        progress.hasCurrentStep() ? progress.steps.at(progress.currentStep).title : QString();
    switch (m_style) {
    case Style::json: {
        const QString key = QStringLiteral("%1|%2|%3|%4")
                                .arg(percent)
                                .arg(progress.currentStep)
                                .arg(progress.message, progress.detailMessage);
        if (key == m_lastShown)
            return;
        m_lastShown = key;
        write(jsonLine(
            {{QStringLiteral("event"), QStringLiteral("progress")},
             {QStringLiteral("percent"), percent},
             {QStringLiteral("step"), progress.hasCurrentStep() ? progress.currentStep + 1 : 0},
             {QStringLiteral("steps"), int(progress.steps.size())},
             {QStringLiteral("message"), progress.message},
             {QStringLiteral("detail"), progress.detailMessage}}));
        return;
    }
    case Style::lines: {
        const QString key = step + u'|' + progress.message;
        if (key == m_lastShown || progress.message.isEmpty())
            return;
        m_lastShown = key;
        write(QStringLiteral("%1 % %2%3\n")
                  .arg(percent, 3)
                  .arg(step.isEmpty() ? QString() : step + QStringLiteral(": "), progress.message)
                  .toUtf8());
        return;
    }
    case Style::terminal: {
        const QString line = QStringLiteral("%1 %2 % %3  %4")
                                 .arg(bar(m_percent))
                                 .arg(percent, 3)
                                 .arg(step.isEmpty() ? progress.message : step,
                                      formatElapsed(std::chrono::milliseconds(m_clock.elapsed())));
        if (line == m_lastShown)
            return;
        m_lastShown = line;
        // Back to the start of the line, the new text, and nothing left of a longer old one.
        write(("\r" + line + QStringLiteral("\x1b[K")).toUtf8());
        m_lineOpen = true;
        return;
    }
    }
}

void ProgressPrinter::finish(bool ok, const QString &message, const QString &detail,
                             const QString &path, bool verified)
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_style == Style::json) {
        write(jsonLine({{QStringLiteral("event"), QStringLiteral("result")},
                        {QStringLiteral("ok"), ok},
                        {QStringLiteral("message"), message},
                        {QStringLiteral("detail"), detail},
                        {QStringLiteral("path"), path},
                        {QStringLiteral("verified"), verified}}));
        return;
    }
    if (m_lineOpen)
        write("\n");
    QString text = message;
    if (!detail.isEmpty())
        text += u'\n' + detail;
    write((text + u'\n').toUtf8());
}
