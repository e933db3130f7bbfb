#pragma once

#include <QAccessible>

class QWidget;

// What assistive tools are told of the custom-drawn widgets, which Qt's own interfaces do not
// describe: a disk row is a selectable list item, the bars and the step ring are progress bars
// with a value, the spinners busy progress bars, a step dot a picture, the progress overlay a
// modal dialog. Names and descriptions are the widgets' own accessible texts.
namespace Accessibility {

// Makes the interfaces above known; every widget that has one calls it before anything asks.
void install();

// Gives a plain widget a role of its own, such as the list that holds the disk rows. Set before
// anything asks for the widget's interface.
void setRole(QWidget *widget, QAccessible::Role role);

// Set a widget's accessible name or description when it differs from the one it has: every
// setting is announced to assistive tools, and views that follow the state set them often.
void setName(QWidget *widget, const QString &name);
void setDescription(QWidget *widget, const QString &description);

// Tells assistive tools that a progress bar's value changed.
void announceValue(QWidget *bar, double value);
// Tells assistive tools that a selectable item was selected or deselected.
void announceSelection(QWidget *item);

} // namespace Accessibility
