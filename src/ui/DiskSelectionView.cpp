#include "ui/DiskSelectionView.h"

#include "exec/MainThread.h"
#include "state/AppState.h"
#include "ui/Accessibility.h"
#include "ui/DiskRow.h"
#include "ui/LayoutMetrics.h"
#include "ui/NamedColors.h"
#include "ui/Symbols.h"
#include "ui/TextFont.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int headerHeightPadding = 6;

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette colors = widget->palette();
    colors.setColor(QPalette::WindowText, color);
    widget->setPalette(colors);
}

// The desktop's indeterminate spinner: twelve fading spokes going round. It only animates while
// it is on screen.
class BusySpinner : public QWidget {
public:
    explicit BusySpinner(QWidget *parent) : QWidget(parent)
    {
        // The regular spinner is 32 points; the table shows it at 0.8 of that.
        setFixedSize(26, 26);
        m_timer.setInterval(80);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_phase = (m_phase + 1) % spokes;
            update();
        });
    }

protected:
    void showEvent(QShowEvent *) override { m_timer.start(); }
    void hideEvent(QHideEvent *) override { m_timer.stop(); }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(rect().center() + QPointF(0.5, 0.5));
        const qreal outer = width() / 2.0;
        const QColor color = NamedColors::primaryText(palette());
        for (int spoke = 0; spoke < spokes; ++spoke) {
            const int age = (m_phase - spoke + spokes) % spokes;
            painter.setPen(QPen(NamedColors::withOpacity(color, 0.85 - 0.06 * age), outer * 0.18,
                                Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(0, -outer * 0.45), QPointF(0, -outer * 0.85));
            painter.rotate(360.0 / spokes);
        }
    }

private:
    static constexpr int spokes = 12;
    QTimer m_timer;
    int m_phase = 0;
};

// The table's frame: a faint rounded block whose top band, behind the column titles, is a
// shade darker.
class DiskTable : public QWidget {
public:
    explicit DiskTable(QWidget *parent) : QWidget(parent) {}
    void setHeader(QWidget *header) { m_header = header; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), 8, 8);
        painter.setClipPath(shape);
        const QColor secondary = NamedColors::secondaryText(palette());
        painter.fillRect(rect(), NamedColors::withOpacity(secondary, 0.05));
        if (m_header)
            painter.fillRect(m_header->geometry(), NamedColors::withOpacity(secondary, 0.10));
    }

private:
    QWidget *m_header = nullptr;
};

// The column of rows; draws the highlight behind the selected one.
class RowColumn : public QWidget {
public:
    explicit RowColumn(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(NamedColors::withOpacity(NamedColors::accent(palette()), 0.15));
        for (const DiskRow *row : findChildren<DiskRow *>(Qt::FindDirectChildrenOnly)) {
            if (row->isVisible() && row->isSelected())
                painter.drawRoundedRect(QRectF(row->geometry()), 2, 2);
        }
    }
};

QLabel *headerCell(const QString &title, Qt::Alignment alignment, QWidget *parent)
{
    auto *cell = new QLabel(title, parent);
    cell->setFont(textFont(10, QFont::DemiBold));
    cell->setAlignment(alignment | Qt::AlignVCenter);
    return cell;
}

// Whether two lists would draw the same rows.
bool sameRows(const QList<DiskInfo> &a, const QList<DiskInfo> &b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const DiskInfo &x, const DiskInfo &y) {
            return x.id == y.id && x.deviceIdentifier == y.deviceIdentifier &&
                   x.volumeName == y.volumeName && x.size == y.size && x.freeSpace == y.freeSpace;
        });
}

} // namespace

