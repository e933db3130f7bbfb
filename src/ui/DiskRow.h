#pragma once

#include "disk/DiskInfo.h"

#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;

// One removable disk in the target table: icon, name and device, sizes, the selection mark and
// an eject button. The whole row can be clicked; what a click does is up to the table.
class DiskRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 40;
    static constexpr int diskCellWidth = 290;
    static constexpr int sizeCellWidth = 100;
    static constexpr int selectCellWidth = 60;
    static constexpr int ejectCellWidth = 60;

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

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    DiskInfo m_disk;
    bool m_isSelected = false;
    std::function<void()> m_onEject;
    bool m_pressed = false;
    QString m_refusal;
    QLabel *m_icon = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_identifier = nullptr;
    QWidget *m_mark = nullptr;
    QToolButton *m_eject = nullptr;
};
