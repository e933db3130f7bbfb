#pragma once

class QCheckBox;

#include <QWidget>

class AppState;
class DiskSelectionView;
class QAbstractButton;
class QLabel;
class StyledButton;

// The pane shown while an installer is selected: the installer's particulars, the target-disk
// table and the two buttons that start making media, in one vertically scrolling column.
class InstallerDetailView : public QWidget {
    Q_OBJECT

public:
    static constexpr int buttonWidth = 140;
    static constexpr int usbButtonWidth = 160;
    static constexpr int buttonSpacing = 6;

    explicit InstallerDetailView(AppState &state, QWidget *parent = nullptr);

    StyledButton *createISOButton() const { return m_createISO; }
    StyledButton *createUSBButton() const { return m_createUSB; }
    QCheckBox *verifyCheckBox() const { return m_verify; }
    DiskSelectionView *diskSelection() const { return m_disks; }
    // Every control of the pane, in reading order, as Tab should go through them.
    QList<QWidget *> controlsInOrder() const;

signals:
    // The pane's controls changed (the disk rows were made anew).
    void controlsChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void showInstaller();
    void copyIconToClipboard();

    AppState &m_state;
    QWidget *m_particulars = nullptr;
    QAbstractButton *m_iconButton = nullptr;
    // Which installer icon the button shows (none yet), so that it is set only when it changes.
    qint64 m_shownIconKey = -1;
    QLabel *m_name = nullptr;
    QLabel *m_macOSVersion = nullptr;
    QLabel *m_installerVersion = nullptr;
    QLabel *m_installerSize = nullptr;
    QLabel *m_location = nullptr;
    QLabel *m_signature = nullptr;
    DiskSelectionView *m_disks = nullptr;
    StyledButton *m_createISO = nullptr;
    StyledButton *m_createUSB = nullptr;
    QCheckBox *m_verify = nullptr;
};
