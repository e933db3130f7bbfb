#include "MainWindow.h"

#include "Menus.h"
#include "state/AppState.h"
#include "ui/ContentView.h"

#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

MainWindow::MainWindow(AppState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_content(new ContentView(state)), m_picker(this)
{
    m_content->setFixedSize(contentSize);
    setCentralWidget(m_content);
    // The toolbar joins the title bar on macOS; elsewhere it sits above the content.
    addToolBar(Qt::TopToolBarArea, m_content->toolBar());
    setUnifiedTitleAndToolBarOnMac(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    m_menus = std::make_unique<Menus>(*menuBar(), state);

    // Not resizable: the window is exactly as large as what it holds.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();

    setWindowTitle(state.windowTitle());
    connect(&state, &AppState::windowTitleChanged, this, &QWidget::setWindowTitle);
    state.setFilePicker(&m_picker);
}

MainWindow::~MainWindow()
{
    m_state.setFilePicker(nullptr);
}

void MainWindow::centreOnScreen()
{
    const QScreen *shownOn = screen();
    if (!shownOn)
        return;
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(shownOn->availableGeometry().center());
    move(frame.topLeft());
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_contentShown)
        return;
    m_contentShown = true;
    m_state.scanForInstallers();
}
