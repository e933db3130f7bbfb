#pragma once

#include "ui/OverlayParts.h"

#include <QPlainTextEdit>

class AppState;
class LinearProgressBar;
class QLineEdit;
class StyledButton;

// The command's live output. It only ever appends what is new, so a long run costs time in
// proportion to its output, and it follows the end unless the reader has scrolled away from it.
// It can be read with the keyboard; Tab goes on past it.
class TerminalOutputView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TerminalOutputView(QWidget *parent = nullptr);

    // Shows `output`: appends its new tail when it continues what is shown, starts over when it
    // was replaced.
    void showOutput(const QString &output);
    qsizetype shownLength() const { return m_shown; }
    bool isAtEnd() const;
    bool showsFocusRing() const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool continuesShown(const QString &output) const;
    void scrollToEnd();

    qsizetype m_shown = 0;
    // Whether the view keeps to the end of the output: true until the reader scrolls up, and
    // again once they scroll back down. The view stays at the end as output arrives and as it
    // shrinks (the password field or Close appearing below it).
    bool m_following = true;
    // The start and the end of what is shown: checking these instead of the whole text keeps
    // each update independent of the length of the output.
    QString m_head;
    QString m_tail;
    bool m_focusFromKeyboard = false;
};

// The overlay's window for the password-fed USB path: the command's output, the administrator
// password prompt, then the progress line.
class TerminalWindow : public OverlayPanel {
    Q_OBJECT

public:
    explicit TerminalWindow(AppState &state, QWidget *parent = nullptr);

    void refresh() override;
    QAbstractButton *escapeButton() const override;
    QString password() const;
    TerminalOutputView *outputView() const { return m_output; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void submitPassword();

    AppState &m_state;
    TerminalOutputView *m_output;
    QWidget *m_passwordPage;
    QLineEdit *m_passwordField;
    StyledButton *m_cancel;
    StyledButton *m_authorize;
    QWidget *m_progressPage;
    LinearProgressBar *m_bar;
    ElidingLabel *m_status;
    StyledButton *m_close;
    bool m_wasWaiting = false;
    QString m_titleKey;
    bool m_titleShown = false;
};
