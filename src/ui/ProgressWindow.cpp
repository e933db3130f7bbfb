#include "ui/ProgressWindow.h"

#include "model/ElapsedTime.h"
#include "state/AppState.h"
#include "ui/Accessibility.h"
#include "ui/ButtonStyles.h"
#include "ui/CircularProgressView.h"
#include "ui/NamedColors.h"
#include "ui/StepIndicatorDot.h"
#include "ui/StepRowView.h"
#include "ui/Symbols.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

using OperationType = UnifiedProgressOverlay::OperationType;

namespace {

QLabel *makeLabel(QWidget *parent, const char *name, int pixelSize,
                  QFont::Weight weight = QFont::Normal, bool secondary = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(overlayFont(pixelSize, weight));
    label->setTextFormat(Qt::PlainText);
    if (secondary)
        label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

void setLabelText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// A rounded, faintly tinted background behind its children.
class TintedCard : public QWidget {
public:
    TintedCard(const QColor &fill, qreal radius, QWidget *parent = nullptr)
        : QWidget(parent), m_fill(fill), m_radius(radius)
    {
    }

    void setColors(const QColor &fill, const QColor &outline)
    {
        m_fill = fill;
        m_outline = outline;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(m_fill);
        if (m_outline.isValid())
            painter.setPen(QPen(m_outline, 1));
        else
            painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_radius, m_radius);
    }

private:
    QColor m_fill;
    QColor m_outline;
    qreal m_radius;
};

QString fallbackHeadline(OperationType type)
{
    switch (type) {
    case OperationType::installingPKG:
        return QCoreApplication::translate("ProgressWindow", "Installing macOS package...");
    case OperationType::downloadingInstaller:
        return QCoreApplication::translate("ProgressWindow", "Downloading the installer...");
    case OperationType::creatingUSB:
        return QCoreApplication::translate("ProgressWindow", "Creating bootable USB...");
    case OperationType::createBootableDMG:
        return QCoreApplication::translate("ProgressWindow", "Creating bootable disk image...");
    case OperationType::scanning:
    case OperationType::terminalOperation:
        break;
    }
    return {};
}

} // namespace

// How the operation ended, with the way out. Its accessible name and description are its two
// lines, so assistive tools hear of the outcome as it is shown.
class CompletionView : public TintedCard {
    Q_DECLARE_TR_FUNCTIONS(CompletionView)

public:
    CompletionView(AppState &state, OperationType type, QWidget *parent)
        : TintedCard(Qt::transparent, 8, parent), m_state(state), m_icon(new QLabel(this)),
          m_title(makeLabel(this, "completionTitle", 14, QFont::DemiBold)),
          m_detail(makeLabel(this, "completionDetail", 12, QFont::Normal, true)),
          //: Puts away the result of an operation.
          m_close(new StyledButton(tr("Close"), NSButtonStyle{false}, this))
    {
        setObjectName(QStringLiteral("completionView"));
        m_icon->setFixedSize(24, 24);
        m_detail->setWordWrap(true);
        m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_close->setObjectName(QStringLiteral("closeButton"));
        connect(m_close, &QAbstractButton::clicked, this,
                [&state, type] { UnifiedProgressOverlay::dismiss(state, type); });

        auto *texts = new QVBoxLayout;
        texts->setSpacing(2);
        texts->addWidget(m_title);
        texts->addWidget(m_detail);
        auto *row = new QHBoxLayout(this);
        row->setContentsMargins(12, 10, 12, 10);
        row->setSpacing(15);
        row->addWidget(m_icon, 0, Qt::AlignVCenter);
        row->addLayout(texts, 1);
        row->addWidget(m_close, 0, Qt::AlignVCenter);
    }

