#pragma once

#include "ui/UnifiedProgressOverlay.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class AlertDialog;
class AppState;
class MainView;
class NoInstallerSelectedView;
class QAction;
class QSplitter;
class QStackedWidget;
class QToolBar;
class SidebarView;

// The content of the main window: the installer list and the detail column side by side, the
// toolbar with the main commands, the progress overlays of the long operations above them, and
// the one alert. Everything it shows follows from the state; every command is a call on it.
// Tab goes through the controls in reading order; an overlay that comes up takes the keys, and
// gives them back to the control that had them when it goes.
class ContentView : public QWidget {
    Q_OBJECT

public:
    explicit ContentView(AppState &state, QWidget *parent = nullptr);

    // Starts out at the top of this view; the window may move it into its own toolbar area.
    QToolBar *toolBar() const { return m_toolBar; }

    QAction *toggleSidebarAction() const { return m_toggleSidebar; }
    QAction *scanAction() const { return m_scan; }
    QAction *refreshAction() const { return m_refresh; }
    QAction *addAction() const { return m_add; }
    QAction *infoAction() const { return m_info; }
    QAction *donateAction() const { return m_donate; }

    SidebarView *sidebar() const { return m_sidebar; }
    bool isSidebarShown() const;
    // MainView while an installer is selected, NoInstallerSelectedView otherwise.
    QWidget *detail() const;
    MainView *mainView() const { return m_mainView; }
    NoInstallerSelectedView *noInstallerView() const { return m_noInstallerView; }

    // The overlays present, back to front.
    QList<UnifiedProgressOverlay *> overlays() const;
    // The kind of each overlay present, back to front.
    QList<UnifiedProgressOverlay::OperationType> overlayKinds() const;
    // The alert on screen, if any.
    AlertDialog *alert() const;

public slots:
    void toggleSidebar();

private:
    struct Layer {
        UnifiedProgressOverlay *overlay = nullptr;
        UnifiedProgressOverlay::OperationType kind{};
    };

    void buildToolBar();
    QList<QWidget *> toolBarButtons() const;
    // Puts every control in reading order for Tab: the toolbar, the sidebar, then the detail
    // column from top to bottom. Tab goes round, so the window taking the toolbar into an area
    // of its own, before the rest, changes nothing.
    void orderTabs();
    void refresh();
    void noteFocus();
    void updateOverlays();
    void updateAlert();

    AppState &m_state;
    QToolBar *m_toolBar = nullptr;
    QAction *m_toggleSidebar = nullptr;
    QAction *m_scan = nullptr;
    QAction *m_refresh = nullptr;
    QAction *m_add = nullptr;
    QAction *m_info = nullptr;
    QAction *m_donate = nullptr;
    // What Scan and Add say when they can be used.
    QString m_scanTip;
    QString m_addTip;
    QWidget *m_body = nullptr;
    QSplitter *m_splitter = nullptr;
    SidebarView *m_sidebar = nullptr;
    QStackedWidget *m_detail = nullptr;
    MainView *m_mainView = nullptr;
    NoInstallerSelectedView *m_noInstallerView = nullptr;
    std::array<Layer, 5> m_layers;
    QPointer<AlertDialog> m_alert;
    // The control that had the keys before the overlays came up.
    QPointer<QWidget> m_focusUnderOverlays;
};
