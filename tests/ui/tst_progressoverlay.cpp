#include "state/AppState.h"
#include "support/StandInSession.h"
#include "ui/OverlayParts.h"
#include "ui/StepIndicatorDot.h"
#include "ui/StepRowView.h"
#include "ui/TerminalWindow.h"
#include "ui/UnifiedProgressOverlay.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>

using OperationType = UnifiedProgressOverlay::OperationType;

Q_DECLARE_METATYPE(ProgressStep)

namespace {

ProgressStep step(bool isComplete, bool inProgress, double within)
{
    return {"Copying Files", "Copying the installer", 0, 0, isComplete, inProgress, {}, within};
}

// Drags the title bar by `by` in two moves from its middle; as it moves with the window, every
// point is taken from the same global start.
void drag(QWidget *titleBar, const QPoint &by)
{
    const QPoint start = titleBar->mapToGlobal(QPoint(titleBar->width() / 2, 5));
    QTest::mousePress(titleBar, Qt::LeftButton, {}, titleBar->mapFromGlobal(start));
    QTest::mouseMove(titleBar, titleBar->mapFromGlobal(start + by / 2));
    QTest::mouseMove(titleBar, titleBar->mapFromGlobal(start + by));
    QTest::mouseRelease(titleBar, Qt::LeftButton, {}, titleBar->mapFromGlobal(start + by));
}

} // namespace

class TestProgressOverlay : public QObject, private StandInSession {
    Q_OBJECT

    // The overlay over a window-sized host.
    std::unique_ptr<QWidget> host;
    UnifiedProgressOverlay *current = nullptr;

    UnifiedProgressOverlay *createOverlay(OperationType type)
    {
        delete current;
        return current = new UnifiedProgressOverlay(type, *state, host.get());
    }

    template <typename T = QWidget> T *find(const QString &name) const
    {
        return current->findChild<T *>(name);
    }

    bool shows(const QString &name) const { return find(name) && find(name)->isVisibleTo(current); }

    QString text(const QString &name) const { return find<QLabel>(name)->text(); }

    // Publishes a record without steps, changed as given.
    void setProgress(const std::function<void(ProgressInfo &)> &change)
    {
        ProgressInfo progress;
        progress.steps.clear();
        change(progress);
        state->progressInfo = progress;
    }

private slots:
    void init()
    {
        startSession(SharedSupport::attached);
        host = std::make_unique<QWidget>();
        host->resize(900, 600);
    }

    void cleanup()
    {
        host.reset();
        current = nullptr;
        endSession();
    }

    void standardContentFollowsTheRecord_data()
    {
        QTest::addColumn<OperationType>("type");
        QTest::addColumn<QString>("fallback");
        QTest::addColumn<bool>("sipEnabled");
        QTest::addColumn<bool>("sipShown");
        QTest::newRow("package") << OperationType::installingPKG << "Installing macOS package..."
                                 << true << false;
        QTest::newRow("usb") << OperationType::creatingUSB << "Creating bootable USB..." << true
                             << true;
        QTest::newRow("usb, no protection")
            << OperationType::creatingUSB << "Creating bootable USB..." << false << false;
        QTest::newRow("image") << OperationType::createBootableDMG
                               << "Creating bootable disk image..." << true << false;
    }

