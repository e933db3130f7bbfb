#include "ui/ContentView.h"

#include "state/AppState.h"
#include "ui/AlertDialog.h"
#include "ui/ButtonStyles.h"
#include "ui/InstallerDetailView.h"
#include "ui/KeyboardAccess.h"
#include "ui/MainView.h"
#include "ui/NamedColors.h"
#include "ui/NoInstallerSelectedView.h"
#include "ui/SidebarView.h"
#include "ui/Symbols.h"

#include <QAction>
#include <QListWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int sidebarWidth = 250;
constexpr int toolLabelWidth = 65;
constexpr int toolSymbolSize = 16; // the symbol at 14 points, as tall as its glyph box

// A borderless button showing the symbol above a small label, optionally in one colour. As on
// the desktop's toolbars, a click leaves the focus where it was; Tab reaches the button.
QToolButton *toolButton(QAction *action, const QColor &color = QColor())
{
    auto *button = new KeyboardAccess::RingedToolButton(5);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    if (action->text().isEmpty()) {
        // Only a symbol: named after what it does.
        button->setAccessibleName(action->toolTip());
        return button;
    }
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
    // Before the views below follow the change, which may take the focus from a control they
    // disable: an overlay coming up gives it back to that control when it goes.
    connect(&m_state, &AppState::changed, this, &ContentView::noteFocus);
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
    // The disk table's rows come and go with the listing; Tab must still find them in place.
    connect(m_mainView->detail(), &InstallerDetailView::controlsChanged, this,
            &ContentView::orderTabs);
    refresh();
    orderTabs();
}

QList<QWidget *> ContentView::toolBarButtons() const
{
    QList<QWidget *> buttons;
    for (QAction *action : m_toolBar->actions())
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(action)))
            buttons << button;
    return buttons;
}

void ContentView::orderTabs()
{
    QList<QWidget *> order = toolBarButtons();
    order << m_sidebar->list() << m_noInstallerView->addApplicationButton()
          << m_noInstallerView->addPackageButton() << m_noInstallerView->downloadButton();
    order << m_mainView->detail()->controlsInOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void ContentView::buildToolBar()
{
    m_toolBar = new QToolBar(tr("Toolbar"), this);
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
    m_toggleSidebar = action(QStringLiteral("sidebar.left"), QString(),
                             tr("Show or Hide the Sidebar"), plain, [this] { toggleSidebar(); });
    //: A toolbar button; scans for installers.
    m_scan = action(QStringLiteral("arrow.triangle.2.circlepath"), tr("Scan"),
                    //: %1 is the keyboard shortcut.
                    tr("Scan for Installers (%1)")
                        .arg(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText)),
                    plain, [this] { m_state.scanForInstallers(); });
    //: A toolbar button; lists the disks again.
    m_refresh =
        action(QStringLiteral("arrow.clockwise"), tr("Refresh"),
               //: %1 is the keyboard shortcut.
               tr("Refresh Disk List (%1)")
                   .arg(QKeySequence(Qt::CTRL | Qt::Key_D).toString(QKeySequence::NativeText)),
               plain, [this] { m_state.refreshDiskList(); });
    //: A toolbar button; adds an installer chosen in a file dialog.
    m_add = action(QStringLiteral("plus.circle"), tr("Add"), tr("Add macOS Installer"), plain,
                   [this] { m_state.addInstallerFromFinder(); });
    m_scanTip = m_scan->toolTip();
    m_addTip = m_add->toolTip();
    //: A toolbar button; opens the maker's page about the program.
    m_info = action(QStringLiteral("info.circle.fill"), tr("Info"), tr("About Tessaline"),
                    NamedColors::blue(), [this] { m_state.openInfoURL(); });
    //: A toolbar button; opens the page for donations.
    m_donate = action(QStringLiteral("heart.fill"), tr("Donate"), tr("Support Development"),
                      NamedColors::red(), [this] { m_state.openDonationURL(); });

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

void ContentView::noteFocus()
{
    if (!overlays().isEmpty())
        return;
    if (QWidget *focused = window()->focusWidget())
        m_focusUnderOverlays = focused;
}

void ContentView::updateOverlays()
{
    // The keys go to the overlay on top; when the last one goes, back to where they were.
    QWidget *focused = window()->focusWidget();
    const auto holdsFocus = [focused](const UnifiedProgressOverlay *overlay) {
        return focused && (focused == overlay || overlay->isAncestorOf(focused));
    };

    using Kind = UnifiedProgressOverlay::OperationType;
    const std::array<std::optional<Kind>, 5> wanted{
        m_state.isScanning() ? std::optional(Kind::scanning) : std::nullopt,
        m_state.isInstallingPKG() ? std::optional(Kind::installingPKG) : std::nullopt,
        m_state.isDownloadingInstaller() ? std::optional(Kind::downloadingInstaller) : std::nullopt,
        m_state.isCreatingMedia()
            ? std::optional(m_state.jobKind() == AppState::JobKind::iso ? Kind::createBootableDMG
                                                                        : Kind::creatingUSB)
            : std::nullopt,
        m_state.isShowingTerminalOverlay() ? std::optional(Kind::terminalOperation) : std::nullopt,
    };

    bool added = false;
    bool focusLeft = false;
    for (size_t i = 0; i < m_layers.size(); ++i) {
        Layer &layer = m_layers[i];
        if (layer.overlay && (!wanted[i] || *wanted[i] != layer.kind)) {
            // The focus is put in its place below; hidden with it, it would go on to a control
            // under another overlay.
            if (holdsFocus(layer.overlay)) {
                focused->clearFocus();
                focusLeft = true;
            }
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
    UnifiedProgressOverlay *top = nullptr;
    for (const Layer &layer : m_layers)
        if (layer.overlay)
            top = layer.overlay;
    if (added) {
        // A later layer stands above an earlier one, whichever appeared first.
        for (const Layer &layer : m_layers)
            if (layer.overlay)
                layer.overlay->raise();
    }
    if (!added && !focusLeft)
        return;
    QWidget *nowFocused = window()->focusWidget();
    if (top) {
        // The terminal's password field may have taken it already.
        if (!nowFocused || (nowFocused != top && !top->isAncestorOf(nowFocused)))
            top->setFocus(Qt::OtherFocusReason);
        return;
    }
    // As when the window comes back to the front: a control shows its ring again only if the
    // keyboard had brought it there.
    QWidget *back = m_focusUnderOverlays;
    if (!back || !back->isVisible() || !back->isEnabled())
        back = m_sidebar->list();
    if (back->isVisible() && back->isEnabled())
        back->setFocus(Qt::ActiveWindowFocusReason);
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
