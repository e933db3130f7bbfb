#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

class AppState;
class OverlayPanel;

// Covers the main window while a long operation runs: a dimmed backdrop with a small draggable
// window on it, either the standard progress window or the terminal window of the password-fed
// USB path. Everything it shows is read from the state; it changes the state only through its
// dismiss, cancel and password controls.
//
// Given a parent, it covers the parent's whole area and follows its size. Whoever removes the
// overlay in answer to a dismiss should do so with deleteLater(): the dismiss runs from inside
// one of the overlay's own buttons.
//
// While it is up it keeps the keyboard: Tab goes round the small window's controls only, and
// Escape presses the window's way out (see OverlayPanel::escapeButton). To assistive tools it is
// a modal dialog named by the small window's title.
class UnifiedProgressOverlay : public QWidget {
    Q_OBJECT

public:
    // What the overlay shows; not the same as ProgressInfo::OperationType.
    enum class OperationType {
        scanning,
        installingPKG,
        downloadingInstaller,
        creatingUSB,
        createBootableDMG,
        terminalOperation
    };
    Q_ENUM(OperationType)

    static constexpr int standardWidth = 480;
    static constexpr int standardHeight = 280;
    static constexpr int terminalWidth = 520;
    static constexpr int terminalHeight = 360;
    static constexpr int cornerRadius = 10;

    UnifiedProgressOverlay(OperationType operationType, AppState &appState,
                           QWidget *parent = nullptr);
    ~UnifiedProgressOverlay() override;

    OperationType operationType() const { return m_operationType; }

    // The small window on the backdrop: the standard or the terminal window.
    QWidget *panel() const;
    // The controls Tab goes round, in order.
    QList<QWidget *> tabStops() const;
    // How far the small window has been dragged from its centred place.
    QPoint dragOffset() const { return m_dragOffset; }
    // Whether the pointer is over the title bar (the window-control dots show their symbols).
    bool isDragging() const;
    // What has been typed into the terminal window's password field.
    QString password() const;

    // The standard window's title for `type` with the current selection.
    static QString windowTitle(OperationType type, const AppState &appState);

    // Red dot, "Cancel" and "Close": a running job is asked to stop (see
    // AppState::requestCancel) and its result then stays; an ended job's overlay is put away.
    static void dismiss(AppState &appState, OperationType type);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void refresh();
    void dragTo(const QPoint &translation);
    void placePanel();
    QPixmap shadowFor(const QSize &panelSize);

    AppState &m_state;
    const OperationType m_operationType;
    OverlayPanel *m_panel = nullptr;
    QPoint m_dragOffset;
    QPixmap m_shadow;
    QSize m_shadowPanelSize;
    qreal m_shadowRatio = 0;
};
