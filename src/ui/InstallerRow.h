#pragma once

#include "model/InstallerApp.h"

#include <QWidget>

class QLabel;

// One row of the installer list: the installer's icon, its name and its macOS version, a warning
// when it is not signed by Apple, and where it lies when another listed installer has its name.
class InstallerRow : public QWidget {
    Q_OBJECT

public:
    InstallerRow(const InstallerApp &installer, bool showLocation, QWidget *parent = nullptr);

    const InstallerApp &installer() const { return m_installer; }
    // What assistive tools read after the installer's name: its version, and the warning and
    // the place when the row shows them.
    QString accessibleDescription() const;
    // The list draws a selected row on the accent colour; its text turns to match.
    void setSelected(bool selected);

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    InstallerApp m_installer;
    bool m_selected = false;
    QLabel *m_icon;
    QLabel *m_name;
    QLabel *m_version;
    QLabel *m_warning;
    QLabel *m_location;
};
