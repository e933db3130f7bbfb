#pragma once

#include "disk/DiskInfo.h"

#include <QList>
#include <QWidget>

class AppState;
class DiskRow;
class QLabel;
class QStackedWidget;
class QVBoxLayout;

// The target-disk block of the installer pane: a heading, the erase warning and a small table of
// the removable disks, with a spinner while they load and a note when there are none. A click on
// a row selects that disk; each row's eject button ejects it.
class DiskSelectionView : public QWidget {
    Q_OBJECT

public:
    // Height of the table's body, whatever it shows.
    static constexpr int listHeight = 180;

    explicit DiskSelectionView(AppState &state, QWidget *parent = nullptr);

    // The rows shown, in list order; empty while loading or when there are no disks.
    QList<DiskRow *> rows() const { return m_rows; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void rebuildRows(const QList<DiskInfo> &disks);
    void applyColors();

    AppState &m_state;
    QLabel *m_warning = nullptr;
    QLabel *m_emptySymbol = nullptr;
    QLabel *m_loadingText = nullptr;
    QStackedWidget *m_body = nullptr;
    QWidget *m_loadingPage = nullptr;
    QWidget *m_emptyPage = nullptr;
    QWidget *m_listPage = nullptr;
    QWidget *m_rowColumn = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    QList<DiskRow *> m_rows;
    QList<DiskInfo> m_shownDisks;
};
