#pragma once

#include "model/CodeSignature.h"

#include <QUuid>
#include <QWidget>

class AppState;
class QLabel;
class QListWidget;

// The sidebar column: the installer library as a single-selection list under the header
// "Available Installers", bound to the selected installer. The arrow keys, Home and End move the
// selection; to assistive tools each row is the installer's name, described by its version.
class SidebarView : public QWidget {
    Q_OBJECT

public:
    explicit SidebarView(AppState &state, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    QLabel *header() const { return m_header; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void rebuildRows();
    void showSelection();
    void updateRowLooks();
    void selectionMadeInList();

    AppState &m_state;
    QLabel *m_header;
    QListWidget *m_list;
    // What the rows show of each installer; the rows are made anew when it changes.
    QList<std::pair<QUuid, CodeSignature::State>> m_shown;
    bool m_updatingList = false;
};
