#include "ui/DiskRow.h"

#include "ui/Accessibility.h"
#include "ui/KeyboardAccess.h"
#include "ui/NamedColors.h"
#include "ui/Symbols.h"
#include "ui/TextFont.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The line under the volume's name: its device, and a word on fixed media, which is often a
// backup disk rather than a spare stick.
QString identifierText(const DiskInfo &disk)
{
    return disk.isFixedExternal
               ? QCoreApplication::translate("DiskRow", "%1 · external disk (not a USB stick)")
                     .arg(disk.deviceIdentifier)
               : disk.deviceIdentifier;
}

// Desktop text styles are given in points, which are the toolkit's pixels.
// A one-line label that gives up its trailing characters rather than widening the row.
class OneLineLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, width());
        painter.drawText(rect(), int(alignment()) | Qt::TextSingleLine, shown);
    }
};

// The round selection mark: a filled circle with a tick, or an empty gray ring. To assistive
// tools a picture named by whether its row is selected.
class SelectionMark : public QWidget {
public:
    explicit SelectionMark(QWidget *parent) : QWidget(parent)
    {
        Accessibility::setRole(this, QAccessible::Graphic);
        setFixedSize(14, 14);
    }

    void setSelected(bool selected)
    {
        m_selected = selected;
        setAccessibleName(selected ? QCoreApplication::translate("DiskRow", "selected")
                                   : QCoreApplication::translate("DiskRow", "not selected"));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame(rect());
        if (m_selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(NamedColors::accent(palette()));
            painter.drawEllipse(frame);
            const QRect tick(QPoint(0, 0), QSize(8, 8));
            symbolIcon(QStringLiteral("checkmark"), Qt::white)
                .paint(&painter, tick.translated(rect().center() - tick.center()));
        } else {
            // The ring is drawn inside the frame, so half the line width comes off each side.
            painter.setPen(QPen(NamedColors::gray(), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(frame.adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }

private:
    bool m_selected = false;
};

QWidget *centredCell(QWidget *content, int width, QWidget *parent)
{
    auto *cell = new QWidget(parent);
    cell->setFixedWidth(width);
    auto *layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content, 0, Qt::AlignCenter);
    return cell;
}

} // namespace

DiskRow::DiskRow(const DiskInfo &disk, bool isSelected, std::function<void()> onEject,
                 QWidget *parent)
    : QWidget(parent), m_disk(disk), m_isSelected(isSelected), m_onEject(std::move(onEject))
{
    Accessibility::install();
    setFixedHeight(rowHeight);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    // A click gives the row the focus; the table decides which row Tab reaches.
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(disk.volumeName);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // Disk: icon, then name over device identifier. It may narrow when the table does.
    auto *diskCell = new QWidget(this);
    diskCell->setMinimumWidth(120);
    diskCell->setMaximumWidth(diskCellWidth);
    auto *diskLayout = new QHBoxLayout(diskCell);
    diskLayout->setContentsMargins(4, 0, 0, 0);
    diskLayout->setSpacing(8);
    m_icon = new QLabel(diskCell);
    m_icon->setObjectName(QStringLiteral("diskIcon"));
    m_icon->setFixedSize(16, 16);
    diskLayout->addWidget(m_icon);
    auto *names = new QVBoxLayout;
    names->setSpacing(2);
    m_name = new OneLineLabel(disk.volumeName, diskCell);
    m_name->setObjectName(QStringLiteral("volumeName"));
    m_name->setFont(textFont(11, QFont::Medium));
    m_identifier = new OneLineLabel(identifierText(disk), diskCell);
    m_identifier->setObjectName(QStringLiteral("deviceIdentifier"));
    m_identifier->setFont(textFont(10));
    names->addStretch();
    names->addWidget(m_name);
    names->addWidget(m_identifier);
    names->addStretch();
    diskLayout->addLayout(names, 1);
    row->addWidget(diskCell, 1);

    auto *size = new QLabel(disk.formattedSize(), this);
    size->setObjectName(QStringLiteral("size"));
    size->setFont(textFont(11));
    row->addWidget(centredCell(size, sizeCellWidth, this));

    auto *freeSpace = new QLabel(disk.formattedFreeSpace(), this);
    freeSpace->setObjectName(QStringLiteral("freeSpace"));
    freeSpace->setFont(textFont(11));
    row->addWidget(centredCell(freeSpace, sizeCellWidth, this));

    auto *mark = new SelectionMark(this);
    mark->setObjectName(QStringLiteral("selectionMark"));
    m_mark = mark;
    row->addWidget(centredCell(mark, selectCellWidth, this));

    m_eject = new KeyboardAccess::RingedToolButton(4, this);
    m_eject->setObjectName(QStringLiteral("eject"));
    m_eject->setAutoRaise(true);
    // Reached with Tab after its row; a click leaves the focus where it was.
    m_eject->setFocusPolicy(Qt::TabFocus);
    m_eject->setCursor(Qt::ArrowCursor);
    m_eject->setIconSize(QSize(12, 12));
    m_eject->setAccessibleName(tr("Eject"));
    //: %1 is the volume's name.
    m_eject->setToolTip(tr("Eject %1").arg(disk.volumeName));
    // Borderless: only the symbol, with a faint patch while pressed.
    m_eject->setStyleSheet(
        QStringLiteral("QToolButton { border: none; background: transparent; padding: 3px; }"
                       "QToolButton:pressed { background: rgba(128, 128, 128, 60); "
                       "border-radius: 4px; }"));
    connect(m_eject, &QToolButton::clicked, this, [this] {
        if (m_onEject)
            m_onEject();
    });
    row->addWidget(centredCell(m_eject, ejectCellWidth, this));

    applyColors();
    describe();
}

void DiskRow::describe()
{
    // The end of what is read out for the row: whether it is selected, or why it cannot be.
    QString state;
    if (!m_refusal.isEmpty())
        //: Read out for a disk that cannot be the target; %1 says why.
        state = tr("not available: %1").arg(m_refusal);
    else if (m_isSelected)
        //: Read out at the end of a selected disk's row.
        state = tr("selected");
    else
        //: Read out at the end of a disk's row that is not selected.
        state = tr("not selected");
    const QString size = m_disk.formattedSize();
    const QString free = m_disk.formattedFreeSpace();
    const QString &device = m_disk.deviceIdentifier;
    if (m_disk.isFixedExternal)
        //: Read out for a row of the disk table: %1 the size, %2 the free space, %3 the device,
        //: %4 whether it is selected.
        setAccessibleDescription(tr("%1 external disk (not a USB stick), %2 free, %3, %4")
                                     .arg(size, free, device, state));
    else
        //: Read out for a row of the disk table: %1 the size, %2 the free space, %3 the device,
        //: %4 whether it is selected.
        setAccessibleDescription(
            tr("%1 USB volume, %2 free, %3, %4").arg(size, free, device, state));
}

QSize DiskRow::sizeHint() const
{
    // The disk cell at its full width; the table may give less, and only that cell narrows.
    return {diskCellWidth + 2 * sizeCellWidth + selectCellWidth + ejectCellWidth, rowHeight};
}

void DiskRow::setSelected(bool selected)
{
    if (selected == m_isSelected)
        return;
    m_isSelected = selected;
    applyColors();
    update();
    describe();
    Accessibility::announceSelection(this);
}

void DiskRow::applyColors()
{
    const QPalette colors = palette();
    const QColor secondary = NamedColors::secondaryText(colors);
    const QColor iconColor = m_isSelected ? NamedColors::accent(colors) : secondary;
    m_icon->setPixmap(symbolIcon(QStringLiteral("externaldrive.fill"), iconColor)
                          .pixmap(QSize(16, 16), devicePixelRatioF()));
    QPalette identifierColors = m_identifier->palette();
    identifierColors.setColor(QPalette::WindowText, secondary);
    m_identifier->setPalette(identifierColors);
    m_eject->setIcon(symbolIcon(QStringLiteral("eject.fill"), secondary));
    static_cast<SelectionMark *>(m_mark)->setSelected(m_isSelected);
}

void DiskRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_isSelected)
        painter.fillRect(rect(), NamedColors::withOpacity(NamedColors::accent(palette()), 0.10));
    // Inside the row: the table's edge would cut off a ring drawn outside it.
    if (showsFocusRing()) {
        const qreal inset = KeyboardAccess::focusRingWidth;
        KeyboardAccess::paintFocusRing(
            painter, QRectF(rect()).adjusted(inset, inset, -inset, -inset), 2, palette());
    }
}

