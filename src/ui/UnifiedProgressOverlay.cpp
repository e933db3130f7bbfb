#include "ui/UnifiedProgressOverlay.h"

#include "state/AppState.h"
#include "ui/Accessibility.h"
#include "ui/ProgressWindow.h"
#include "ui/TerminalWindow.h"

#include <QAbstractButton>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr int shadowBlur = 10;
constexpr int shadowDrop = 5;
// Enough of a dragged window stays inside the overlay to grab it again.
constexpr int keptInView = 60;

} // namespace

UnifiedProgressOverlay::UnifiedProgressOverlay(OperationType operationType, AppState &appState,
                                               QWidget *parent)
    : QWidget(parent), m_state(appState), m_operationType(operationType)
{
    Accessibility::install();
    setObjectName(QStringLiteral("progressOverlay"));
    // A click on the backdrop keeps the keys here, off the controls underneath.
    setFocusPolicy(Qt::ClickFocus);
    if (operationType == OperationType::terminalOperation)
        m_panel = new TerminalWindow(appState, this);
    else
        m_panel = new ProgressWindow(operationType, appState, this);
    connect(m_panel->titleBar(), &OverlayTitleBar::dragged, this, &UnifiedProgressOverlay::dragTo);
    connect(&appState, &AppState::changed, this, &UnifiedProgressOverlay::refresh);

    if (parent) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
    placePanel();
    setAccessibleName(m_panel->titleBar()->title());
}

UnifiedProgressOverlay::~UnifiedProgressOverlay() = default;

QWidget *UnifiedProgressOverlay::panel() const
{
    return m_panel;
}

bool UnifiedProgressOverlay::isDragging() const
{
    return m_panel->titleBar()->isHovered();
}

QString UnifiedProgressOverlay::password() const
{
    const auto *terminal = qobject_cast<const TerminalWindow *>(m_panel);
    return terminal ? terminal->password() : QString();
}

QString UnifiedProgressOverlay::windowTitle(OperationType type, const AppState &appState)
{
    const auto &installer = appState.selectedInstaller();
    const QString name = installer ? AppState::extractMacOSName(installer->name) : QString();
    switch (type) {
    case OperationType::scanning:
        return tr("Scanning for Installers");
    case OperationType::installingPKG:
        return tr("Installing macOS Package");
    case OperationType::downloadingInstaller:
        return tr("Downloading a macOS Installer");
    case OperationType::creatingUSB:
        //: %1 is the macOS name, such as "macOS Sonoma".
        return installer ? tr("Creating Bootable USB for %1").arg(name)
                         : tr("Creating Bootable USB");
    case OperationType::createBootableDMG:
        //: %1 is the macOS name, such as "macOS Sonoma".
        return installer ? tr("Creating Bootable ISO for %1").arg(name)
                         : tr("Creating Bootable Disk Image");
    case OperationType::terminalOperation:
        //: The terminal window's title; %1 is the macOS name, such as "macOS Sonoma".
        return installer ? tr("Terminal \u2014 %1").arg(name) : tr("Terminal");
    }
    return {};
}

void UnifiedProgressOverlay::dismiss(AppState &appState, OperationType type)
{
    // A running job is asked to stop and tells how it ended; an ended one is put away.
    if (type != OperationType::scanning && appState.hasJob())
        return appState.requestCancel();
    switch (type) {
    case OperationType::scanning:
        appState.isScanning = false;
        break;
    case OperationType::installingPKG:
        appState.isInstallingPKG = false;
        break;
    case OperationType::downloadingInstaller:
        appState.isDownloadingInstaller = false;
        break;
    case OperationType::creatingUSB:
    case OperationType::createBootableDMG:
        appState.isCreatingMedia = false;
        break;
    case OperationType::terminalOperation:
        appState.isShowingTerminalOverlay = false;
        appState.isCreatingMedia = false;
        break;
    }
}

void UnifiedProgressOverlay::refresh()
{
    m_panel->refresh();
    // Assistive tools know the overlay by its window's title.
    Accessibility::setName(this, m_panel->titleBar()->title());
}

void UnifiedProgressOverlay::dragTo(const QPoint &translation)
{
    // Each drag measures from its own start, so a new drag starts from the centred place.
    m_dragOffset = translation;
    placePanel();
}

