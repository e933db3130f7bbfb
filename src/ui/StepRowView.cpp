#include "ui/StepRowView.h"

#include "ui/Accessibility.h"
#include "ui/CircularProgressView.h"
#include "ui/NamedColors.h"
#include "ui/OverlayParts.h"
#include "ui/Symbols.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

// The disc behind whatever shows the step's state: blue, or grey once the run has ended in the
// step without finishing it.
class StepRowView::IndicatorDisc : public QWidget {
public:
    using QWidget::QWidget;

    void setStopped(bool stopped)
    {
        if (stopped == m_stopped)
            return;
        m_stopped = stopped;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_stopped ? NamedColors::gray() : NamedColors::blue());
        painter.drawEllipse(QRectF(rect()));
    }

private:
    bool m_stopped = false;
};

StepRowView::StepRowView(QWidget *parent)
    : QWidget(parent), m_indicator(new IndicatorDisc(this)), m_checkmark(new QLabel),
      m_ring(new CircularProgressView), m_spinner(new ProgressSpinner(12)),
      m_title(new QLabel(this)), m_detail(new QLabel(this)), m_percent(new QLabel(this))
{
    m_indicator->setFixedSize(20, 20);
    auto *stack = new QGridLayout(m_indicator);
    stack->setContentsMargins(0, 0, 0, 0);
    for (QWidget *inside : {static_cast<QWidget *>(m_checkmark), static_cast<QWidget *>(m_ring),
                            static_cast<QWidget *>(m_spinner)}) {
        stack->addWidget(inside, 0, 0, Qt::AlignCenter);
        inside->hide();
    }
    m_checkmark->setObjectName(QStringLiteral("stepCheckmark"));
    m_checkmark->setPixmap(symbolIcon(QStringLiteral("checkmark"), Qt::white).pixmap(10, 10));
    m_checkmark->setAccessibleName(tr("Done"));
    m_checkmark->setToolTip(tr("Done"));
    m_ring->setObjectName(QStringLiteral("stepRing"));
    m_ring->setColor(Qt::white);
    m_spinner->setObjectName(QStringLiteral("stepSpinner"));
    m_spinner->setColor(Qt::white);
    m_spinner->setToolTip(tr("In progress"));

    m_title->setObjectName(QStringLiteral("stepTitle"));
    m_title->setFont(overlayFont(13, QFont::Medium));
    m_title->setTextFormat(Qt::PlainText);
    m_detail->setObjectName(QStringLiteral("stepDetail"));
    m_detail->setFont(overlayFont(12));
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setForegroundRole(QPalette::PlaceholderText);
    // Detail lines come from tool output and can be long; they must not widen the window.
    m_detail->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_percent->setObjectName(QStringLiteral("stepPercent"));
    m_percent->setFont(overlayFont(12));
    m_percent->setForegroundRole(QPalette::PlaceholderText);

    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(1);
    texts->addWidget(m_title);
    texts->addWidget(m_detail);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 3, 0, 3);
    row->setSpacing(10);
    row->addWidget(m_indicator, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    row->addWidget(m_percent, 0, Qt::AlignVCenter);

    setStep(ProgressStep());
}

void StepRowView::setStep(const ProgressStep &step)
{
    m_step = step;
    // At 0 % nothing is known yet and at 100 % the step is only waiting to be closed: both
    // spin, without a number.
    const bool ring = !step.isComplete && step.inProgress && step.progressWithinStep > 0 &&
                      step.progressWithinStep < 100;
    m_checkmark->setVisible(step.isComplete);
    m_ring->setVisible(ring);
    m_spinner->setVisible(!step.isComplete && step.inProgress && !ring);
    m_indicator->setStopped(!step.isComplete && !step.inProgress);
    if (ring)
        m_ring->setProgress(step.progressWithinStep / 100.0);

    if (m_title->text() != step.title)
        m_title->setText(step.title);
    const QString detail = step.detailMessage.isEmpty() ? step.message : step.detailMessage;
    if (m_detail->text() != detail)
        m_detail->setText(detail);
    // Assistive tools are told of a new step by its name and of its progress by its description.
    Accessibility::setName(this, step.title);
    Accessibility::setDescription(this, detail);
    m_percent->setVisible(ring);
    if (ring)
        m_percent->setText(QString::number(shownPercent(step.progressWithinStep)) + u'%');
}
