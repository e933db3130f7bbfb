#pragma once

#include "disk/DiskInfo.h"

#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;

// One removable disk in the target table: icon, name and device, sizes, the selection mark and
// an eject button. The whole row can be clicked, or pressed with Space or Return when it has the
// focus; what that does is up to the table, as is where the arrow keys take the focus. To
// assistive tools it is a selectable list item named after the volume and described by the
// rest of what it shows ("30.66 GB USB volume, 30.59 GB free, disk4s2, selected").
class DiskRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 40;
    static constexpr int diskCellWidth = 290;
    static constexpr int sizeCellWidth = 100;
    static constexpr int selectCellWidth = 60;
    static constexpr int ejectCellWidth = 60;

    // Where the arrow keys (and Home and End) ask the focus to go.
    enum class Step { previous, next, first, last };

    DiskRow(const DiskInfo &disk, bool isSelected, std::function<void()> onEject,
            QWidget *parent = nullptr);

    const DiskInfo &disk() const { return m_disk; }
    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected);
    // Why the volume cannot be the target, shown in the row, which then takes no clicks; empty
    // when it can.
    void setRefusal(const QString &reason);
    QString refusal() const { return m_refusal; }

    QToolButton *ejectButton() const { return m_eject; }
    // Whether the focus ring is drawn: the row has the focus, and not from a click.
    bool showsFocusRing() const { return hasFocus() && m_focusFromKeyboard; }

    QSize sizeHint() const override;

signals:
    void clicked();
    void stepRequested(DiskRow::Step step);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void applyColors();
    void describe();

    DiskInfo m_disk;
    bool m_isSelected = false;
    std::function<void()> m_onEject;
    bool m_pressed = false;
    bool m_focusFromKeyboard = false;
    QString m_refusal;
    QLabel *m_icon = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_identifier = nullptr;
    QWidget *m_mark = nullptr;
    QToolButton *m_eject = nullptr;
};
