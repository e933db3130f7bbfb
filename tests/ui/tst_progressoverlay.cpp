#include "state/AppState.h"
#include "support/StandInWorld.h"
#include "ui/BottomCornerRoundedRectangle.h"
#include "ui/CircularProgressView.h"
#include "ui/NamedColors.h"
#include "ui/OverlayParts.h"
#include "ui/StepIndicatorDot.h"
#include "ui/StepRowView.h"
#include "ui/TerminalWindow.h"
#include "ui/UnifiedProgressOverlay.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace std::chrono_literals;
using OperationType = UnifiedProgressOverlay::OperationType;

Q_DECLARE_METATYPE(ProgressStep)

namespace {

// A stand-in Mac and its state, with an overlay of the kind a test asks for over a window-sized
// host.
struct Scene {
    Scene()
    {
        Timing timing;
        timing.startupRefreshDelay = 24h;
        Timing::setCurrent(timing);
        state = std::make_unique<AppState>();
        host.resize(900, 600);
    }

    UnifiedProgressOverlay *overlay(OperationType type)
    {
        delete current;
        current = new UnifiedProgressOverlay(type, *state, &host);
        return current;
    }

    template <typename T = QWidget> T *find(const char *name) const
    {
        return current->findChild<T *>(QString::fromLatin1(name));
    }

    bool shows(const char *name) const
    {
        const QWidget *widget = find(name);
        return widget && widget->isVisibleTo(current);
    }

    QString text(const char *name) const { return find<QLabel>(name)->text(); }

    void setProgress(const std::function<void(ProgressInfo &)> &change)
    {
        ProgressInfo progress;
        progress.steps.clear();
        change(progress);
        state->progressInfo = progress;
    }

    StandInWorld world;
    std::unique_ptr<AppState> state;
    QWidget host;
    UnifiedProgressOverlay *current = nullptr;
};

ProgressStep step(bool isComplete, bool inProgress, double within)
{
    ProgressStep result;
    result.title = QStringLiteral("Copying Files");
    result.message = QStringLiteral("Copying the installer");
    result.isComplete = isComplete;
    result.inProgress = inProgress;
    result.progressWithinStep = within;
    return result;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &global)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, widget->mapFromGlobal(QPointF(global)), QPointF(global), Qt::LeftButton,
                      held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget *titleBar, const QPoint &by)
{
    const QPoint start = titleBar->mapToGlobal(QPoint(titleBar->width() / 2, 5));
    sendMouse(titleBar, QEvent::MouseButtonPress, start);
    sendMouse(titleBar, QEvent::MouseMove, start + by / 2);
    sendMouse(titleBar, QEvent::MouseMove, start + by);
    sendMouse(titleBar, QEvent::MouseButtonRelease, start + by);
}

int brightness(const QImage &image, const QPointF &at)
{
    // The pixel the point falls in, not the nearest pixel corner.
    return qGray(image.pixel(int(at.x()), int(at.y())));
}

} // namespace

class TestProgressOverlay : public QObject {
    Q_OBJECT

private slots:
    void standardContentFollowsTheRecord_data();
    void standardContentFollowsTheRecord();
    void percentagesAreTruncated();
    void protectionNoticeOnlyForUSBCreation_data();
    void protectionNoticeOnlyForUSBCreation();
    void stepsContent();
    void completionAndCancel();
    void standardDismissClearsTheFlagOfItsType_data();
    void standardDismissClearsTheFlagOfItsType();
    void draggingStartsEachTimeFromTheCentre();
    void titleBarHoverShowsTheDotSymbols();

    void passwordPrompt();
    void terminalDismiss_data();
    void terminalDismiss();
    void terminalOutputIsAppendedInPlace();
    void terminalOutputStartsOverWhenReplaced();
    void terminalOutputLeavesAScrolledBackReaderAlone();

    void stepRowIndicator_data();
    void stepRowIndicator();
    void stepIndicatorDotColour_data();
    void stepIndicatorDotColour();
    void ringRunsClockwiseFromTheTop();
    void bottomCornersOnlyAreRounded();
};

void TestProgressOverlay::standardContentFollowsTheRecord_data()
{
    QTest::addColumn<OperationType>("type");
    QTest::addColumn<QString>("fallback");
    QTest::newRow("package") << OperationType::installingPKG
                             << QStringLiteral("Installing macOS package...");
    QTest::newRow("usb") << OperationType::creatingUSB
                         << QStringLiteral("Creating bootable USB...");
    QTest::newRow("image") << OperationType::createBootableDMG
                           << QStringLiteral("Creating bootable disk image...");
}