void DiskRow::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit clicked();
        break;
    case Qt::Key_Up:
        emit stepRequested(Step::previous);
        break;
    case Qt::Key_Down:
        emit stepRequested(Step::next);
        break;
    case Qt::Key_Home:
        emit stepRequested(Step::first);
        break;
    case Qt::Key_End:
        emit stepRequested(Step::last);
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    event->accept();
}

void DiskRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // The window coming back to the front keeps the ring as it was.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_focusFromKeyboard = KeyboardAccess::isKeyboardFocusReason(reason);
    update();
}

void DiskRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void DiskRow::setRefusal(const QString &reason)
{
    if (reason == m_refusal)
        return;
    m_refusal = reason;
    // Disabled, the row greys and takes no clicks; its tooltip still says why.
    setEnabled(reason.isEmpty());
    setToolTip(reason);
    //: The line under a volume's name when it cannot be the target: %1 its device, %2 why.
    m_identifier->setText(reason.isEmpty() ? identifierText(m_disk)
                                           : tr("%1 · %2").arg(m_disk.deviceIdentifier, reason));
    describe();
}

void DiskRow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressed = true;
    event->accept();
}

void DiskRow::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (event->button() != Qt::LeftButton || !wasPressed)
        return QWidget::mouseReleaseEvent(event);
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void DiskRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}