DiskSelectionView::DiskSelectionView(AppState &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(standardMargin, standardMargin, standardMargin, standardMargin);
    column->setSpacing(10);

    auto *heading = new QLabel(tr("Create Bootable Media"), this);
    heading->setFont(textFont(17, QFont::Bold));
    column->addWidget(heading);

    m_warning = new QLabel(tr("Select a target USB drive to create a bootable installer. Warning: "
                              "This will erase all data on the selected drive."),
                           this);
    m_warning->setFont(textFont(10));
    m_warning->setWordWrap(true);
    column->addWidget(m_warning);
    column->addSpacing(8);

    auto *table = new DiskTable(this);
    table->setObjectName(QStringLiteral("diskTable"));
    auto *tableColumn = new QVBoxLayout(table);
    tableColumn->setContentsMargins(0, 0, 0, 0);
    tableColumn->setSpacing(0);

    auto *header = new QWidget(table);
    header->setObjectName(QStringLiteral("diskTableHeader"));
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(10, headerHeightPadding, 10, headerHeightPadding);
    headerRow->setSpacing(0);
    QLabel *diskTitle = headerCell(tr("Disk"), Qt::AlignLeading, header);
    diskTitle->setMinimumWidth(DiskRow::diskCellWidth);
    headerRow->addWidget(diskTitle, 1);
    const std::pair<QString, int> fixedTitles[] = {{tr("Size"), DiskRow::sizeCellWidth},
                                                   {tr("Free Space"), DiskRow::sizeCellWidth},
                                                   {tr("Select"), DiskRow::selectCellWidth},
                                                   {tr("Eject"), 50}};
    for (const auto &[title, width] : fixedTitles) {
        QLabel *cell = headerCell(title, Qt::AlignHCenter, header);
        cell->setFixedWidth(width);
        headerRow->addWidget(cell);
    }
    // The titles ask for a little more than the rows; let a narrow pane squeeze the first one.
    header->setMinimumWidth(1);
    header->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    tableColumn->addWidget(header);
    table->setHeader(header);

    m_body = new QStackedWidget(table);
    m_body->setObjectName(QStringLiteral("diskTableBody"));
    m_body->setFixedHeight(listHeight);
    tableColumn->addWidget(m_body);

    m_loadingPage = new QWidget(m_body);
    m_loadingPage->setObjectName(QStringLiteral("loadingDisks"));
    {
        auto *layout = new QVBoxLayout(m_loadingPage);
        layout->setSpacing(12);
        layout->addStretch();
        auto *spinner = new BusySpinner(m_loadingPage);
        layout->addWidget(spinner, 0, Qt::AlignHCenter);
        layout->addSpacing(4);
        m_loadingText = new QLabel(tr("Loading available disks..."), m_loadingPage);
        // A busy progress bar to assistive tools, saying what it waits for.
        Accessibility::setRole(spinner, QAccessible::ProgressBar);
        spinner->setAccessibleName(m_loadingText->text());
        m_loadingText->setFont(textFont(10));
        layout->addWidget(m_loadingText, 0, Qt::AlignHCenter);
        layout->addStretch();
    }
    m_body->addWidget(m_loadingPage);

    m_emptyPage = new QWidget(m_body);
    m_emptyPage->setObjectName(QStringLiteral("noDisks"));
    {
        auto *layout = new QVBoxLayout(m_emptyPage);
        layout->setSpacing(12);
        layout->addStretch();
        m_emptySymbol = new QLabel(m_emptyPage);
        m_emptySymbol->setObjectName(QStringLiteral("noDisksSymbol"));
        m_emptySymbol->setFixedSize(36, 32);
        layout->addWidget(m_emptySymbol, 0, Qt::AlignHCenter);
        m_emptyText = new QLabel(tr("No removable disks detected"), m_emptyPage);
        m_emptyText->setFont(textFont(11));
        layout->addWidget(m_emptyText, 0, Qt::AlignHCenter);
        layout->addStretch();
    }
    m_body->addWidget(m_emptyPage);

    auto *scroll = new QScrollArea(m_body);
    m_scroll = scroll;
    scroll->setObjectName(QStringLiteral("diskList"));
    // The rows take the focus, not the area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidgetResizable(true);
    // The table's own faint background shows through.
    scroll->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    m_rowColumn = new RowColumn(scroll);
    m_rowColumn->setAutoFillBackground(false);
    Accessibility::setRole(m_rowColumn, QAccessible::List);
    //: What assistive tools call the table of disks.
    m_rowColumn->setAccessibleName(tr("Disks"));
    m_rowLayout = new QVBoxLayout(m_rowColumn);
    m_rowLayout->setContentsMargins(4, 0, 4, 0);
    m_rowLayout->setSpacing(0);
    m_rowLayout->addStretch();
    scroll->setWidget(m_rowColumn);
    m_listPage = scroll;
    m_body->addWidget(m_listPage);

    table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    column->addWidget(table);
    column->addStretch();

    applyColors();
    // The focus leaving the table leaves Tab's stop at the selected row again.
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
            if (m_rows.contains(old) || m_rows.contains(now))
                updateTabStop();
        });
    connect(&m_state, &AppState::changed, this, &DiskSelectionView::refresh);
    refresh();
}

DiskSelectionView::~DiskSelectionView()
{
    // The focus still moves while the widgets go, after the rows' list has gone.
    disconnect(m_focusWatch);
}

void DiskSelectionView::refresh()
{
    const QList<DiskInfo> &disks = m_state.availableDisks();
    if (!sameRows(disks, m_shownDisks))
        rebuildRows(disks);
    const std::optional<DiskInfo> &selected = m_state.selectedDisk();
    bool highlightMoved = false;
    for (DiskRow *row : std::as_const(m_rows)) {
        const bool isSelected = selected && selected->id == row->disk().id;
        highlightMoved = highlightMoved || isSelected != row->isSelected();
        row->setSelected(isSelected);
        row->setRefusal(m_state.whyNotTarget(row->disk()).value_or(QString()));
    }
    if (highlightMoved)
        m_rowColumn->update();

    // Disks left from an earlier listing stay hidden while a new one loads.
    QWidget *page = m_state.isLoadingDisks() ? m_loadingPage
                    : disks.isEmpty()        ? m_emptyPage
                                             : m_listPage;
    // A focused row hands the focus to the page that covers the list, whose words are then read
    // out, and takes it back when the list returns. Cleared before the pages change, the focus
    // does not wander off to the next control as its page goes.
    QWidget *focused = window()->focusWidget();
    DiskRow *focusedInList = rowHoldingFocus();
    const bool waiting = focused && (focused == m_loadingText || focused == m_emptyText);
    if (page == m_body->currentWidget() || (!focusedInList && !waiting)) {
        m_body->setCurrentWidget(page);
    } else {
        if (focusedInList)
            m_waitingDevice = focusedInList->disk().deviceIdentifier;
        focused->clearFocus();
        m_body->setCurrentWidget(page);
        if (page != m_listPage) {
            (page == m_loadingPage ? m_loadingText : m_emptyText)->setFocus(Qt::OtherFocusReason);
        } else {
            DiskRow *row = rowForDevice(m_waitingDevice);
            if (!row || !row->isEnabled())
                row = tabStop();
            if (row)
                row->setFocus(Qt::OtherFocusReason);
            m_waitingDevice.clear();
        }
    }
    updateTabStop();
}

