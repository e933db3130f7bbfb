#include "ui/SidebarView.h"

#include "state/AppState.h"
#include "ui/InstallerRow.h"
#include "ui/KeyboardAccess.h"
#include "ui/NamedColors.h"

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// Rows are drawn by their InstallerRow; the list only draws the rounded selection behind them,
// in the accent colour while the list has the focus and in a quiet gray otherwise. Once the
// keyboard moves the focus about, a row that has it without being selected has a focus ring.
class SelectionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &) const override
    {
        if (!(option.state & QStyle::State_Selected)) {
            if ((option.state & QStyle::State_HasFocus) &&
                (option.state & QStyle::State_KeyboardFocusChange)) {
                const qreal inset = KeyboardAccess::focusRingWidth;
                KeyboardAccess::paintFocusRing(
                    *painter, QRectF(option.rect).adjusted(inset, inset + 1, -inset, -inset - 1), 3,
                    option.palette);
            }
            return;
        }
        const bool emphasized = option.widget && option.widget->hasFocus();
        const QColor fill = emphasized ? NamedColors::accent(option.palette)
                                       : NamedColors::withOpacity(NamedColors::gray(), 0.25);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(option.rect).adjusted(0, 1, 0, -1), 5, 5);
        painter->fillPath(path, fill);
        painter->restore();
    }
};

QList<std::pair<QUuid, CodeSignature::State>> shownOf(const QList<InstallerApp> &installers)
{
    QList<std::pair<QUuid, CodeSignature::State>> shown;
    for (const InstallerApp &installer : installers)
        shown.append({installer.id, installer.signature.state});
    return shown;
}

} // namespace

SidebarView::SidebarView(AppState &state, QWidget *parent)
    : QWidget(parent), m_state(state), m_header(new QLabel(tr("Available Installers"), this)),
      m_list(new QListWidget(this))
{
    setMinimumWidth(250);

    QFont headerFont = font();
    headerFont.setPixelSize(11);
    headerFont.setWeight(QFont::Bold);
    m_header->setFont(headerFont);

    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setItemDelegate(new SelectionDelegate(m_list));
    m_list->setSpacing(0);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    m_list->installEventFilter(this);
    // Named after its header for assistive tools. Up and Down, Home and End move the selection,
    // as a list's keys do.
    m_list->setAccessibleName(tr("Available Installers"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 0);
    column->setSpacing(4);
    column->addWidget(m_header);
    column->addWidget(m_list, 1);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &SidebarView::selectionMadeInList);
    connect(&m_state, &AppState::changed, this, &SidebarView::refresh);
    changeEvent(nullptr);
    refresh();
}

void SidebarView::changeEvent(QEvent *event)
{
    if (event)
        QWidget::changeEvent(event);
    if (!event || event->type() == QEvent::PaletteChange) {
        QPalette colors = m_header->palette();
        colors.setColor(QPalette::WindowText, NamedColors::secondaryText(palette()));
        m_header->setPalette(colors);
    }
}

bool SidebarView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        updateRowLooks();
    return QWidget::eventFilter(watched, event);
}

void SidebarView::paintEvent(QPaintEvent *)
{
    // The sidebar stands apart from the detail column by a faint tint.
    QPainter painter(this);
    painter.fillRect(rect(), NamedColors::withOpacity(NamedColors::gray(), 0.08));
}

void SidebarView::refresh()
{
    // The state announces every change, progress included; only a new list is rebuilt.
    if (shownOf(m_state.installers()) != m_shown)
        rebuildRows();
    showSelection();
}

void SidebarView::rebuildRows()
{
    m_updatingList = true;
    m_list->clear();
    const QList<InstallerApp> installers = m_state.installers();
    m_shown = shownOf(installers);
    // Installers of the same name are told apart by where they lie.
    QHash<QString, int> named;
    for (const InstallerApp &installer : installers)
        ++named[installer.name];
    for (const InstallerApp &installer : installers) {
        auto *item = new QListWidgetItem(m_list);
        auto *row = new InstallerRow(installer, named.value(installer.name) > 1);
        item->setSizeHint(QSize(0, row->sizeHint().height()));
        item->setData(Qt::AccessibleTextRole, installer.name);
        item->setData(Qt::AccessibleDescriptionRole, row->accessibleDescription());
        m_list->setItemWidget(item, row);
    }
    m_updatingList = false;
}

void SidebarView::showSelection()
{
    const std::optional<InstallerApp> &selected = m_state.selectedInstaller();
    int selectedRow = -1;
    for (int i = 0; selected && i < m_list->count(); ++i) {
        const auto *row = static_cast<InstallerRow *>(m_list->itemWidget(m_list->item(i)));
        if (row->installer() == *selected) {
            selectedRow = i;
            break;
        }
    }
    m_updatingList = true;
    if (selectedRow < 0) {
        m_list->clearSelection();
    } else if (!m_list->item(selectedRow)->isSelected()) {
        m_list->setCurrentRow(selectedRow, QItemSelectionModel::ClearAndSelect);
    }
    m_updatingList = false;
    updateRowLooks();
}

void SidebarView::updateRowLooks()
{
    const bool emphasized = m_list->hasFocus();
    for (int i = 0; i < m_list->count(); ++i) {
        auto *row = static_cast<InstallerRow *>(m_list->itemWidget(m_list->item(i)));
        row->setSelected(emphasized && m_list->item(i)->isSelected());
    }
}

void SidebarView::selectionMadeInList()
{
    if (m_updatingList)
        return;
    const QList<QListWidgetItem *> items = m_list->selectedItems();
    if (items.isEmpty()) {
        m_state.selectedInstaller = std::nullopt;
        return;
    }
    const auto *row = static_cast<InstallerRow *>(m_list->itemWidget(items.first()));
    m_state.selectedInstaller = row->installer();
}