    void present(const ProgressInfo &progress)
    {
        // A job the user stopped has not failed: it is shown in grey, with a cross.
        const Outcome outcome = progress.success            ? Outcome::succeeded
                                : m_state.jobWasCancelled() ? Outcome::cancelled
                                                            : Outcome::failed;
        const QColor color = outcome == Outcome::succeeded   ? NamedColors::green()
                             : outcome == Outcome::cancelled ? NamedColors::gray()
                                                             : NamedColors::red();
        setColors(NamedColors::withOpacity(color, 0.1), NamedColors::withOpacity(color, 0.2));
        if (m_shown != outcome) {
            const QString symbol =
                outcome == Outcome::succeeded   ? QStringLiteral("checkmark.circle.fill")
                : outcome == Outcome::cancelled ? QStringLiteral("xmark.circle.fill")
                                                : QStringLiteral("exclamationmark.triangle.fill");
            m_icon->setPixmap(symbolIcon(symbol, color).pixmap(24, 24));
            const QString meaning = outcome == Outcome::succeeded   ? tr("Succeeded")
                                    : outcome == Outcome::cancelled ? tr("Cancelled")
                                                                    : tr("Failed");
            m_icon->setAccessibleName(meaning);
            m_icon->setToolTip(meaning);
            m_shown = outcome;
        }
        const QString title = outcome == Outcome::succeeded   ? tr("Operation Complete")
                              : outcome == Outcome::cancelled ? tr("Operation Cancelled")
                                                              : tr("Operation Failed");
        setLabelText(m_title, title);
        QString detail =
            progress.success ? progress.outputPath : progress.errorMessage.value_or(QString());
        if (const auto took = m_state.jobDuration()) {
            //: How long the operation ran; %1 is the time, such as "4 min 12 s".
            const QString duration = tr("Took %1.").arg(formatElapsed(*took));
            detail += (detail.isEmpty() ? QString() : QStringLiteral("\n")) + duration;
        }
        setLabelText(m_detail, detail);
        m_detail->setVisible(!detail.isEmpty());
        Accessibility::setName(this, title);
        Accessibility::setDescription(this, detail);
    }

    QAbstractButton *closeButton() const { return m_close; }

private:
    const AppState &m_state;
    QLabel *m_icon;
    QLabel *m_title;
    QLabel *m_detail;
    StyledButton *m_close;
    enum class Outcome { none, succeeded, cancelled, failed };
    Outcome m_shown = Outcome::none;
};

