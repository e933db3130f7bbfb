#pragma once

#include <QMargins>
#include <QRectF>
#include <QToolButton>

#include <functional>

class QAbstractButton;
class QColor;
class QPainter;
class QPalette;
class QWidget;

// Keyboard use of the custom-drawn controls, as the desktop has it: Return presses a focused
// button as Space does, and a control that has the keyboard focus shows a ring in the accent
// colour around its outline. A click that gives a control the focus shows no ring; the keyboard
// reaching it does.
namespace KeyboardAccess {

constexpr qreal focusRingWidth = 3;

// The outline a control's ring follows: its rectangle less `inset`, with corners of `radius`.
struct RingShape {
    qreal radius = 0;
    QMargins inset;
};

// The ring's colour: the accent, half opaque, as the desktop's keyboard focus ring.
QColor focusRingColor(const QPalette &palette);

// Draws the ring just outside `outline`, a rounded rectangle with corners of `radius`, for a
// control that draws its own ring inside its area (a row of a list).
void paintFocusRing(QPainter &painter, const QRectF &outline, qreal radius,
                    const QPalette &palette);

// Return and Enter press `button` as Space does. The window's buttons are not a dialog's, where
// Return would press the default button.
void pressOnReturn(QAbstractButton *button);

// Draws the ring around `control`, outside its area, while the keyboard has given it the focus.
void showFocusRing(QWidget *control, qreal radius, const QMargins &inset = {});
// The same for a control whose outline changes with its look; asked each time the ring is drawn.
void showFocusRing(QWidget *control, std::function<RingShape()> shape);

// Whether the ring of `control` is drawn now.
bool showsFocusRing(const QWidget *control);

// Whether a focus change for `reason` came from the keyboard (or from the program), as opposed
// to a click; for controls that draw their own ring.
bool isKeyboardFocusReason(int reason);

// A tool button with the ring instead of the style's own focus look, which would draw a second
// ring inside it. Return presses it.
class RingedToolButton : public QToolButton {
public:
    explicit RingedToolButton(qreal ringRadius, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace KeyboardAccess
