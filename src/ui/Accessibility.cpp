#include "ui/Accessibility.h"

#include "ui/CircularProgressView.h"
#include "ui/DiskRow.h"
#include "ui/OverlayParts.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

#include <functional>

namespace Accessibility {

namespace {

constexpr char roleProperty[] = "accessibleRole";

// A disk row: selected or not, and pressed to select it, as a click does.
class DiskRowInterface : public QAccessibleWidget {
public:
    explicit DiskRowInterface(DiskRow *row) : QAccessibleWidget(row, QAccessible::ListItem) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = row()->isSelected();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (row()->isEnabled())
            emit row()->clicked();
    }

private:
    DiskRow *row() const { return static_cast<DiskRow *>(widget()); }
};

// A determinate bar or ring: its value from 0 to 100.
class ProgressInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    ProgressInterface(QWidget *bar, std::function<double()> percentage)
        : QAccessibleWidget(bar, QAccessible::ProgressBar), m_percentage(std::move(percentage))
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text text) const override
    {
        if (text != QAccessible::Value)
            return QAccessibleWidget::text(text);
        //: A progress bar's value as read out; %1 is the whole percentage.
        return QCoreApplication::translate("Accessibility", "%1%")
            .arg(QString::number(shownPercent(m_percentage())));
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }

    QVariant currentValue() const override { return m_percentage(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    std::function<double()> m_percentage;
};

// The progress overlay, which keeps the window's other controls from the keyboard and the
// pointer while it is up.
class OverlayInterface : public QAccessibleWidget {
public:
    explicit OverlayInterface(QWidget *overlay) : QAccessibleWidget(overlay, QAccessible::Dialog) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = true;
        return state;
    }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("DiskRow"))
        return new DiskRowInterface(static_cast<DiskRow *>(widget));
    if (className == QLatin1String("LinearProgressBar")) {
        auto *bar = static_cast<LinearProgressBar *>(widget);
        return new ProgressInterface(bar, [bar] { return bar->value(); });
    }
    if (className == QLatin1String("CircularProgressView")) {
        auto *ring = static_cast<CircularProgressView *>(widget);
        return new ProgressInterface(ring, [ring] { return ring->progress() * 100; });
    }
    if (className == QLatin1String("ProgressSpinner"))
        return new QAccessibleWidget(widget, QAccessible::ProgressBar);
    if (className == QLatin1String("StepIndicatorDot"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (className == QLatin1String("UnifiedProgressOverlay"))
        return new OverlayInterface(widget);
    const QVariant role = widget->property(roleProperty);
    if (role.isValid())
        return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
    return nullptr;
}

} // namespace

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(interfaceFor);
}

void setRole(QWidget *widget, QAccessible::Role role)
{
    install();
    widget->setProperty(roleProperty, int(role));
}

void setName(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

void setDescription(QWidget *widget, const QString &description)
{
    if (widget->accessibleDescription() != description)
        widget->setAccessibleDescription(description);
}

void announceValue(QWidget *bar, double value)
{
    QAccessibleValueChangeEvent event(bar, value);
    QAccessible::updateAccessibility(&event);
}

void announceSelection(QWidget *item)
{
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(item, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace Accessibility