void UnifiedProgressOverlay::placePanel()
{
    const QSize size = m_panel->size();
    const QPoint centred((width() - size.width()) / 2, (height() - size.height()) / 2);
    const QPoint wanted = centred + m_dragOffset;
    const int left = keptInView - size.width();
    const int right = std::max(left, width() - keptInView);
    const int bottom = std::max(0, height() - m_panel->titleBar()->sizeHint().height());
    const QPoint placed(std::clamp(wanted.x(), left, right),
                        std::clamp(wanted.y(), std::min(0, centred.y()), bottom));
    if (placed != m_panel->pos()) {
        m_panel->move(placed);
        update();
    }
}

QPixmap UnifiedProgressOverlay::shadowFor(const QSize &panelSize)
{
    const qreal ratio = devicePixelRatioF();
    if (!m_shadow.isNull() && m_shadowPanelSize == panelSize && m_shadowRatio == ratio)
        return m_shadow;

    // Blurred once per size; the drop shadow of a graphics effect would instead re-render the
    // whole window, terminal output included, on every change.
    const int margin = 2 * shadowBlur;
    const QSize shadowSize = panelSize + QSize(2 * margin, 2 * margin);
    QPixmap shape(shadowSize * ratio);
    shape.setDevicePixelRatio(ratio);
    shape.fill(Qt::transparent);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, int(0.3 * 255)));
        painter.drawRoundedRect(QRectF(QPointF(margin, margin), QSizeF(panelSize)), cornerRadius,
                                cornerRadius);
    }
    QGraphicsScene scene;
    auto *item = scene.addPixmap(shape);
    auto *blur = new QGraphicsBlurEffect;
    blur->setBlurRadius(shadowBlur * ratio);
    blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
    item->setGraphicsEffect(blur);
    QPixmap blurred(shadowSize * ratio);
    blurred.fill(Qt::transparent);
    {
        QPainter painter(&blurred);
        scene.render(&painter, QRectF(blurred.rect()), item->boundingRect());
    }
    blurred.setDevicePixelRatio(ratio);

    m_shadow = blurred;
    m_shadowPanelSize = panelSize;
    m_shadowRatio = ratio;
    return m_shadow;
}

void UnifiedProgressOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, int(0.2 * 255)));
    const int margin = 2 * shadowBlur;
    painter.drawPixmap(m_panel->pos() + QPoint(-margin, shadowDrop - margin),
                       shadowFor(m_panel->size()));
}

void UnifiedProgressOverlay::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placePanel();
}

bool UnifiedProgressOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

// The backdrop takes the pointer and the keys, so nothing underneath reacts while it is up.
void UnifiedProgressOverlay::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void UnifiedProgressOverlay::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void UnifiedProgressOverlay::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    // Escape is the window's way out, pressed: Cancel while a job runs (with any question that
    // asks), Close on its result. Holding the key down presses once.
    if (!event->matches(QKeySequence::Cancel) || event->isAutoRepeat())
        return;
    QAbstractButton *wayOut = m_panel->escapeButton();
    if (wayOut && wayOut->isEnabled())
        wayOut->click();
}

QList<QWidget *> UnifiedProgressOverlay::tabStops() const
{
    QList<QWidget *> stops;
    for (QWidget *widget = nextInFocusChain(); widget && widget != this;
         widget = widget->nextInFocusChain()) {
        if (isAncestorOf(widget) && widget->isVisibleTo(this) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy())
            stops << widget;
    }
    return stops;
}

bool UnifiedProgressOverlay::focusNextPrevChild(bool next)
{
    // Going away, the overlay lets the focus move on as any widget would.
    if (!isVisible())
        return QWidget::focusNextPrevChild(next);
    // Tab goes round the small window's controls and never under the backdrop.
    const QList<QWidget *> stops = tabStops();
    if (stops.isEmpty())
        return true;
    qsizetype at = stops.indexOf(window()->focusWidget());
    if (at < 0)
        at = next ? stops.size() - 1 : 0;
    at = (at + (next ? 1 : stops.size() - 1)) % stops.size();
    stops.at(at)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