void TestProgressOverlay::standardContentFollowsTheRecord()
{
    QFETCH(OperationType, type);
    QFETCH(QString, fallback);
    Scene scene;
    scene.setProgress([](ProgressInfo &) {});
    scene.overlay(type);
    QVERIFY(scene.shows("simpleContent"));
    QVERIFY(!scene.shows("stepsContent"));
    QCOMPARE(scene.text("headline"), fallback);
    QVERIFY(!scene.shows("simpleDetail"));

    scene.setProgress([](ProgressInfo &progress) {
        progress.message = QStringLiteral("Copying");
        progress.detailMessage = QStringLiteral("3 of 9 files");
    });
    QCOMPARE(scene.text("headline"), QStringLiteral("Copying"));
    QVERIFY(scene.shows("simpleDetail"));

    // Steps switch to the steps content; a scan shows its own content whatever the record.
    scene.setProgress([](ProgressInfo &progress) {
        progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    });
    QVERIFY(scene.shows("stepsContent"));
    QVERIFY(!scene.shows("simpleContent"));
    scene.overlay(OperationType::scanning);
    QVERIFY(scene.shows("scanContent"));
    QVERIFY(!scene.shows("stepsContent"));
    QVERIFY(!scene.shows("cancelButton"));
    QCOMPARE(scene.text("scanMessage"), QStringLiteral("Scanning for macOS installers..."));
}

void TestProgressOverlay::percentagesAreTruncated()
{
    Scene scene;
    scene.setProgress([](ProgressInfo &progress) {
        progress.percentage = 99.9;
        progress.message = QStringLiteral("Almost");
    });
    scene.overlay(OperationType::creatingUSB);
    QCOMPARE(scene.text("percentText"), QStringLiteral("99% Complete"));

    scene.setProgress([](ProgressInfo &progress) {
        progress.setupSteps(ProgressInfo::OperationType::dmgCreation);
        progress.percentage = 99.9;
    });
    QCOMPARE(scene.text("progressHeader"), QStringLiteral("Progress: 99%"));

    scene.overlay(OperationType::terminalOperation);
    scene.setProgress([](ProgressInfo &progress) {
        progress.percentage = 99.9;
        progress.message = QStringLiteral("Making disk bootable...");
    });
    QCOMPARE(scene.find<ElidingLabel>("terminalStatus")->fullText(),
             QStringLiteral("99% \u2014 Making disk bootable..."));
}

void TestProgressOverlay::protectionNoticeOnlyForUSBCreation_data()
{
    QTest::addColumn<OperationType>("type");
    QTest::addColumn<bool>("sipEnabled");
    QTest::addColumn<bool>("shown");
    QTest::newRow("usb, enabled") << OperationType::creatingUSB << true << true;
    QTest::newRow("usb, disabled") << OperationType::creatingUSB << false << false;
    QTest::newRow("image, enabled") << OperationType::createBootableDMG << true << false;
    QTest::newRow("package, enabled") << OperationType::installingPKG << true << false;
}

void TestProgressOverlay::protectionNoticeOnlyForUSBCreation()
{
    QFETCH(OperationType, type);
    QFETCH(bool, sipEnabled);
    QFETCH(bool, shown);
    Scene scene;
    scene.state->isSIPEnabled = sipEnabled;
    scene.setProgress([](ProgressInfo &) {});
    scene.overlay(type);
    QCOMPARE(scene.shows("sipNotice"), shown);
    scene.setProgress([](ProgressInfo &progress) {
        progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    });
    QCOMPARE(scene.shows("sipBadge"), shown);
}

void TestProgressOverlay::stepsContent()
{
    Scene scene;
    ProgressInfo progress;
    progress.setupSteps(ProgressInfo::OperationType::usbCreation);
    progress.updateCurrentStep(1);
    scene.state->progressInfo = progress;
    scene.overlay(OperationType::creatingUSB);
    QVERIFY(scene.shows("stepCard"));
    QCOMPARE(scene.find<StepRowView>("")->step(), progress.steps.at(1));

    const auto dots = scene.current->findChildren<StepIndicatorDot *>();
    QCOMPARE(dots.size(), progress.steps.size());
    QVERIFY(dots.at(0)->isComplete());
    QVERIFY(dots.at(1)->isActive() && !dots.at(1)->isFuture());
    QVERIFY(dots.at(2)->isFuture() && !dots.at(2)->isActive());

    // An index outside the list: no card, but every dot, none of them active.
    for (const qint64 outside : {qint64(progress.steps.size()), qint64(-1)}) {
        scene.state->progressInfo.modify([&](ProgressInfo &p) { p.currentStep = outside; });
        QVERIFY(!scene.shows("stepCard"));
        QVERIFY(scene.shows("stepDots"));
        QCOMPARE(scene.current->findChildren<StepIndicatorDot *>().size(), progress.steps.size());
        for (const StepIndicatorDot *dot : scene.current->findChildren<StepIndicatorDot *>())
            QVERIFY(!dot->isActive());
    }
}

