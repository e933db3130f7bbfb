#include "ui/TerminalWindow.h"

#include "state/AppState.h"
#include "ui/BottomCornerRoundedRectangle.h"
#include "ui/ButtonStyles.h"
#include "ui/KeyboardAccess.h"
#include "ui/NamedColors.h"
#include "ui/UnifiedProgressOverlay.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

constexpr qsizetype sampleLength = 64;
constexpr qreal lineSpacing = 2;

// Plain-text layout with a little air between output lines. QPlainTextEdit lays out each line
// itself and ignores a block's line height, but it stacks blocks by their bounding rectangles.
class SpacedLinesLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        QRectF bounds = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (block.isValid() && block.isVisible())
            bounds.setHeight(bounds.height() + lineSpacing);
        return bounds;
    }
};

// The window colour under the prompt, following the window's rounded lower corners.
class BottomArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(
            BottomCornerRoundedRectangle{qreal(UnifiedProgressOverlay::cornerRadius)}.path(rect()),
            NamedColors::windowBackground(palette()));
    }
};

} // namespace

TerminalOutputView::TerminalOutputView(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("terminalOutput"));
    auto *document = new QTextDocument(this);
    document->setDocumentLayout(new SpacedLinesLayout(document));
    // Output is never edited, and an undo history of megabytes of it would only cost memory.
    document->setUndoRedoEnabled(false);
    document->setDocumentMargin(8);
    setDocument(document);
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Read-only: Tab goes on to the next control.
    setTabChangesFocus(true);

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    setFont(font);
    // Near-black whatever the theme, as a terminal is.
    QPalette colors = palette();
    colors.setColor(QPalette::Base, QColor::fromRgbF(0, 0, 0.08));
    colors.setColor(QPalette::Text, Qt::white);
    setPalette(colors);
    setAccessibleName(tr("Command output"));
    // A slim light thumb that sits on the dark output instead of a light desktop scroll bar.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 80); border-radius: 3px;"
        " min-height: 24px; margin: 2px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        m_following = isAtEnd();
        // Scrolling moves what is drawn, the ring with it; it is drawn again in its place.
        if (showsFocusRing())
            viewport()->update();
    });
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        if (m_following)
            scrollToEnd();
    });
}

void TerminalOutputView::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_focusFromKeyboard = KeyboardAccess::isKeyboardFocusReason(reason);
    viewport()->update();
}

void TerminalOutputView::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    viewport()->update();
}

bool TerminalOutputView::showsFocusRing() const
{
    return hasFocus() && m_focusFromKeyboard;
}

void TerminalOutputView::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (!showsFocusRing())
        return;
    // The output fills the window from edge to edge, so its ring lies just inside it.
    QPainter painter(viewport());
    const qreal inset = KeyboardAccess::focusRingWidth;
    KeyboardAccess::paintFocusRing(
        painter, QRectF(viewport()->rect()).adjusted(inset, inset, -inset, -inset), 2, palette());
}

void TerminalOutputView::scrollToEnd()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    m_following = true;
}

bool TerminalOutputView::isAtEnd() const
{
    const QScrollBar *bar = verticalScrollBar();
    return bar->value() >= bar->maximum();
}

bool TerminalOutputView::continuesShown(const QString &output) const
{
    if (output.size() < m_shown)
        return false;
    const QStringView view(output);
    return view.startsWith(m_head) && view.sliced(m_shown - m_tail.size()).startsWith(m_tail);
}

void TerminalOutputView::showOutput(const QString &output)
{
    if (!continuesShown(output)) {
        clear();
        m_shown = 0;
        m_head.clear();
        m_tail.clear();
        m_following = true;
    }
    if (output.size() == m_shown)
        return;

    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(output.sliced(m_shown));
    m_shown = output.size();
    if (m_head.size() < sampleLength)
        m_head = output.first(std::min(sampleLength, output.size()));
    m_tail = output.last(std::min(sampleLength, output.size()));

    if (m_following)
        scrollToEnd();
}

