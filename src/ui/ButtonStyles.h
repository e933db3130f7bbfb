#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPalette>
#include <QString>

#include <variant>

class QPainter;
class QVariantAnimation;

// The large flat action button of the installer pane: a solid rounded block of a fixed width
// with white text (and an optional symbol before it).
struct AppButtonStyle {
    bool isPrimary = false; // set by the call sites; the look does not depend on it
    bool isDisabled = false;
    QColor backgroundColor;
    int width = 0;

    QSize sizeFor(const QString &label, bool hasSymbol) const;
    void makeBody(QPainter &painter, const QRect &rect, const QString &label, const QIcon &symbol,
                  bool pressed, const QPalette &palette) const;
    // As makeBody, part way into the pressed look (0 released, 1 pressed), for the animation.
    void drawBody(QPainter &painter, const QRect &rect, const QString &label, const QIcon &symbol,
                  qreal pressAmount, const QPalette &palette) const;

    // The label's font; a symbol is drawn as tall as its lines.
    static QFont font();
    // The fill when disabled.
    static QColor disabledColor();
};

// The smaller push button of the progress overlay, in the manner of the desktop's own.
struct NSButtonStyle {
    bool isPrimary = false;

    QSize sizeFor(const QString &label, bool hasSymbol) const;
    void makeBody(QPainter &painter, const QRect &rect, const QString &label, const QIcon &symbol,
                  bool pressed, const QPalette &palette) const;

    static QFont font();
    // Room around the block for its shadow, included in sizeFor.
    static QMargins shadowMargins();
};

// A button drawn in one of the two looks. It has no hover look; with the keyboard focus it shows
// the desktop's focus ring around its block, and Return presses it as Space does.
class StyledButton : public QAbstractButton {
    Q_OBJECT

public:
    using Style = std::variant<AppButtonStyle, NSButtonStyle>;

    explicit StyledButton(const QString &label, Style style, QWidget *parent = nullptr);

    void setStyle(Style style);
    const Style &buttonStyle() const { return m_style; }
    // A symbol drawn before the label, by its system symbol name; none when empty.
    void setSymbol(const QString &symbolName);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void followPressedState();

    Style m_style;
    QString m_symbolName;
    qreal m_pressAmount = 0; // 0 released, 1 pressed; animated for the app style
    QVariantAnimation *m_pressAnimation = nullptr;
};