void TestProgressOverlay::completionAndCancel()
{
    Scene scene;
    scene.state->isCreatingMedia = true;
    scene.setProgress([](ProgressInfo &progress) { progress.percentage = 40; });
    scene.overlay(OperationType::createBootableDMG);
    QVERIFY(!scene.shows("completionView"));
    QVERIFY(scene.shows("cancelButton"));

    // Cancel only asks; "Yes" is what hides the overlay.
    scene.find<QAbstractButton>("cancelButton")->click();
    QVERIFY(scene.state->isShowingAlert());
    QCOMPARE(scene.state->alertTitle(), QStringLiteral("Cancel Operation"));
    QCOMPARE(scene.state->alertMessage(),
             QStringLiteral("Are you sure you want to cancel? This may leave your device in an "
                            "inconsistent state."));
    QCOMPARE(scene.state->alertPrimaryButton().label, QStringLiteral("Yes"));
    QCOMPARE(scene.state->alertPrimaryButton().style, AlertButton::Style::destructive);
    QCOMPARE(scene.state->alertSecondaryButton()->style, AlertButton::Style::cancel);
    QVERIFY(scene.state->isCreatingMedia());
    scene.state->alertPrimaryButton().action();
    QVERIFY(!scene.state->isCreatingMedia());

    // A failure without an error text has no second line.
    scene.setProgress([](ProgressInfo &progress) { progress.markComplete(false); });
    QVERIFY(scene.shows("completionView"));
    QVERIFY(!scene.shows("cancelButton"));
    QCOMPARE(scene.text("completionTitle"), QStringLiteral("Operation Failed"));
    QVERIFY(!scene.shows("completionDetail"));
    scene.setProgress([](ProgressInfo &progress) {
        progress.markComplete(false, {}, QStringLiteral("Disk is too small"));
    });
    QCOMPARE(scene.text("completionDetail"), QStringLiteral("Disk is too small"));

    scene.setProgress([](ProgressInfo &progress) {
        progress.markComplete(true);
        progress.outputPath = QStringLiteral("/Users/me/Desktop/macOS Sonoma.iso");
    });
    QCOMPARE(scene.text("completionTitle"), QStringLiteral("Operation Complete"));
    QCOMPARE(scene.text("completionDetail"), QStringLiteral("/Users/me/Desktop/macOS Sonoma.iso"));
    scene.state->isCreatingMedia = true;
    scene.find<QAbstractButton>("closeButton")->click();
    QVERIFY(!scene.state->isCreatingMedia());
}

void TestProgressOverlay::standardDismissClearsTheFlagOfItsType_data()
{
    QTest::addColumn<OperationType>("type");
    QTest::newRow("scanning") << OperationType::scanning;
    QTest::newRow("package") << OperationType::installingPKG;
    QTest::newRow("usb") << OperationType::creatingUSB;
    QTest::newRow("image") << OperationType::createBootableDMG;
}

void TestProgressOverlay::standardDismissClearsTheFlagOfItsType()
{
    QFETCH(OperationType, type);
    Scene scene;
    scene.state->isScanning = true;
    scene.state->isInstallingPKG = true;
    scene.state->isCreatingMedia = true;
    scene.overlay(type);
    scene.find<QAbstractButton>("closeDot")->click();
    QCOMPARE(scene.state->isScanning(), type != OperationType::scanning);
    QCOMPARE(scene.state->isInstallingPKG(), type != OperationType::installingPKG);
    QCOMPARE(scene.state->isCreatingMedia(),
             type != OperationType::creatingUSB && type != OperationType::createBootableDMG);
    QVERIFY(!scene.state->isShowingAlert());
}

