// A termination signal must end the application even while a modal alert waits for an answer,
// or the demo world it made would be left behind. Its own executable: once the application has
// been told to exit, no event loop in the process runs again.
#include "QuitOnSignal.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <csignal>

class QuitOnSignalTest : public QObject {
    Q_OBJECT

private slots:
    void terminationEndsAModalDialog()
    {
        quitApplicationOnSignals();
        QDialog dialog;
        QTimer::singleShot(100, [] { std::raise(SIGTERM); });
        // Should the signal go unheard, the dialog ends itself and the test fails, not hangs.
        QTimer::singleShot(5000, &dialog, &QDialog::reject);
        QElapsedTimer elapsed;
        elapsed.start();
        dialog.exec();
        QVERIFY2(elapsed.elapsed() < 4000, "the dialog outlived the termination signal");
    }
};

QTEST_MAIN(QuitOnSignalTest)
#include "tst_quitonsignal.moc"
