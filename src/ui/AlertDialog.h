#pragma once

#include "state/AlertButton.h"

#include <QMessageBox>

#include <optional>

class AppState;

// The application's one alert, showing the state's alert title, message and buttons (the primary
// first). Pressing a button closes the alert, lowers the state's alert flag and then runs the
// button's action, so an action may raise the next alert. Escape or closing the window counts as
// pressing the cancel-style button, when there is one.
class AlertDialog : public QMessageBox {
    Q_OBJECT

public:
    explicit AlertDialog(AppState &state, QWidget *parent = nullptr);

    // Takes over the state's alert as it is now; a later alert replaces the one showing.
    void showCurrentAlert();
    // Closes the alert without touching the state or running an action: the state put it away.
    void withdraw();

    QList<QAbstractButton *> alertButtons() const { return m_buttons; }

private:
    void rebuildButtons();
    void closed();

    AppState &m_state;
    QList<AlertButton> m_alert;
    QList<QAbstractButton *> m_buttons;
    bool m_withdrawn = false;
};