void TestProgressOverlay::draggingStartsEachTimeFromTheCentre()
{
    Scene scene;
    UnifiedProgressOverlay *overlay = scene.overlay(OperationType::creatingUSB);
    scene.host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scene.host));
    QWidget *window = overlay->panel();
    const QPoint centred((900 - UnifiedProgressOverlay::standardWidth) / 2,
                         (600 - UnifiedProgressOverlay::standardHeight) / 2);
    QCOMPARE(window->pos(), centred);

    drag(scene.find("titleBar"), QPoint(50, 30));
    QCOMPARE(overlay->dragOffset(), QPoint(50, 30));
    QCOMPARE(window->pos(), centred + QPoint(50, 30));

    drag(scene.find("titleBar"), QPoint(10, 0));
    QCOMPARE(overlay->dragOffset(), QPoint(10, 0));
    QCOMPARE(window->pos(), centred + QPoint(10, 0));

    // The overlay follows its window's size and keeps the small window centred in it.
    scene.host.resize(1000, 700);
    QCOMPARE(overlay->size(), QSize(1000, 700));
    QCOMPARE(window->pos(), centred + QPoint(50, 50) + QPoint(10, 0));
}

void TestProgressOverlay::titleBarHoverShowsTheDotSymbols()
{
    Scene scene;
    UnifiedProgressOverlay *overlay = scene.overlay(OperationType::installingPKG);
    QWidget *titleBar = scene.find("titleBar");
    auto *dot = scene.find<WindowControlDot>("closeDot");
    QVERIFY(!overlay->isDragging());
    QCOMPARE(dot->symbolOpacity(), 0.0);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(titleBar, &enter);
    QVERIFY(overlay->isDragging());
    QTRY_COMPARE(dot->symbolOpacity(), 1.0);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(titleBar, &leave);
    QVERIFY(!overlay->isDragging());
    QTRY_COMPARE(dot->symbolOpacity(), 0.0);
    for (const auto *control : titleBar->findChildren<WindowControlDot *>()) {
        QVERIFY(!control->accessibleName().isEmpty());
        QVERIFY(!control->toolTip().isEmpty());
    }
}

void TestProgressOverlay::passwordPrompt()
{
    Scene scene;
    QVERIFY(scene.world.isValid());
    scene.state->terminalCommand = QStringLiteral("echo authorised");
    scene.state->terminalOutput = QStringLiteral("Please enter your administrator password.\n");
    scene.state->isWaitingForPassword = true;
    UnifiedProgressOverlay *overlay = scene.overlay(OperationType::terminalOperation);
    auto *field = scene.find<QLineEdit>("passwordField");
    auto *authorize = scene.find<QAbstractButton>("authorizeButton");
    QVERIFY(scene.shows("passwordField"));
    QCOMPARE(field->echoMode(), QLineEdit::Password);
    QCOMPARE(field->placeholderText(), QStringLiteral("Password"));
    QVERIFY(!authorize->isEnabled());

    // Return in the empty field starts nothing.
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(scene.state->isWaitingForPassword());
    QVERIFY(!scene.state->terminalOutput().contains(QStringLiteral("Executing command")));

    QTest::keyClicks(field, QStringLiteral("tessaline"));
    QVERIFY(authorize->isEnabled());
    QCOMPARE(overlay->password(), QStringLiteral("tessaline"));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(!scene.state->isWaitingForPassword());
    QVERIFY(scene.state->terminalOutput().contains(QStringLiteral("Executing command")));
    QCOMPARE(overlay->password(), QString());
    QVERIFY(!authorize->isEnabled());
    QVERIFY(!scene.shows("passwordField"));
    QVERIFY(scene.shows("terminalStatus"));
    QTRY_VERIFY_WITH_TIMEOUT(scene.state->progressInfo().isComplete, 20000);
    QVERIFY(scene.shows("terminalCloseButton"));
}

void TestProgressOverlay::terminalDismiss_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("creatingAfter");
    QTest::newRow("red dot while running") << QStringLiteral("closeDot") << false << false;
    QTest::newRow("cancel at the prompt")
        << QStringLiteral("terminalCancelButton") << false << false;
    QTest::newRow("red dot after success") << QStringLiteral("closeDot") << true << true;
    QTest::newRow("close after success") << QStringLiteral("terminalCloseButton") << true << true;
}

