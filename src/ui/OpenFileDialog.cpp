#include "ui/OpenFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpression>

#include <algorithm>

namespace {

#ifndef Q_OS_MACOS
// The wildcards of a filter such as "Installers (*.app *.pkg)".
QList<QRegularExpression> patternsOf(const QString &nameFilter)
{
    static const QRegularExpression inParentheses(QStringLiteral("\\(([^)]*)\\)"));
    const auto match = inParentheses.match(nameFilter);
    QList<QRegularExpression> patterns;
    for (const QString &wildcard :
         (match.hasMatch() ? match.captured(1) : nameFilter).split(u' ', Qt::SkipEmptyParts))
        patterns << QRegularExpression::fromWildcard(wildcard, Qt::CaseInsensitive);
    return patterns;
}

// Qt's own dialog, where a bundle is one item to pick, with the request's message on top.
class BundleAwareFileDialog : public QFileDialog {
public:
    BundleAwareFileDialog(QWidget *parent, const OpenFileRequest &request)
        : QFileDialog(parent, request.title, request.startFolder)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
        setNameFilter(request.nameFilter);
        m_patterns = patternsOf(request.nameFilter);
        // Opening a bundle picks it rather than showing its insides.
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString &folder) {
            if (isBundle(folder))
                choose(folder);
        });
        addMessage(request.message);
    }

    QString chosen() const { return m_chosen; }

    void accept() override
    {
        const QStringList selected = selectedFiles();
        if (selected.size() == 1 && isBundle(selected.first()))
            return choose(selected.first());
        QFileDialog::accept();
        if (result() == QDialog::Accepted && !selectedFiles().isEmpty())
            m_chosen = selectedFiles().first();
    }

private:
    bool isBundle(const QString &path) const
    {
        const QFileInfo info(path);
        if (!info.isDir())
            return false;
        return std::any_of(m_patterns.begin(), m_patterns.end(), [&](const auto &pattern) {
            return pattern.match(info.fileName()).hasMatch();
        });
    }

    void choose(const QString &path)
    {
        m_chosen = QDir::cleanPath(path);
        QDialog::accept();
    }

    // The dialog's grid has no row for a message: everything moves down one to make one.
    void addMessage(const QString &message)
    {
        auto *grid = qobject_cast<QGridLayout *>(layout());
        if (!grid || message.isEmpty())
            return;
        struct Placed {
            QLayoutItem *item;
            int row, column, rowSpan, columnSpan;
        };
        QList<Placed> placed;
        while (grid->count() > 0) {
            Placed one{};
            grid->getItemPosition(0, &one.row, &one.column, &one.rowSpan, &one.columnSpan);
            one.item = grid->takeAt(0);
            placed << one;
        }
        for (const Placed &one : std::as_const(placed))
            grid->addItem(one.item, one.row + 1, one.column, one.rowSpan, one.columnSpan);
        auto *label = new QLabel(message, this);
        label->setWordWrap(true);
        grid->addWidget(label, 0, 0, 1, grid->columnCount());
    }

    QList<QRegularExpression> m_patterns;
    QString m_chosen;
};
#endif

} // namespace

std::optional<QUrl> chooseOneFile(const OpenFileRequest &request, QWidget *parent)
{
#ifdef Q_OS_MACOS
    const QString path = QFileDialog::getOpenFileName(parent, request.title, request.startFolder,
                                                      request.nameFilter);
    if (path.isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(path);
#else
    BundleAwareFileDialog dialog(parent, request);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(dialog.chosen());
#endif
}