    // Simple content until the record has steps, percentages truncated, the protection notice
    // only for USB creation; Cancel with no job behind the overlay puts it away (what Cancel does
    // to a job is the workflow tests' business); a finished one shows its outcome; a scan shows
    // its own content whatever the record.
    void standardContentFollowsTheRecord()
    {
        QFETCH(OperationType, type);
        QFETCH(QString, fallback);
        QFETCH(bool, sipEnabled);
        QFETCH(bool, sipShown);
        const auto running = [&] {
            return type == OperationType::installingPKG ? state->isInstallingPKG()
                                                        : state->isCreatingMedia();
        };
        state->isSIPEnabled = sipEnabled;
        state->isInstallingPKG = true;
        state->isCreatingMedia = true;
        setProgress([](ProgressInfo &) {});
        createOverlay(type);
        QVERIFY(shows("simpleContent") && !shows("stepsContent") && !shows("simpleDetail"));
        QVERIFY(shows("cancelButton") && !shows("completionView"));
        QCOMPARE(text("headline"), fallback);
        QCOMPARE(shows("sipNotice"), sipShown);
        setProgress([](ProgressInfo &progress) {
            progress.message = "Copying";
            progress.detailMessage = "3 of 9 files";
            progress.percentage = 99.9;
        });
        QCOMPARE(text("headline"), "Copying");
        QVERIFY(shows("simpleDetail"));
        QCOMPARE(text("percentText"), "99% Complete");
        setProgress([](ProgressInfo &progress) {
            progress.setupSteps(ProgressInfo::OperationType::usbCreation);
            progress.percentage = 99.9;
        });
        QVERIFY(shows("stepsContent") && !shows("simpleContent"));
        QCOMPARE(text("progressHeader"), "Progress: 99%");
        QCOMPARE(shows("sipBadge"), sipShown);
        find<QAbstractButton>("cancelButton")->click();
        QVERIFY(!state->isShowingAlert() && !running());
        // A failure without an error text has no second line.
        setProgress([](ProgressInfo &progress) { progress.markComplete(false); });
        QVERIFY(shows("completionView") && !shows("cancelButton") && !shows("completionDetail"));
        QCOMPARE(text("completionTitle"), "Operation Failed");
        setProgress([](ProgressInfo &p) { p.markComplete(false, {}, "Disk is too small"); });
        QCOMPARE(text("completionDetail"), "Disk is too small");
        setProgress([](ProgressInfo &progress) {
            progress.markComplete(true);
            progress.outputPath = "/Users/me/Desktop/macOS Sonoma.iso";
        });
        QCOMPARE(text("completionTitle"), "Operation Complete");
        QCOMPARE(text("completionDetail"), "/Users/me/Desktop/macOS Sonoma.iso");
        state->isInstallingPKG = true;
        state->isCreatingMedia = true;
        find<QAbstractButton>("closeButton")->click();
        QVERIFY(!running());
        createOverlay(OperationType::scanning);
        QVERIFY(shows("scanContent") && !shows("stepsContent") && !shows("cancelButton"));
    }

    void stepsContent()
    {
        ProgressInfo progress;
        progress.setupSteps(ProgressInfo::OperationType::usbCreation);
        progress.updateCurrentStep(1);
        state->progressInfo = progress;
        createOverlay(OperationType::creatingUSB);
        QVERIFY(shows("stepCard"));
        QCOMPARE(current->findChild<StepRowView *>()->step(), progress.steps.at(1));
        const auto dots = current->findChildren<StepIndicatorDot *>();
        QCOMPARE(dots.size(), progress.steps.size());
        QVERIFY(dots.at(0)->isComplete() && dots.at(1)->isActive() && dots.at(2)->isFuture());
        QVERIFY(!dots.at(1)->isFuture() && !dots.at(2)->isActive());
        // An index outside the list: no card, but every dot, none of them active.
        for (const qint64 outside : {qint64(progress.steps.size()), qint64(-1)}) {
            state->progressInfo.modify([&](ProgressInfo &p) { p.currentStep = outside; });
            QVERIFY(!shows("stepCard") && shows("stepDots"));
            const auto all = current->findChildren<StepIndicatorDot *>();
            QCOMPARE(all.size(), progress.steps.size());
            QVERIFY(std::none_of(all.begin(), all.end(), [](auto *d) { return d->isActive(); }));
        }
    }

    void dismissClearsTheFlagOfItsKind_data()
    {
        QTest::addColumn<OperationType>("type");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("stillSet");
        const auto terminal = OperationType::terminalOperation;
        QTest::newRow("scan") << OperationType::scanning << "closeDot" << false << "pkg media";
        QTest::newRow("package") << OperationType::installingPKG << "closeDot" << false
                                 << "scan media";
        QTest::newRow("usb") << OperationType::creatingUSB << "closeDot" << false << "scan pkg";
        // The terminal's overlay goes with the creating-media flag, whenever it is put away.
        QTest::newRow("terminal, red dot while running")
            << terminal << "closeDot" << false << QString();
        QTest::newRow("terminal, cancel at the prompt")
            << terminal << "terminalCancelButton" << false << QString();
        QTest::newRow("terminal, red dot after success")
            << terminal << "closeDot" << true << QString();
        QTest::newRow("terminal, close after success")
            << terminal << "terminalCloseButton" << true << QString();
    }

