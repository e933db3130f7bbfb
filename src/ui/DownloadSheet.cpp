#include "ui/DownloadSheet.h"

#include "host/Host.h"
#include "model/ByteFormat.h"
#include "state/AppState.h"
#include "ui/CircularProgressView.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/TextFont.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { titleColumn, versionColumn, buildColumn, sizeColumn, noteColumn };
// Where a row keeps the index of its installer in the listing shown.
constexpr int installerRole = Qt::UserRole + 1;

// A page with a message centred in it, and the spinner above it when there is one.
QWidget *messagePage(QLabel *message, ProgressSpinner *spinner)
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    column->addStretch();
    if (spinner)
        column->addWidget(spinner, 0, Qt::AlignHCenter);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignCenter);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(message);
    column->addStretch();
    return page;
}

// The major release a group is named by: "macOS Sequoia (15)".
QString groupTitle(const AvailableInstaller &installer)
{
    return QStringLiteral("%1 (%2)").arg(installer.title, installer.majorVersion());
}

} // namespace

DownloadSheet::DownloadSheet(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("downloadSheet"));
    setWindowTitle(tr("Download an Installer"));
    setWindowModality(Qt::WindowModal);
    resize(640, 420);

    auto *column = new QVBoxLayout(this);
    auto *heading = new QLabel(tr("Download a macOS installer from Apple"), this);
    heading->setFont(textFont(15, QFont::DemiBold));
    column->addWidget(heading);
    auto *explanation = new QLabel(tr("The installer is put in Applications, where Tessaline "
                                      "lists it. The download is large and takes a while."),
                                   this);
    explanation->setWordWrap(true);
    column->addWidget(explanation);

    m_pages = new QStackedWidget(this);
    m_spinner = new ProgressSpinner(28);
    m_waiting = new QLabel(tr("Asking Apple which installers it offers this Mac..."));
    m_pages->addWidget(messagePage(m_waiting, m_spinner));
    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("downloadSheetProblem"));
    m_pages->addWidget(messagePage(m_problem, nullptr));
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("offeredInstallers"));
    m_list->setAccessibleName(tr("Installers offered by Apple"));
    m_list->setHeaderLabels({tr("Installer"), tr("Version"), tr("Build"), tr("Size"), QString()});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pages->addWidget(m_list);
    column->addWidget(m_pages, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("downloadSheetStatus"));
    m_status->setWordWrap(true);
    column->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(this);
    //: Asks Apple for the list of installers again.
    m_retry = buttons->addButton(tr("Retry"), QDialogButtonBox::ActionRole);
    m_retry->setObjectName(QStringLiteral("retryListing"));
    m_package = buttons->addButton(tr("Choose a Package\u2026"), QDialogButtonBox::ActionRole);
    m_package->setObjectName(QStringLiteral("choosePackage"));
    buttons->addButton(QDialogButtonBox::Cancel);
    //: Starts downloading the chosen installer.
    m_download = buttons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
    m_download->setObjectName(QStringLiteral("downloadInstaller"));
    m_download->setDefault(true);
    column->addWidget(buttons);

    connect(m_retry, &QPushButton::clicked, this, [this] { m_state.listOfferedInstallers(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_download, &QPushButton::clicked, this, &DownloadSheet::startDownload);
    connect(m_package, &QPushButton::clicked, this, &DownloadSheet::choosePackage);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &DownloadSheet::updateButtons);
    connect(m_list, &QTreeWidget::itemActivated, this, &DownloadSheet::startDownload);
    connect(&m_state, &AppState::changed, this, &DownloadSheet::refresh);
    refresh();
}

