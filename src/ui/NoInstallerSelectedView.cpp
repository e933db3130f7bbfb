#include "ui/NoInstallerSelectedView.h"

#include "host/Host.h"
#include "state/AppState.h"
#include "ui/ButtonStyles.h"
#include "ui/DownloadSheet.h"
#include "ui/LayoutMetrics.h"
#include "ui/NamedColors.h"
#include "ui/OpenFileDialog.h"
#include "ui/Symbols.h"
#include "ui/TextFont.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int buttonWidth = 180;

} // namespace

NoInstallerSelectedView::NoInstallerSelectedView(AppState &state, QWidget *parent)
    : QWidget(parent), m_state(state),
      m_chooser([this](const FileRequest &request) { return chooseWithDialog(request, this); })
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(standardMargin, standardMargin, standardMargin, standardMargin);
    column->setSpacing(30);
    column->addStretch();

    m_symbol = new QLabel(this);
    m_symbol->setObjectName(QStringLiteral("noInstallerSymbol"));
    m_symbol->setFixedSize(60, 60);
    column->addWidget(m_symbol, 0, Qt::AlignHCenter);
    column->addSpacing(10);

    auto *title = new QLabel(tr("No Installer Selected"), this);
    title->setFont(textFont(22));
    column->addWidget(title, 0, Qt::AlignHCenter);

    m_message = new QLabel(tr("Select a macOS installer from the sidebar or add a new one."), this);
    m_message->setFont(textFont(13));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setContentsMargins(50, 0, 50, 0);
    column->addWidget(m_message);
    column->addSpacing(20);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(15);
    m_addApplication = new StyledButton(
        tr("Add Application Installer"),
        AppButtonStyle{true, false, NamedColors::accent(palette()), buttonWidth}, this);
    m_addApplication->setObjectName(QStringLiteral("addApplicationInstaller"));
    m_addApplication->setSymbol(QStringLiteral("plus.circle.fill"));
    connect(m_addApplication, &QAbstractButton::clicked, this,
            &NoInstallerSelectedView::addAppInstaller);
    buttons->addWidget(m_addApplication, 0, Qt::AlignHCenter);
    m_addPackage =
        new StyledButton(tr("Add InstallAssistant.pkg"),
                         AppButtonStyle{false, false, NamedColors::blue(), buttonWidth}, this);
    m_addPackage->setObjectName(QStringLiteral("addInstallAssistantPackage"));
    m_addPackage->setSymbol(QStringLiteral("doc.fill.badge.plus"));
    connect(m_addPackage, &QAbstractButton::clicked, this,
            &NoInstallerSelectedView::addPkgInstaller);
    buttons->addWidget(m_addPackage, 0, Qt::AlignHCenter);
    m_download =
        new StyledButton(tr("Download from Apple\u2026"),
                         AppButtonStyle{false, false, NamedColors::blue(), buttonWidth}, this);
    m_download->setObjectName(QStringLiteral("downloadFromApple"));
    m_download->setSymbol(QStringLiteral("square.and.arrow.down"));
    connect(m_download, &QAbstractButton::clicked, this,
            [this] { DownloadSheet::showOver(m_state, window()); });
    buttons->addWidget(m_download, 0, Qt::AlignHCenter);
    column->addLayout(buttons);
    column->addStretch();

    applyColors();
}

std::optional<QUrl> NoInstallerSelectedView::choose(const FileRequest &request)
{
    if (!m_chooser)
        return std::nullopt;
    return m_chooser(request);
}

void NoInstallerSelectedView::addAppInstaller()
{
    const std::optional<QUrl> chosen =
        choose({tr("Select macOS Installer"), tr("Please select a macOS Installer application"),
                Host::current().applicationsFolder(), QStringLiteral("app")});
    if (!chosen || chosen->isEmpty())
        return;

    // Reading the bundle measures all of it; the pane waits for that.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<InstallerApp> installer = InstallerApp::fromBundle(*chosen);
    QApplication::restoreOverrideCursor();
    if (!installer) {
        m_state.showError(tr("Invalid Installer"),
                          tr("The selected application doesn't appear to be a valid macOS "
                             "installer."));
        return;
    }

    // Same bundle, same path: it is listed once, and the pick still selects it. A new one goes
    // at the end; the list is put in order again by the next scan.
    const QString path = installer->bundlePath();
    const QList<InstallerApp> &known = m_state.installers();
    const bool listed = std::any_of(known.begin(), known.end(), [&](const InstallerApp &other) {
        return other.bundlePath() == path;
    });
    if (!listed)
        m_state.installers.modify([&](QList<InstallerApp> &list) { list.append(*installer); });
    m_state.selectedInstaller = *installer;
}

void NoInstallerSelectedView::addPkgInstaller()
{
    const std::optional<QUrl> chosen = choose(
        {tr("Select macOS Installer Package"), tr("Please select an InstallAssistant.pkg file"),
         Host::current().homeFolder(), QStringLiteral("pkg")});
    if (!chosen || chosen->isEmpty())
        return;
    m_state.handlePKGInstaller(*chosen);
}

std::optional<QUrl> NoInstallerSelectedView::chooseWithDialog(const FileRequest &request,
                                                              QWidget *parent)
{
    const QString kind = request.fileType == QLatin1String("app")   ? tr("Applications")
                         : request.fileType == QLatin1String("pkg") ? tr("Installer packages")
                                                                    : request.fileType;
    return chooseOneFile({request.title, request.message, request.startFolder,
                          QStringLiteral("%1 (*.%2)").arg(kind, request.fileType)},
                         parent);
}

void NoInstallerSelectedView::applyColors()
{
    const QColor secondary = NamedColors::secondaryText(palette());
    m_symbol->setPixmap(symbolIcon(QStringLiteral("square.and.arrow.down"), secondary)
                            .pixmap(m_symbol->size(), devicePixelRatioF()));
    QPalette messageColors = m_message->palette();
    messageColors.setColor(QPalette::WindowText, secondary);
    m_message->setPalette(messageColors);
    m_addApplication->setStyle(
        AppButtonStyle{true, false, NamedColors::accent(palette()), buttonWidth});
}

void NoInstallerSelectedView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}