DiskRow *DiskSelectionView::focusedRow() const
{
    const QWidget *focused = window()->focusWidget();
    for (DiskRow *row : m_rows)
        if (row == focused)
            return row;
    return nullptr;
}

DiskRow *DiskSelectionView::rowHoldingFocus() const
{
    const QWidget *focused = window()->focusWidget();
    for (DiskRow *row : m_rows)
        if (row == focused || row->isAncestorOf(focused))
            return row;
    return nullptr;
}

DiskRow *DiskSelectionView::rowForDevice(const QString &device) const
{
    for (DiskRow *row : m_rows)
        if (row->disk().deviceIdentifier == device)
            return row;
    return nullptr;
}

DiskRow *DiskSelectionView::tabStop() const
{
    if (DiskRow *row = focusedRow())
        return row;
    DiskRow *first = nullptr;
    for (DiskRow *row : m_rows) {
        if (!row->isEnabled())
            continue;
        if (row->isSelected())
            return row;
        if (!first)
            first = row;
    }
    return first;
}

void DiskSelectionView::updateTabStop()
{
    DiskRow *stop = tabStop();
    for (DiskRow *row : std::as_const(m_rows))
        row->setFocusPolicy(row == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void DiskSelectionView::step(DiskRow *from, DiskRow::Step step)
{
    QList<DiskRow *> choosable;
    for (DiskRow *row : std::as_const(m_rows))
        if (row->isEnabled())
            choosable << row;
    const qsizetype at = choosable.indexOf(from);
    if (at < 0)
        return;
    const qsizetype last = choosable.size() - 1;
    const qsizetype to = step == DiskRow::Step::previous ? std::max<qsizetype>(at - 1, 0)
                         : step == DiskRow::Step::next   ? std::min(at + 1, last)
                         : step == DiskRow::Step::first  ? 0
                                                         : last;
    DiskRow *target = choosable.at(to);
    if (target != from) {
        target->setFocus(Qt::OtherFocusReason);
        m_scroll->ensureWidgetVisible(target, 0, 0);
        updateTabStop();
    }
    // The selection goes with the focus, as it would with a click.
    if (!target->isSelected())
        emit target->clicked();
}

void DiskSelectionView::rebuildRows(const QList<DiskInfo> &disks)
{
    DiskRow *hadFocus = focusedRow();
    const QString focusedDevice = hadFocus ? hadFocus->disk().deviceIdentifier : QString();
    const bool ringShown = hadFocus && hadFocus->showsFocusRing();
    const QList<DiskRow *> old = m_rows;
    for (DiskRow *row : old)
        m_rowLayout->removeWidget(row);
    m_rows.clear();
    m_shownDisks = disks;

    int position = 0;
    for (const DiskInfo &disk : disks) {
        auto *row = new DiskRow(
            disk, false, [this, disk] { m_state.ejectDisk(disk); }, m_rowColumn);
        // Takes effect on the next turn of the loop, as a click on any control does.
        connect(row, &DiskRow::clicked, this, [this, disk] {
            runOnMainThread(this, [this, disk] { m_state.selectedDisk = disk; });
        });
        connect(row, &DiskRow::stepRequested, this,
                [this, row](DiskRow::Step to) { step(row, to); });
        m_rowLayout->insertWidget(position++, row, 0, Qt::AlignHCenter);
        m_rows << row;
    }

    // The same disk's new row takes the focus, as it had come: by the keyboard or by a click.
    if (hadFocus) {
        hadFocus->clearFocus();
        DiskRow *row = rowForDevice(focusedDevice);
        if (!row)
            row = tabStop();
        if (row)
            row->setFocus(ringShown ? Qt::OtherFocusReason : Qt::MouseFocusReason);
    }
    // A row may be the sender of what led here, so it goes once control is back in the loop.
    for (DiskRow *row : old) {
        row->hide();
        row->deleteLater();
    }
    emit rowsChanged();
}

void DiskSelectionView::applyColors()
{
    const QColor secondary = NamedColors::secondaryText(palette());
    setTextColor(m_warning, secondary);
    setTextColor(m_loadingText, secondary);
    m_emptySymbol->setPixmap(symbolIcon(QStringLiteral("externaldrive"), secondary)
                                 .pixmap(m_emptySymbol->size(), devicePixelRatioF()));
}

void DiskSelectionView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}
