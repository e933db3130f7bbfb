#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

// One button of the application's alert: how it looks, what it says, and what pressing it does
// (on the main thread; nothing when there is no action).
struct AlertButton {
    Q_DECLARE_TR_FUNCTIONS(AlertButton)

public:
    enum class Style { defaultAction, cancel, destructive };

    Style style = Style::defaultAction;
    QString label;
    std::function<void()> action;

    static AlertButton defaultButton(const QString &label, std::function<void()> action = {})
    {
        return {Style::defaultAction, label, std::move(action)};
    }
    static AlertButton cancelButton(const QString &label = tr("Cancel"),
                                    std::function<void()> action = {})
    {
        return {Style::cancel, label, std::move(action)};
    }
    static AlertButton destructiveButton(const QString &label, std::function<void()> action = {})
    {
        return {Style::destructive, label, std::move(action)};
    }
};
