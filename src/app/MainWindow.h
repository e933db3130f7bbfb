#pragma once

#include "ui/FileDialogPicker.h"

#include <QMainWindow>

#include <memory>

class AppState;
class ContentView;
class Menus;

// The application's one window: the content at a fixed 900 × 600, the toolbar, the menus, and
// the file dialog the state asks when an installer is added. Titled as the state says.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize contentSize{900, 600};

    explicit MainWindow(AppState &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    ContentView *content() const { return m_content; }
    const Menus &menus() const { return *m_menus; }

    // Puts the window in the middle of the screen it is on.
    void centreOnScreen();

protected:
    void showEvent(QShowEvent *event) override;
    // Closing during a job asks first; yes stops the job and quits.
    void closeEvent(QCloseEvent *event) override;

private:
    AppState &m_state;
    ContentView *m_content;
    FileDialogPicker m_picker;
    std::unique_ptr<Menus> m_menus;
    bool m_contentShown = false;
    bool m_quitConfirmed = false;
    bool m_jobWasRunning = false;
    // The choice of checking media as last stored.
    bool m_verifiesMedia = true;

    // The installer's name, or the running job's progress ("45 % — Creating Bootable USB").
    void updateTitle();
};