void TestProgressOverlay::terminalDismiss()
{
    QFETCH(QString, control);
    QFETCH(bool, complete);
    QFETCH(bool, creatingAfter);
    Scene scene;
    scene.state->isCreatingMedia = true;
    scene.state->isShowingTerminalOverlay = true;
    scene.state->isWaitingForPassword = control == QLatin1String("terminalCancelButton");
    scene.setProgress([&](ProgressInfo &progress) {
        if (complete)
            progress.markComplete(true, QStringLiteral("USB creation completed successfully"));
    });
    scene.overlay(OperationType::terminalOperation);
    auto *button = scene.find<QAbstractButton>(control.toLatin1().constData());
    QVERIFY(button->isVisibleTo(scene.current));
    button->click();
    QVERIFY(!scene.state->isShowingTerminalOverlay());
    // After success the flag stays as the workflow left it (here still set).
    QCOMPARE(scene.state->isCreatingMedia(), creatingAfter);
}

void TestProgressOverlay::terminalOutputIsAppendedInPlace()
{
    Scene scene;
    scene.overlay(OperationType::terminalOperation);
    scene.host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scene.host));
    auto *view = scene.find<TerminalOutputView>("terminalOutput");
    QList<int> removed;
    connect(view->document(), &QTextDocument::contentsChange, this,
            [&](int, int charsRemoved, int) { removed << charsRemoved; });

    QString expected;
    for (int chunk = 0; chunk < 300; ++chunk) {
        QString text;
        for (int line = 0; line < 5; ++line)
            text += QStringLiteral("chunk %1 line %2: Copying to disk: %3%\n")
                        .arg(chunk)
                        .arg(line)
                        .arg(chunk % 100);
        // Chunks split lines anywhere, as pipes do.
        text += QStringLiteral("partial ");
        expected += text;
        scene.state->terminalOutput.modify([&](QString &output) { output += text; });
        if (chunk % 50 == 0)
            QApplication::processEvents();
    }
    QCOMPARE(view->toPlainText(), expected);
    QCOMPARE(view->shownLength(), expected.size());
    QVERIFY(std::all_of(removed.begin(), removed.end(), [](int n) { return n == 0; }));
    QApplication::processEvents();
    QVERIFY(view->verticalScrollBar()->maximum() > 0);
    QVERIFY(view->isAtEnd());
}

void TestProgressOverlay::terminalOutputStartsOverWhenReplaced()
{
    Scene scene;
    scene.overlay(OperationType::terminalOperation);
    auto *view = scene.find<TerminalOutputView>("terminalOutput");
    const QString firstRun = QStringLiteral("Preparing to create bootable USB with Terminal...\n") +
                             QString(QStringLiteral("Copying to disk: 10%\n")).repeated(20);
    scene.state->terminalOutput = firstRun;

    // A new run: same start, shorter; then one as long with a different end; then another text.
    const QList<QString> replacements = {
        QStringLiteral("Preparing to create bootable USB with Terminal...\n"),
        firstRun.chopped(5) + QStringLiteral("done\n"),
        QStringLiteral("Something else entirely\n"),
        QString(),
    };
    for (const QString &replacement : replacements) {
        scene.state->terminalOutput = firstRun;
        scene.state->terminalOutput = replacement;
        QCOMPARE(view->toPlainText(), replacement);
    }
}

void TestProgressOverlay::terminalOutputLeavesAScrolledBackReaderAlone()
{
    Scene scene;
    scene.overlay(OperationType::terminalOperation);
    scene.host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scene.host));
    auto *view = scene.find<TerminalOutputView>("terminalOutput");
    QScrollBar *bar = view->verticalScrollBar();
    const QString lines = QString(QStringLiteral("Erasing disk: 20%...\n")).repeated(200);
    scene.state->terminalOutput = lines;
    QApplication::processEvents();
    QVERIFY(view->isAtEnd());

    bar->setValue(3);
    scene.state->terminalOutput.modify([&](QString &output) { output += lines; });
    QApplication::processEvents();
    QCOMPARE(bar->value(), 3);

    // Back at the end, it follows again.
    bar->setValue(bar->maximum());
    scene.state->terminalOutput.modify([&](QString &output) { output += lines; });
    QApplication::processEvents();
    QVERIFY(view->isAtEnd());
    QCOMPARE(view->toPlainText(), lines.repeated(3));
}

void TestProgressOverlay::stepRowIndicator_data()
{
    QTest::addColumn<ProgressStep>("step");
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<QString>("percent");
    QTest::newRow("done") << step(true, false, 100) << QStringLiteral("stepCheckmark") << QString();
    QTest::newRow("under way, 0 %")
        << step(false, true, 0) << QStringLiteral("stepSpinner") << QString();
    QTest::newRow("under way, 100 %")
        << step(false, true, 100) << QStringLiteral("stepSpinner") << QString();
    QTest::newRow("under way, 45.7 %")
        << step(false, true, 45.7) << QStringLiteral("stepRing") << QStringLiteral("45%");
    QTest::newRow("not started") << step(false, false, 0) << QString() << QString();
}

