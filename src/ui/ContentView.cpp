#include "ui/ContentView.h"

#include "state/AppState.h"
#include "ui/AlertDialog.h"
#include "ui/MainView.h"
#include "ui/NamedColors.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/SidebarView.h"
#include "ui/Symbols.h"

#include <QAction>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int sidebarWidth = 250;
constexpr int toolLabelWidth = 65;
constexpr int toolSymbolSize = 16; // the symbol at 14 points, as tall as its glyph box

// A borderless button showing the symbol above a small label, optionally in one colour.
QToolButton *toolButton(QAction *action, const QColor &color = QColor())
{
    auto *button = new QToolButton;
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    if (action->text().isEmpty())
        return button;
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedWidth(toolLabelWidth);
    QFont label = button->font();
    label.setPixelSize(10);
    button->setFont(label);
    if (color.isValid()) {
        QPalette colors = button->palette();
        colors.setColor(QPalette::Active, QPalette::ButtonText, color);
        colors.setColor(QPalette::Inactive, QPalette::ButtonText, color);
        colors.setColor(QPalette::Disabled, QPalette::ButtonText,
                        NamedColors::withOpacity(color, 0.4));
        button->setPalette(colors);
    }
    return button;
}

} // namespace

ContentView::ContentView(AppState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    buildToolBar();

    m_sidebar = new SidebarView(state);
    m_mainView = new MainView(state);
    m_noInstallerView = new NoInstallerSelectedView(state);
    m_detail = new QStackedWidget;
    m_detail->addWidget(m_noInstallerView);
    m_detail->addWidget(m_mainView);

    m_body = new QWidget(this);
    m_splitter = new QSplitter(Qt::Horizontal, m_body);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(1);
    m_splitter->addWidget(m_sidebar);
    m_splitter->addWidget(m_detail);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({sidebarWidth, 10000});
    auto *bodyLayout = new QVBoxLayout(m_body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addWidget(m_splitter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_body, 1);

    connect(&m_state, &AppState::changed, this, &ContentView::refresh);
    refresh();
}

void ContentView::buildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->toggleViewAction()->setEnabled(false);
    // Otherwise the toolbar hands its buttons the window's larger icon size.
    m_toolBar->setIconSize(QSize(toolSymbolSize, toolSymbolSize));

    auto action = [this](const QString &symbol, const QString &label, const QString &tip,
                         const QColor &color, auto run) {
        auto *created = new QAction(symbolIcon(symbol, color), label, this);
        created->setToolTip(tip);
        connect(created, &QAction::triggered, this, run);
        return created;
    };
    const QColor plain;
    // The keys of Scan and Refresh belong to the File menu, which runs the same operations;
    // binding them twice would make the shortcut ambiguous.
    m_toggleSidebar =
        action(QStringLiteral("sidebar.left"), QString(),
               QStringLiteral("Show or Hide the Sidebar"), plain, [this] { toggleSidebar(); });
    m_scan = action(QStringLiteral("arrow.triangle.2.circlepath"), QStringLiteral("Scan"),
                    QStringLiteral("Scan for Installers (%1)")
                        .arg(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText)),
                    plain, [this] { m_state.scanForInstallers(); });
    m_refresh =
        action(QStringLiteral("arrow.clockwise"), QStringLiteral("Refresh"),
               QStringLiteral("Refresh Disk List (%1)")
                   .arg(QKeySequence(Qt::CTRL | Qt::Key_D).toString(QKeySequence::NativeText)),
               plain, [this] { m_state.refreshDiskList(); });
    m_add = action(QStringLiteral("plus.circle"), QStringLiteral("Add"),
                   QStringLiteral("Add macOS Installer"), plain,
                   [this] { m_state.addInstallerFromFinder(); });
    m_scanTip = m_scan->toolTip();
    m_addTip = m_add->toolTip();
    m_info = action(QStringLiteral("info.circle.fill"), QStringLiteral("Info"),
                    QStringLiteral("About Tessaline"), NamedColors::blue(),
                    [this] { m_state.openInfoURL(); });
    m_donate = action(QStringLiteral("heart.fill"), QStringLiteral("Donate"),
                      QStringLiteral("Support Development"), NamedColors::red(),
                      [this] { m_state.openDonationURL(); });

    m_toolBar->addWidget(toolButton(m_toggleSidebar));
    m_toolBar->addWidget(toolButton(m_scan));
    m_toolBar->addWidget(toolButton(m_refresh));
    m_toolBar->addWidget(toolButton(m_add));
    auto *space = new QWidget;
    space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(space);
    m_toolBar->addWidget(toolButton(m_info, NamedColors::blue()));
    m_toolBar->addWidget(toolButton(m_donate, NamedColors::red()));
}