    void dismissClearsTheFlagOfItsKind()
    {
        QFETCH(OperationType, type);
        QFETCH(QString, control);
        QFETCH(bool, complete);
        QFETCH(QString, stillSet);
        const bool terminal = type == OperationType::terminalOperation;
        state->isScanning = !terminal;
        state->isInstallingPKG = !terminal;
        state->isCreatingMedia = true;
        state->isShowingTerminalOverlay = terminal;
        state->isWaitingForPassword = control == "terminalCancelButton";
        setProgress([&](ProgressInfo &progress) {
            if (complete)
                progress.markComplete(true, "USB creation completed successfully");
        });
        createOverlay(type);
        QVERIFY(shows(control));
        find<QAbstractButton>(control)->click();
        QCOMPARE(state->isScanning(), stillSet.contains("scan"));
        QCOMPARE(state->isInstallingPKG(), stillSet.contains("pkg"));
        QCOMPARE(state->isCreatingMedia(), stillSet.contains("media"));
        QVERIFY(!state->isShowingTerminalOverlay() && !state->isShowingAlert());
    }

    void draggingStartsEachTimeFromTheCentre()
    {
        UnifiedProgressOverlay *overlay = createOverlay(OperationType::creatingUSB);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        QWidget *window = overlay->panel();
        const QPoint centred((900 - UnifiedProgressOverlay::standardWidth) / 2,
                             (600 - UnifiedProgressOverlay::standardHeight) / 2);
        QCOMPARE(window->pos(), centred);
        drag(find("titleBar"), QPoint(50, 30));
        QCOMPARE(overlay->dragOffset(), QPoint(50, 30));
        QCOMPARE(window->pos(), centred + QPoint(50, 30));
        drag(find("titleBar"), QPoint(10, 0));
        QCOMPARE(overlay->dragOffset(), QPoint(10, 0));
        QCOMPARE(window->pos(), centred + QPoint(10, 0));
        // The overlay follows its window's size and keeps the small window centred in it.
        host->resize(1000, 700);
        QCOMPARE(overlay->size(), QSize(1000, 700));
        QCOMPARE(window->pos(), centred + QPoint(50, 50) + QPoint(10, 0));
        // Only symbols on screen, so the window controls must be named for everyone else.
        for (const auto *control : find("titleBar")->findChildren<WindowControlDot *>())
            QVERIFY(!control->accessibleName().isEmpty() && !control->toolTip().isEmpty());
    }

