#include "ui/AlertDialog.h"

#include "state/AppState.h"
#include "ui/Accessibility.h"
#include "ui/NamedColors.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// How wide the words of an alert may run before they wrap.
constexpr int textWidth = 300;

bool sameLook(const QList<AlertButton> &a, const QList<AlertButton> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].style != b[i].style || a[i].label != b[i].label)
            return false;
    return true;
}

QMessageBox::ButtonRole roleOf(AlertButton::Style style)
{
    // A destructive button is still the alert's answer, so it stands where an accepting button
    // stands; its colour tells what it does.
    return style == AlertButton::Style::cancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
}

} // namespace

AlertDialog::AlertDialog(AppState &state, QWidget *parent) : QMessageBox(parent), m_state(state)
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QApplication::applicationName());
    setTextFormat(Qt::PlainText);
    // Like the desktop's alerts: the application's icon and a bold title.
    const QIcon appIcon = QApplication::windowIcon();
    if (!appIcon.isNull())
        setIconPixmap(appIcon.pixmap(64, 64));
    if (auto *title = findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
    }
    connect(this, &QDialog::finished, this, &AlertDialog::closed);
    showCurrentAlert();
}

void AlertDialog::showCurrentAlert()
{
    if (text() != m_state.alertTitle())
        setText(m_state.alertTitle());
    if (informativeText() != m_state.alertMessage())
        setInformativeText(m_state.alertMessage());
    // Assistive tools read the alert by what it says, not by the application's name above it.
    Accessibility::setName(this, m_state.alertTitle());
    Accessibility::setDescription(this, m_state.alertMessage());
    // A message box wraps its words as narrowly as it can; an alert reads better wider. The
    // message's label is made with its first text, so this follows every change of text.
    // The informative label, too, is made with its first text, and by default takes markup; the
    // messages hold installer and volume names, which are shown as they are.
    for (auto *label : findChildren<QLabel *>(QRegularExpression(QStringLiteral("^qt_msgbox_")))) {
        label->setTextFormat(Qt::PlainText);
        if (label->wordWrap())
            label->setMinimumWidth(textWidth);
    }
    QList<AlertButton> alert{m_state.alertPrimaryButton()};
    if (m_state.alertSecondaryButton())
        alert << *m_state.alertSecondaryButton();
    if (m_state.alertCancelButton())
        alert << *m_state.alertCancelButton();
    const bool rebuild = !sameLook(alert, m_alert) || m_buttons.isEmpty();
    // Kept even when the buttons look the same: the new alert's actions are the ones to run.
    m_alert = alert;
    if (rebuild)
        rebuildButtons();
}

void AlertDialog::rebuildButtons()
{
    for (QAbstractButton *button : std::as_const(m_buttons)) {
        removeButton(button);
        button->deleteLater();
    }
    m_buttons.clear();

    QPushButton *defaultButton = nullptr;
    QPushButton *cancelButton = nullptr;
    for (const AlertButton &alertButton : std::as_const(m_alert)) {
        QPushButton *button = addButton(alertButton.label, roleOf(alertButton.style));
        switch (alertButton.style) {
        case AlertButton::Style::defaultAction:
            if (!defaultButton)
                defaultButton = button;
            break;
        case AlertButton::Style::cancel:
            if (!cancelButton)
                cancelButton = button;
            break;
        case AlertButton::Style::destructive: {
            QPalette colors = button->palette();
            colors.setColor(QPalette::ButtonText, NamedColors::red());
            button->setPalette(colors);
            break;
        }
        }
        m_buttons << button;
    }
    // Return never triggers a destructive button: with no default-style button it cancels.
    QPushButton *returnButton = defaultButton ? defaultButton : cancelButton;
    if (returnButton)
        setDefaultButton(returnButton);
    if (cancelButton)
        setEscapeButton(cancelButton);
    else if (m_buttons.size() == 1)
        setEscapeButton(m_buttons.first());
    else
        setEscapeButton(static_cast<QAbstractButton *>(nullptr));
}

void AlertDialog::withdraw()
{
    if (m_withdrawn)
        return;
    m_withdrawn = true;
    done(0);
    deleteLater();
}

void AlertDialog::closed()
{
    if (m_withdrawn)
        return;
    m_withdrawn = true;
    const qsizetype pressed = m_buttons.indexOf(clickedButton());
    const std::function<void()> action = pressed >= 0 ? m_alert[pressed].action : nullptr;
    deleteLater();
    m_state.alertCancelButton = std::nullopt;
    m_state.isShowingAlert = false;
    if (action)
        action();
}