TerminalWindow::TerminalWindow(AppState &state, QWidget *parent)
    : OverlayPanel(
          QSize(UnifiedProgressOverlay::terminalWidth, UnifiedProgressOverlay::terminalHeight), 8,
          parent),
      m_state(state), m_output(new TerminalOutputView(this))
{
    setObjectName(QStringLiteral("terminalWindow"));
    connect(titleBar(), &OverlayTitleBar::closeClicked, this, [&state] {
        UnifiedProgressOverlay::dismiss(state,
                                        UnifiedProgressOverlay::OperationType::terminalOperation);
    });
    bodyLayout()->addWidget(m_output, 1);

    auto *bottom = new BottomArea(this);
    auto *bottomColumn = new QVBoxLayout(bottom);
    bottomColumn->setContentsMargins(12, 10, 12, 12);
    bodyLayout()->addWidget(bottom);

    // While the command waits for the password.
    m_passwordPage = new QWidget(bottom);
    auto *prompt = new QVBoxLayout(m_passwordPage);
    prompt->setContentsMargins(0, 0, 0, 0);
    prompt->setSpacing(8);
    auto *question = new QLabel(tr("Enter administrator password:"), m_passwordPage);
    question->setFont(overlayFont(13));
    prompt->addWidget(question);
    m_passwordField = new QLineEdit(m_passwordPage);
    m_passwordField->setObjectName(QStringLiteral("passwordField"));
    m_passwordField->setEchoMode(QLineEdit::Password);
    m_passwordField->setPlaceholderText(tr("Password"));
    m_passwordField->setAccessibleName(tr("Administrator password"));
    m_passwordField->setFont(overlayFont(13));
    question->setBuddy(m_passwordField);
    prompt->addWidget(m_passwordField);
    auto *promptButtons = new QHBoxLayout;
    promptButtons->setSpacing(8);
    promptButtons->addStretch(1);
    //: Cancels making the USB stick instead of giving the password.
    auto *cancel = new StyledButton(tr("Cancel"), NSButtonStyle{false}, m_passwordPage);
    cancel->setObjectName(QStringLiteral("terminalCancelButton"));
    cancel->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Escape));
    promptButtons->addWidget(cancel);
    //: Gives the typed password to the command.
    m_authorize = new StyledButton(tr("Authorize"), NSButtonStyle{true}, m_passwordPage);
    m_authorize->setObjectName(QStringLiteral("authorizeButton"));
    m_authorize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    m_authorize->setEnabled(false);
    promptButtons->addWidget(m_authorize);
    prompt->addLayout(promptButtons);
    bottomColumn->addWidget(m_passwordPage);

    connect(m_passwordField, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_authorize->setEnabled(!text.isEmpty()); });
    connect(m_passwordField, &QLineEdit::returnPressed, this, &TerminalWindow::submitPassword);
    connect(m_authorize, &QAbstractButton::clicked, this, &TerminalWindow::submitPassword);
    m_cancel = cancel;
    connect(cancel, &QAbstractButton::clicked, this, [&state] {
        UnifiedProgressOverlay::dismiss(state,
                                        UnifiedProgressOverlay::OperationType::terminalOperation);
    });

    // While the command runs and after it ended.
    m_progressPage = new QWidget(bottom);
    auto *running = new QVBoxLayout(m_progressPage);
    running->setContentsMargins(0, 0, 0, 0);
    running->setSpacing(6);
    m_bar = new LinearProgressBar(m_progressPage);
    running->addWidget(m_bar);
    auto *statusRow = new QHBoxLayout;
    statusRow->setSpacing(8);
    m_status = new ElidingLabel(Qt::ElideRight, m_progressPage);
    m_status->setObjectName(QStringLiteral("terminalStatus"));
    m_status->setFont(overlayFont(12));
    statusRow->addWidget(m_status, 1);
    //: Puts away the terminal window once the command has ended.
    m_close = new StyledButton(tr("Close"), NSButtonStyle{false}, m_progressPage);
    m_close->setObjectName(QStringLiteral("terminalCloseButton"));
    m_close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Escape));
    connect(m_close, &QAbstractButton::clicked, this, [&state] {
        UnifiedProgressOverlay::dismiss(state,
                                        UnifiedProgressOverlay::OperationType::terminalOperation);
    });
    statusRow->addWidget(m_close);
    running->addLayout(statusRow);
    bottomColumn->addWidget(m_progressPage);

    refresh();
}

void TerminalWindow::showEvent(QShowEvent *event)
{
    OverlayPanel::showEvent(event);
    if (m_state.isWaitingForPassword())
        m_passwordField->setFocus();
}

QString TerminalWindow::password() const
{
    return m_passwordField->text();
}

void TerminalWindow::submitPassword()
{
    // Return in an empty field must not start a run that can only fail.
    QString typed = m_passwordField->text();
    if (typed.isEmpty())
        return;
    // setText() drops the field's undo history too, which clear() would add the password to;
    // then this copy holds the field's buffer alone and is zeroed as the secret takes it.
    m_passwordField->setText(QString());
    m_state.executeTerminalCommand(Secret::takeText(typed));
}

void TerminalWindow::refresh()
{
    // Every chunk of output comes through here; the title changes only with the selection.
    const auto &installer = m_state.selectedInstaller();
    const QString titleKey =
        installer ? installer->url.toString() + u'\n' + installer->name : QString();
    if (!m_titleShown || titleKey != m_titleKey) {
        titleBar()->setTitle(UnifiedProgressOverlay::windowTitle(
            UnifiedProgressOverlay::OperationType::terminalOperation, m_state));
        titleBar()->setIcon(installer ? installer->icon : QIcon());
        m_titleKey = titleKey;
        m_titleShown = true;
    }

    m_output->showOutput(m_state.terminalOutput());

    const bool waiting = m_state.isWaitingForPassword();
    m_passwordPage->setVisible(waiting);
    m_progressPage->setVisible(!waiting);
    if (waiting && !m_wasWaiting && isVisible())
        m_passwordField->setFocus();
    m_wasWaiting = waiting;
    if (waiting)
        return;
    const ProgressInfo &progress = m_state.progressInfo();
    m_bar->setValue(progress.percentage);
    //: The terminal's status line: %1 is the whole percentage done, %2 what is being done.
    m_status->setFullText(
        tr("%1% \u2014 %2")
            .arg(QString::number(shownPercent(progress.percentage)), progress.message));
    m_close->setVisible(progress.isComplete);
}

QAbstractButton *TerminalWindow::escapeButton() const
{
    // While the command runs there is nothing to press: the red dot stops it, after a question
    // once the disk is being erased.
    if (m_passwordPage->isVisibleTo(this))
        return m_cancel;
    return m_close->isVisibleTo(this) ? m_close : nullptr;
}