DownloadSheet *DownloadSheet::showOver(AppState &state, QWidget *window)
{
    auto *sheet = new DownloadSheet(state, window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    state.listOfferedInstallers();
    sheet->open();
    return sheet;
}

QString DownloadSheet::notice() const
{
    if (m_pages->currentWidget() == m_list)
        return QString();
    return m_pages->currentIndex() == 0 ? m_waiting->text() : m_problem->text();
}

void DownloadSheet::refresh()
{
    const bool listing = m_state.isListingOfferedInstallers();
    QString problem;
    if (m_state.isInstallerListingUnsupported())
        problem = tr("This Mac cannot list the installers Apple offers: that takes macOS 11 Big "
                     "Sur or later. Download an InstallAssistant package from Apple with a "
                     "browser, then choose it here to install the installer from it.");
    else if (!m_state.offeredInstallersFailure().isEmpty())
        //: %1 is what Software Update said.
        problem = tr("Apple's list of installers could not be read.\n%1")
                      .arg(m_state.offeredInstallersFailure());
    else if (!listing && m_state.offeredInstallers().isEmpty())
        problem = tr("Apple offers no full installers to this Mac right now.");

    if (listing)
        m_pages->setCurrentIndex(0);
    else if (!problem.isEmpty())
        m_pages->setCurrentIndex(1);
    else
        m_pages->setCurrentWidget(m_list);
    m_problem->setText(problem);
    const bool unsupported = !listing && m_state.isInstallerListingUnsupported();
    m_retry->setVisible(!listing && !problem.isEmpty() && !unsupported);
    m_package->setVisible(unsupported);
    m_download->setVisible(!unsupported);
    m_package->setEnabled(!m_state.isBusy());
    if (!listing && (!m_filled || m_shown != m_state.offeredInstallers()))
        fillList();
    updateButtons();
}

void DownloadSheet::fillList()
{
    m_shown = m_state.offeredInstallers();
    m_filled = true;
    m_list->clear();
    QTreeWidgetItem *group = nullptr;
    QString groupKey;
    QTreeWidgetItem *first = nullptr;
    for (int i = 0; i < m_shown.size(); ++i) {
        const AvailableInstaller &installer = m_shown.at(i);
        if (!group || installer.majorVersion() != groupKey) {
            groupKey = installer.majorVersion();
            group = new QTreeWidgetItem(m_list, {groupTitle(installer)});
            group->setFlags(Qt::ItemIsEnabled);
            group->setFirstColumnSpanned(true);
            QFont bold = group->font(titleColumn);
            bold.setBold(true);
            group->setFont(titleColumn, bold);
        }
        auto *row = new QTreeWidgetItem(
            group, {installer.title, installer.version, installer.build,
                    installer.size ? formatGigabytes(*installer.size) : QString()});
        row->setData(titleColumn, installerRole, i);
        row->setTextAlignment(sizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        if (installer.deferred) {
            row->setText(noteColumn, tr("Deferred by your organisation"));
            row->setToolTip(noteColumn,
                            tr("The Mac's management holds this version back for now."));
            row->setFlags(Qt::NoItemFlags);
        } else {
            if (m_state.hasInApplications(installer)) {
                row->setText(noteColumn, tr("In Applications"));
                //: %1 is the installer's application name.
                row->setToolTip(noteColumn, tr("%1 is in Applications; a download replaces it.")
                                                .arg(installer.applicationName()));
            }
            if (!first)
                first = row;
        }
    }
    m_list->expandAll();
    if (first)
        m_list->setCurrentItem(first);
    // Arrows move through the rows, Return downloads.
    m_list->setFocus();
}

std::optional<AvailableInstaller> DownloadSheet::chosen() const
{
    const QTreeWidgetItem *row = m_list->currentItem();
    if (!row || !row->isSelected() || !row->data(titleColumn, installerRole).isValid())
        return std::nullopt;
    const int index = row->data(titleColumn, installerRole).toInt();
    if (index < 0 || index >= m_shown.size() || m_shown.at(index).deferred)
        return std::nullopt;
    return m_shown.at(index);
}

void DownloadSheet::updateButtons()
{
    const std::optional<AvailableInstaller> installer =
        m_pages->currentWidget() == m_list ? chosen() : std::nullopt;
    std::optional<QString> blocked;
    if (m_state.isBusy())
        blocked = AppState::busyReason();
    else if (installer)
        blocked = m_state.spaceMissingFor(*installer);
    m_download->setEnabled(installer && !blocked);
    m_download->setToolTip(blocked.value_or(QString()));
    m_status->setText(installer ? blocked.value_or(QString()) : QString());
    m_status->setVisible(!m_status->text().isEmpty());
}

void DownloadSheet::choosePackage()
{
    const std::optional<QUrl> chosen = NoInstallerSelectedView::chooseWithDialog(
        {tr("Select macOS Installer Package"), tr("Please select an InstallAssistant.pkg file"),
         Host::current().homeFolder(), QStringLiteral("pkg")},
        this);
    if (!chosen || chosen->isEmpty())
        return;
    accept();
    m_state.handlePKGInstaller(*chosen);
}

void DownloadSheet::startDownload()
{
    const std::optional<AvailableInstaller> installer = chosen();
    if (!installer || !m_download->isEnabled())
        return;
    m_state.downloadInstaller(*installer);
    accept();
}
