#pragma once

#include "disk/DiskInfo.h"
#include "ui/DiskRow.h"

#include <QList>
#include <QWidget>

class AppState;
class QLabel;
class QScrollArea;
class QStackedWidget;
class QVBoxLayout;

// The target-disk block of the installer pane: a heading, the erase warning and a small table of
// the removable disks, with a spinner while they load and a note when there are none. A click on
// a row selects that disk; each row's eject button ejects it.
//
// From the keyboard the table is one stop for Tab, at the selected row (or the first); the arrow
// keys, Home and End move the focus and the selection through the rows, Space and Return select
// the row that has the focus. The focus stays with the same disk when the rows are made anew.
class DiskSelectionView : public QWidget {
    Q_OBJECT

public:
    // Height of the table's body, whatever it shows.
    static constexpr int listHeight = 180;

    explicit DiskSelectionView(AppState &state, QWidget *parent = nullptr);
    ~DiskSelectionView() override;

    // The rows shown, in list order; empty while loading or when there are no disks.
    QList<DiskRow *> rows() const { return m_rows; }
    // The row Tab reaches; none when there is no row that can be chosen.
    DiskRow *tabStop() const;

signals:
    // The rows were made anew.
    void rowsChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void rebuildRows(const QList<DiskInfo> &disks);
    void applyColors();
    void step(DiskRow *from, DiskRow::Step step);
    DiskRow *focusedRow() const;
    // The row that has the focus, or whose eject button has it.
    DiskRow *rowHoldingFocus() const;
    DiskRow *rowForDevice(const QString &device) const;
    void updateTabStop();

    AppState &m_state;
    QLabel *m_warning = nullptr;
    QLabel *m_emptySymbol = nullptr;
    QLabel *m_loadingText = nullptr;
    QStackedWidget *m_body = nullptr;
    QWidget *m_loadingPage = nullptr;
    QWidget *m_emptyPage = nullptr;
    QWidget *m_listPage = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_emptyText = nullptr;
    QWidget *m_rowColumn = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    QList<DiskRow *> m_rows;
    QList<DiskInfo> m_shownDisks;
    // The device whose row had the focus when the list was covered, while the focus waits on the
    // page that covers it.
    QString m_waitingDevice;
    QMetaObject::Connection m_focusWatch;
};
