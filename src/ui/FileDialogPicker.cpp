#include "ui/FileDialogPicker.h"

#include "host/Host.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace {

bool isApplicationBundle(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.suffix().compare(QLatin1String("app"), Qt::CaseInsensitive) == 0;
}

// Qt's own dialog, with application bundles choosable as if they were files.
class InstallerFileDialog : public QFileDialog {
public:
    explicit InstallerFileDialog(QWidget *parent) : QFileDialog(parent)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        // Double-clicking a bundle chooses it rather than showing its insides.
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString &folder) {
            if (isApplicationBundle(folder))
                choose(folder);
        });
        addMessageAbove(QStringLiteral("Please select a macOS Installer application or package"));
    }

    QString chosen() const { return m_chosen; }

    void accept() override
    {
        const QStringList selected = selectedFiles();
        if (selected.size() == 1 && isApplicationBundle(selected.first())) {
            choose(selected.first());
            return;
        }
        QFileDialog::accept();
        if (result() == QDialog::Accepted && !selectedFiles().isEmpty())
            m_chosen = selectedFiles().first();
    }

private:
    void choose(const QString &path)
    {
        m_chosen = path;
        QDialog::accept();
    }

    // The dialog's grid has no room for a message; move everything down one row to make some.
    void addMessageAbove(const QString &message)
    {
        auto *grid = qobject_cast<QGridLayout *>(layout());
        if (!grid)
            return;
        struct Placed {
            QLayoutItem *item;
            int row, column, rowSpan, columnSpan;
        };
        QList<Placed> items;
        while (grid->count() > 0) {
            Placed placed{};
            grid->getItemPosition(0, &placed.row, &placed.column, &placed.rowSpan,
                                  &placed.columnSpan);
            placed.item = grid->takeAt(0);
            items << placed;
        }
        for (const Placed &placed : items)
            grid->addItem(placed.item, placed.row + 1, placed.column, placed.rowSpan,
                          placed.columnSpan);
        auto *label = new QLabel(message, this);
        label->setWordWrap(true);
        grid->addWidget(label, 0, 0, 1, grid->columnCount());
    }

    QString m_chosen;
};

} // namespace

std::optional<QUrl> FileDialogPicker::pickInstallerOrPackage()
{
    const QString title = QStringLiteral("Select macOS Installer");
    const QString filter = QStringLiteral("macOS Installers (*.app *.pkg)");
    const QString folder = Host::current().applicationsFolder();
#ifdef Q_OS_MACOS
    const QString path = QFileDialog::getOpenFileName(m_parent, title, folder, filter);
    if (path.isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(path);
#else
    InstallerFileDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(dialog.chosen());
#endif
}
