#include "MainWindow.h"

#include "Menus.h"
#include "exec/Notification.h"
#include "state/AppState.h"
#include "ui/ContentView.h"
#include "ui/SidebarView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

namespace {

const QString verifySettingKey = QStringLiteral("verifyMediaAfterWriting");

} // namespace

MainWindow::MainWindow(AppState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_content(new ContentView(state)), m_picker(this)
{
    m_content->setFixedSize(contentSize);
    setCentralWidget(m_content);
    // The toolbar joins the title bar on macOS; elsewhere it sits above the content.
    addToolBar(Qt::TopToolBarArea, m_content->toolBar());
    setUnifiedTitleAndToolBarOnMac(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    m_menus = std::make_unique<Menus>(*menuBar(), state, [this] { close(); });
    // The keys start in the installer list, as the window opens.
    m_content->sidebar()->list()->setFocus();

    // Not resizable: the window is exactly as large as what it holds.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();

    // Whether media is checked after writing is remembered from one run to the next.
    m_verifiesMedia = QSettings().value(verifySettingKey, true).toBool();
    state.verifiesMedia = m_verifiesMedia;
    connect(&state, &AppState::changed, this, [this] {
        if (m_state.verifiesMedia() == m_verifiesMedia)
            return;
        m_verifiesMedia = m_state.verifiesMedia();
        QSettings().setValue(verifySettingKey, m_verifiesMedia);
    });

    updateTitle();
    connect(&state, &AppState::windowTitleChanged, this, &MainWindow::updateTitle);
    connect(&state, &AppState::changed, this, &MainWindow::updateTitle);
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_quitConfirmed && m_state.askBeforeQuitting([this] {
            m_quitConfirmed = true;
            close();
        })) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::updateTitle()
{
    const bool running = m_state.hasJob();
    QString title = m_state.windowTitle();
    if (running) {
        const AppState::JobKind kind = m_state.jobKind();
        const QString job = kind == AppState::JobKind::usb   ? tr("Creating Bootable USB")
                            : kind == AppState::JobKind::iso ? tr("Creating Bootable ISO")
                            : kind == AppState::JobKind::download
                                ? tr("Downloading a macOS Installer")
                            : kind == AppState::JobKind::verify ? tr("Verifying Media")
                                                                : tr("Installing macOS Package");
        //: The window's title while a job runs: %1 is the whole percentage done, %2 the job.
        title =
            tr("%1 % \u2014 %2").arg(QString::number(int(m_state.progressInfo().percentage)), job);
    }
    if (windowTitle() != title)
        setWindowTitle(title);
    // A job that ends while the user is elsewhere says so the desktop's way, and how it ended.
    if (m_jobWasRunning && !running && !isActiveWindow()) {
        QApplication::alert(this);
        postNotification(m_state.jobOutcome());
    }
    m_jobWasRunning = running;
}