void TestProgressOverlay::stepRowIndicator()
{
    QFETCH(ProgressStep, step);
    QFETCH(QString, indicator);
    QFETCH(QString, percent);
    StepRowView row;
    row.setStep(step);
    for (const char *name : {"stepCheckmark", "stepSpinner", "stepRing"}) {
        const QWidget *inside = row.findChild<QWidget *>(QString::fromLatin1(name));
        QCOMPARE(inside->isVisibleTo(&row), indicator == QLatin1String(name));
    }
    const auto *percentText = row.findChild<QLabel *>(QStringLiteral("stepPercent"));
    QCOMPARE(percentText->isVisibleTo(&row), !percent.isEmpty());
    if (!percent.isEmpty())
        QCOMPARE(percentText->text(), percent);
    QCOMPARE(row.findChild<QLabel *>(QStringLiteral("stepDetail"))->text(), step.message);
    step.detailMessage = QStringLiteral("Copying to disk: 45%");
    row.setStep(step);
    QCOMPARE(row.findChild<QLabel *>(QStringLiteral("stepDetail"))->text(), step.detailMessage);
}

void TestProgressOverlay::stepIndicatorDotColour_data()
{
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("future");
    QTest::addColumn<QColor>("colour");
    const QColor faint = NamedColors::withOpacity(NamedColors::gray(), 0.4);
    QTest::newRow("complete") << true << false << false << NamedColors::green();
    QTest::newRow("complete and active") << true << true << false << NamedColors::green();
    QTest::newRow("active") << false << true << false << NamedColors::blue();
    QTest::newRow("future") << false << false << true << faint;
    QTest::newRow("neither") << false << false << false << faint;
}

void TestProgressOverlay::stepIndicatorDotColour()
{
    QFETCH(bool, complete);
    QFETCH(bool, active);
    QFETCH(bool, future);
    QFETCH(QColor, colour);
    StepIndicatorDot dot;
    dot.setState(complete, active, future);
    QCOMPARE(dot.fillColor(), colour);
}

void TestProgressOverlay::ringRunsClockwiseFromTheTop()
{
    CircularProgressView ring;
    ring.setFixedSize(40, 40);
    const auto drawn = [&ring] {
        QImage image(40, 40, QImage::Format_ARGB32);
        image.fill(Qt::black);
        ring.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    // Points on the ring at the given clock hours.
    const auto onRing = [](double hour) {
        const double angle = hour / 12 * 2 * M_PI;
        return QPointF(20 + 19 * std::sin(angle), 20 - 19 * std::cos(angle));
    };

    ring.setProgress(0.25);
    QImage image = drawn();
    QVERIFY(brightness(image, onRing(1.5)) > 200);  // under the arc
    QVERIFY(brightness(image, onRing(4.5)) < 120);  // only the faint ring
    QVERIFY(brightness(image, onRing(10.5)) < 120); // anticlockwise of the top: not covered

    ring.setProgress(2.5);
    QCOMPARE(ring.drawnProgress(), 1.0);
    image = drawn();
    for (const double hour : {1.5, 4.5, 7.5, 10.5})
        QVERIFY(brightness(image, onRing(hour)) > 200);
}

void TestProgressOverlay::bottomCornersOnlyAreRounded()
{
    const QRectF area(0, 0, 200, 80);
    const QPainterPath path = BottomCornerRoundedRectangle{10}.path(area);
    QVERIFY(path.contains(QPointF(0.5, 0.5)));
    QVERIFY(path.contains(QPointF(199.5, 0.5)));
    QVERIFY(!path.contains(QPointF(1, 79)));
    QVERIFY(!path.contains(QPointF(199, 79)));
    QVERIFY(path.contains(QPointF(10, 79.5)));
    QVERIFY(path.contains(QPointF(0.5, 70)));
    QCOMPARE(path.boundingRect(), area);

    // A radius larger than the shape still gives a closed outline within it.
    const QPainterPath squat = BottomCornerRoundedRectangle{50}.path(QRectF(0, 0, 60, 20));
    QCOMPARE(squat.boundingRect(), QRectF(0, 0, 60, 20));
    QVERIFY(squat.contains(QPointF(30, 10)));
}

QTEST_MAIN(TestProgressOverlay)
#include "tst_progressoverlay.moc"