ProgressWindow::ProgressWindow(OperationType type, AppState &state, QWidget *parent)
    : OverlayPanel(
          QSize(UnifiedProgressOverlay::standardWidth, UnifiedProgressOverlay::standardHeight), 6,
          parent),
      m_state(state), m_type(type)
{
    setObjectName(QStringLiteral("progressWindow"));
    connect(titleBar(), &OverlayTitleBar::closeClicked, this,
            [&state, type] { UnifiedProgressOverlay::dismiss(state, type); });

    auto *content = new QVBoxLayout;
    content->setContentsMargins(20, 15, 20, 15);
    content->setSpacing(15);
    bodyLayout()->addLayout(content, 1);

    m_scan = makeScanContent();
    m_simple = makeSimpleContent();
    m_steps = makeStepsContent();
    for (QWidget *kind : {m_scan, m_simple, m_steps}) {
        content->addWidget(kind);
        kind->hide();
    }
    m_completion = new CompletionView(state, type, this);
    m_completion->hide();
    content->addWidget(m_completion);
    content->addStretch(1);

    //: Stops the running operation.
    m_cancel = new StyledButton(tr("Cancel"), NSButtonStyle{false}, this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancel, &QAbstractButton::clicked, this,
            [&state, type] { UnifiedProgressOverlay::dismiss(state, type); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    content->addLayout(buttons);

    refresh();
}

QWidget *ProgressWindow::makeScanContent()
{
    auto *scan = new QWidget(this);
    scan->setObjectName(QStringLiteral("scanContent"));
    auto *column = new QVBoxLayout(scan);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    auto *spinner = new ProgressSpinner(24, scan);
    spinner->setToolTip(tr("Scanning"));
    spinner->setAccessibleName(tr("Scanning"));
    column->addSpacing(5);
    column->addWidget(spinner, 0, Qt::AlignHCenter);
    column->addSpacing(5);
    m_scanMessage = makeLabel(scan, "scanMessage", 13);
    m_scanMessage->setAlignment(Qt::AlignHCenter);
    m_scanMessage->setWordWrap(true);
    column->addWidget(m_scanMessage);
    m_scanDetail = makeLabel(scan, "scanDetail", 12, QFont::Normal, true);
    m_scanDetail->setAlignment(Qt::AlignHCenter);
    m_scanDetail->setWordWrap(true);
    column->addWidget(m_scanDetail);
    return scan;
}

QWidget *ProgressWindow::makeSimpleContent()
{
    auto *simple = new QWidget(this);
    simple->setObjectName(QStringLiteral("simpleContent"));
    auto *column = new QVBoxLayout(simple);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    m_headline = makeLabel(simple, "headline", 13);
    m_headline->setAlignment(Qt::AlignHCenter);
    m_headline->setWordWrap(true);
    column->addWidget(m_headline);

    m_sipNotice = makeLabel(simple, "sipNotice", 12);
    m_sipNotice->setText(tr("System Integrity Protection is enabled - Using Terminal approach"));
    m_sipNotice->setAlignment(Qt::AlignHCenter);
    m_sipNotice->setWordWrap(true);
    m_sipNotice->setContentsMargins(0, 0, 0, 5);
    setTextColor(m_sipNotice, NamedColors::orange());
    column->addWidget(m_sipNotice);

    auto *barInset = new QVBoxLayout;
    barInset->setContentsMargins(0, 5, 0, 5);
    m_simpleBar = new LinearProgressBar(simple);
    barInset->addWidget(m_simpleBar);
    column->addLayout(barInset);

    m_percentText = makeLabel(simple, "percentText", 12, QFont::Normal, true);
    m_percentText->setAlignment(Qt::AlignHCenter);
    column->addWidget(m_percentText);

    m_simpleDetail = makeLabel(simple, "simpleDetail", 12, QFont::Normal, true);
    m_simpleDetail->setAlignment(Qt::AlignHCenter);
    m_simpleDetail->setWordWrap(true);
    m_simpleDetail->setContentsMargins(0, 5, 0, 0);
    column->addWidget(m_simpleDetail);
    return simple;
}

QWidget *ProgressWindow::makeStepsContent()
{
    auto *steps = new QWidget(this);
    steps->setObjectName(QStringLiteral("stepsContent"));
    auto *column = new QVBoxLayout(steps);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto *header = new QHBoxLayout;
    m_stepsHeader = makeLabel(steps, "progressHeader", 13, QFont::Medium);
    header->addWidget(m_stepsHeader);
    header->addStretch(1);
    auto *badge = new TintedCard(NamedColors::withOpacity(NamedColors::orange(), 0.1), 4, steps);
    badge->setObjectName(QStringLiteral("sipBadge"));
    auto *badgeInset = new QHBoxLayout(badge);
    badgeInset->setContentsMargins(8, 2, 8, 2);
    auto *badgeText = makeLabel(badge, "sipBadgeText", 11);
    //: A small badge: System Integrity Protection is on.
    badgeText->setText(tr("SIP Enabled"));
    setTextColor(badgeText, NamedColors::orange());
    badgeInset->addWidget(badgeText);
    m_sipBadge = badgeText;
    header->addWidget(badge);
    column->addLayout(header);

    m_stepsBar = new LinearProgressBar(steps);
    column->addWidget(m_stepsBar);

    m_stepCard = new TintedCard(NamedColors::withOpacity(NamedColors::blue(), 0.05), 6, steps);
    m_stepCard->setObjectName(QStringLiteral("stepCard"));
    auto *cardInset = new QVBoxLayout(m_stepCard);
    cardInset->setContentsMargins(8, 6, 8, 6);
    m_stepRow = new StepRowView(m_stepCard);
    cardInset->addWidget(m_stepRow);
    column->addWidget(m_stepCard);

    auto *dots = new QWidget(steps);
    dots->setObjectName(QStringLiteral("stepDots"));
    m_dotRow = new QHBoxLayout(dots);
    m_dotRow->setContentsMargins(0, 5, 0, 0);
    m_dotRow->setSpacing(6);
    m_dotRow->addStretch(1);
    m_dotRow->addStretch(1);
    //: What assistive tools call the row of dots, one for each step.
    dots->setAccessibleName(tr("Steps"));
    column->addWidget(dots);
    return steps;
}

void ProgressWindow::refresh()
{
    const ProgressInfo &progress = m_state.progressInfo();
    titleBar()->setTitle(UnifiedProgressOverlay::windowTitle(m_type, m_state));
    const bool sipNotice = m_state.isSIPEnabled() && m_type == OperationType::creatingUSB;

    const bool scan = m_type == OperationType::scanning;
    const bool simple = !scan && progress.steps.isEmpty();
    m_scan->setVisible(scan);
    m_simple->setVisible(simple);
    m_steps->setVisible(!scan && !simple);
    if (scan)
        showScan(progress);
    else if (simple)
        showSimple(progress, sipNotice);
    else
        showSteps(progress, sipNotice);

    m_completion->setVisible(progress.isComplete);
    if (progress.isComplete)
        m_completion->present(progress);
    m_cancel->setVisible(!scan && !progress.isComplete);
}

void ProgressWindow::showScan(const ProgressInfo &progress)
{
    setLabelText(m_scanMessage,
                 progress.message.isEmpty() ? ProgressInfo::scanningMessage() : progress.message);
    setLabelText(m_scanDetail, progress.detailMessage);
    m_scanDetail->setVisible(!progress.detailMessage.isEmpty());
}

void ProgressWindow::showSimple(const ProgressInfo &progress, bool sipNotice)
{
    setLabelText(m_headline,
                 progress.message.isEmpty() ? fallbackHeadline(m_type) : progress.message);
    m_sipNotice->setVisible(sipNotice);
    m_simpleBar->setValue(progress.percentage);
    //: %1 is the whole percentage done.
    setLabelText(m_percentText,
                 tr("%1% Complete").arg(QString::number(shownPercent(progress.percentage))));
    setLabelText(m_simpleDetail, progress.detailMessage);
    m_simpleDetail->setVisible(!progress.detailMessage.isEmpty());
}

void ProgressWindow::showSteps(const ProgressInfo &progress, bool sipNotice)
{
    //: %1 is the whole percentage done.
    setLabelText(m_stepsHeader,
                 tr("Progress: %1%").arg(QString::number(shownPercent(progress.percentage))));
    m_sipBadge->parentWidget()->setVisible(sipNotice);
    m_stepsBar->setValue(progress.percentage);

    const qint64 current = progress.currentStep;
    const bool validStep = current >= 0 && current < progress.steps.size();
    m_stepCard->setVisible(validStep);
    if (validStep)
        m_stepRow->setStep(progress.steps.at(current));

    while (m_dots.size() < progress.steps.size()) {
        auto *dot = new StepIndicatorDot(m_dotRow->parentWidget());
        // Between the two stretches, so the row stays centred.
        m_dotRow->insertWidget(m_dotRow->count() - 1, dot);
        m_dots.append(dot);
    }
    while (m_dots.size() > progress.steps.size())
        delete m_dots.takeLast();
    const QString count = QString::number(progress.steps.size());
    for (qsizetype i = 0; i < progress.steps.size(); ++i) {
        const ProgressStep &step = progress.steps.at(i);
        StepIndicatorDot *dot = m_dots.at(i);
        dot->setState(step.isComplete, i == current, i > current);
        dot->setToolTip(step.title);
        Accessibility::setName(dot, step.title);
        Accessibility::setDescription(dot, stepState(*dot).arg(QString::number(i + 1), count));
    }
}

QString ProgressWindow::stepState(const StepIndicatorDot &dot)
{
    //: Read out for a step's dot; %1 is its number, %2 how many steps there are.
    if (dot.isComplete())
        return tr("Step %1 of %2, done");
    //: Read out for the dot of the step under way; %1 is its number, %2 how many steps there are.
    if (dot.isActive())
        return tr("Step %1 of %2, current");
    //: Read out for a step's dot; %1 is its number, %2 how many steps there are.
    if (dot.isFuture())
        return tr("Step %1 of %2, to come");
    //: Read out for a step's dot that was passed without being done; %1 is its number, %2 how
    //: many steps there are.
    return tr("Step %1 of %2, not done");
}

QAbstractButton *ProgressWindow::escapeButton() const
{
    if (m_completion->isVisibleTo(this))
        return m_completion->closeButton();
    if (m_cancel->isVisibleTo(this))
        return m_cancel;
    // A scan has no Cancel: the red dot is its way out.
    if (m_type == OperationType::scanning)
        return titleBar()->closeDot();
    return nullptr;
}