    void passwordPrompt()
    {
        QVERIFY(world->isValid());
        state->terminalCommand = "echo authorised";
        state->terminalOutput = "Please enter your administrator password.\n";
        state->isWaitingForPassword = true;
        UnifiedProgressOverlay *overlay = createOverlay(OperationType::terminalOperation);
        auto *field = find<QLineEdit>("passwordField");
        auto *authorize = find<QAbstractButton>("authorizeButton");
        QVERIFY(shows("passwordField") && !authorize->isEnabled());
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        // Return in the empty field starts nothing.
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(state->isWaitingForPassword());
        QVERIFY(!state->terminalOutput().contains("Executing command"));
        QTest::keyClicks(field, "tessaline");
        QVERIFY(authorize->isEnabled());
        QCOMPARE(overlay->password(), "tessaline");
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!state->isWaitingForPassword());
        QVERIFY(state->terminalOutput().contains("Executing command"));
        QCOMPARE(overlay->password(), QString());
        QVERIFY(!authorize->isEnabled() && !shows("passwordField") && shows("terminalStatus"));
        QTRY_VERIFY_WITH_TIMEOUT(state->progressInfo().isComplete, 20000);
        QVERIFY(shows("terminalCloseButton"));
    }

    // Streamed output is appended, never set anew, and followed unless the reader scrolled back.
    void terminalOutputIsAppendedInPlaceOrStartsOver()
    {
        createOverlay(OperationType::terminalOperation);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        auto *view = find<TerminalOutputView>("terminalOutput");
        QList<int> removed;
        connect(view->document(), &QTextDocument::contentsChange, this,
                [&](int, int charsRemoved, int) { removed << charsRemoved; });
        QString expected;
        for (int chunk = 0; chunk < 300; ++chunk) {
            QString text = QString("chunk %1: Copying to disk: %2%\n").arg(chunk).arg(chunk % 100);
            text = text.repeated(5) + "partial "; // chunks split lines anywhere, as pipes do
            expected += text;
            state->terminalOutput.modify([&](QString &output) { output += text; });
            if (chunk % 50 == 0)
                QApplication::processEvents();
        }
        QCOMPARE(view->toPlainText(), expected);
        QCOMPARE(view->shownLength(), expected.size());
        QVERIFY(std::all_of(removed.begin(), removed.end(), [](int n) { return n == 0; }));
        QApplication::processEvents();
        QScrollBar *bar = view->verticalScrollBar();
        QVERIFY(bar->maximum() > 0 && view->isAtEnd());
        const QString more = QString("Erasing disk: 20%...\n").repeated(200);
        bar->setValue(3);
        state->terminalOutput.modify([&](QString &output) { output += more; });
        QApplication::processEvents();
        QCOMPARE(bar->value(), 3);
        bar->setValue(bar->maximum());
        state->terminalOutput.modify([&](QString &output) { output += more; });
        QApplication::processEvents();
        QVERIFY(view->isAtEnd());
        QCOMPARE(view->toPlainText(), expected + more + more);
        // The password field or Close appearing below takes height from the view: the last
        // line must stay in sight.
        view->setFixedHeight(view->height() / 2);
        QApplication::processEvents();
        QVERIFY(view->isAtEnd());
        // A new run starts over: same start, shorter; as long, another end; another text.
        const QString start = "Preparing to create bootable USB with Terminal...\n";
        const QString firstRun = start + QString("Copying to disk: 10%\n").repeated(20);
        for (const QString &replacement :
             QStringList{start, firstRun.chopped(5) + "done\n", "Something else entirely\n", {}}) {
            state->terminalOutput = firstRun;
            state->terminalOutput = replacement;
            QCOMPARE(view->toPlainText(), replacement);
        }
    }

    void stepRowIndicator_data()
    {
        QTest::addColumn<ProgressStep>("step");
        QTest::addColumn<QString>("indicator");
        QTest::addColumn<QString>("percent");
        QTest::newRow("done") << step(true, false, 100) << "stepCheckmark" << QString();
        QTest::newRow("under way, 0 %") << step(false, true, 0) << "stepSpinner" << QString();
        QTest::newRow("under way, 100 %") << step(false, true, 100) << "stepSpinner" << QString();
        QTest::newRow("45.7 %") << step(false, true, 45.7) << "stepRing" << QString("45%");
        QTest::newRow("not started") << step(false, false, 0) << QString() << QString();
    }

    void stepRowIndicator()
    {
        QFETCH(ProgressStep, step);
        QFETCH(QString, indicator);
        QFETCH(QString, percent);
        StepRowView row;
        row.setStep(step);
        for (const QString name : {"stepCheckmark", "stepSpinner", "stepRing"})
            QCOMPARE(row.findChild<QWidget *>(name)->isVisibleTo(&row), indicator == name);
        const auto *percentText = row.findChild<QLabel *>("stepPercent");
        QCOMPARE(percentText->isVisibleTo(&row), !percent.isEmpty());
        if (!percent.isEmpty())
            QCOMPARE(percentText->text(), percent);
        const auto *detail = row.findChild<QLabel *>("stepDetail");
        QCOMPARE(detail->text(), step.message);
        step.detailMessage = "Copying to disk: 45%";
        row.setStep(step);
        QCOMPARE(detail->text(), step.detailMessage);
    }
};

QTEST_MAIN(TestProgressOverlay)
#include "tst_progressoverlay.moc"