bool ContentView::isSidebarShown() const
{
    return !m_sidebar->isHidden();
}

QWidget *ContentView::detail() const
{
    return m_detail->currentWidget();
}

void ContentView::toggleSidebar()
{
    m_sidebar->setVisible(m_sidebar->isHidden());
}

QList<UnifiedProgressOverlay *> ContentView::overlays() const
{
    QList<UnifiedProgressOverlay *> present;
    for (const Layer &layer : m_layers)
        if (layer.overlay)
            present << layer.overlay;
    return present;
}

QList<UnifiedProgressOverlay::OperationType> ContentView::overlayKinds() const
{
    QList<UnifiedProgressOverlay::OperationType> kinds;
    for (const Layer &layer : m_layers)
        if (layer.overlay)
            kinds << layer.kind;
    return kinds;
}

AlertDialog *ContentView::alert() const
{
    return m_alert;
}

void ContentView::refresh()
{
    QWidget *detail =
        m_state.selectedInstaller() ? static_cast<QWidget *>(m_mainView) : m_noInstallerView;
    if (m_detail->currentWidget() != detail)
        m_detail->setCurrentWidget(detail);
    m_refresh->setEnabled(!m_state.isLoadingDisks());
    // No second job, and no other installer under the running one.
    const bool busy = m_state.isBusy();
    m_scan->setEnabled(!busy);
    m_add->setEnabled(!busy);
    m_scan->setToolTip(busy ? AppState::busyReason() : m_scanTip);
    m_add->setToolTip(busy ? AppState::busyReason() : m_addTip);
    updateOverlays();
    updateAlert();
}

void ContentView::updateOverlays()
{
    using Kind = UnifiedProgressOverlay::OperationType;
    const std::array<std::optional<Kind>, 5> wanted{
        m_state.isScanning() ? std::optional(Kind::scanning) : std::nullopt,
        m_state.isInstallingPKG() ? std::optional(Kind::installingPKG) : std::nullopt,
        m_state.isDownloadingInstaller() ? std::optional(Kind::downloadingInstaller)
                                         : std::nullopt,
        m_state.isCreatingMedia()
            ? std::optional(m_state.jobKind() == AppState::JobKind::iso ? Kind::createBootableDMG
                                                                        : Kind::creatingUSB)
            : std::nullopt,
        m_state.isShowingTerminalOverlay() ? std::optional(Kind::terminalOperation) : std::nullopt,
    };

    bool added = false;
    for (size_t i = 0; i < m_layers.size(); ++i) {
        Layer &layer = m_layers[i];
        if (layer.overlay && (!wanted[i] || *wanted[i] != layer.kind)) {
            // Present only while its condition holds: what it held goes with it.
            layer.overlay->hide();
            layer.overlay->deleteLater();
            layer.overlay = nullptr;
        }
        if (wanted[i] && !layer.overlay) {
            layer.overlay = new UnifiedProgressOverlay(*wanted[i], m_state, m_body);
            layer.kind = *wanted[i];
            layer.overlay->show();
            added = true;
        }
    }
    if (!added)
        return;
    // A later layer stands above an earlier one, whichever appeared first.
    for (const Layer &layer : m_layers)
        if (layer.overlay)
            layer.overlay->raise();
}

void ContentView::updateAlert()
{
    if (!m_state.isShowingAlert()) {
        if (m_alert) {
            m_alert->withdraw();
            m_alert = nullptr;
        }
        return;
    }
    if (m_alert) {
        m_alert->showCurrentAlert();
        return;
    }
    m_alert = new AlertDialog(m_state, this);
    m_alert->open();
}
