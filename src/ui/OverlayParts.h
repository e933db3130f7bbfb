#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QVariantAnimation>
#include <QWidget>

class QAbstractButton;
class QVBoxLayout;

// Pieces shared by the overlay's standard and terminal windows.

// The app font at `pixelSize`, so that the overlay's point sizes come out as on the Mac.
QFont overlayFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// One of the three coloured window-control dots. Its symbol fades in while the pointer is over
// the title bar. Only the red one does anything; the other two are shown, unavailable.
class WindowControlDot : public QAbstractButton {
    Q_OBJECT

public:
    WindowControlDot(const QColor &color, const QString &symbolName, int symbolSize,
                     QWidget *parent = nullptr);

    qreal symbolOpacity() const { return m_symbolOpacity; }
    void setSymbolOpacity(qreal opacity);

    QSize sizeHint() const override { return {12, 12}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    QIcon m_symbol;
    int m_symbolSize;
    qreal m_symbolOpacity = 0;
};

// The title bar of an overlay window: the three dots and a title, with an optional icon before
// it. Dragging it reports the translation from where the drag started. The red dot can be reached
// with Tab and pressed with Space or Return.
class OverlayTitleBar : public QWidget {
    Q_OBJECT

public:
    explicit OverlayTitleBar(int verticalInset, QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;
    void setIcon(const QIcon &icon);

    WindowControlDot *closeDot() const { return m_closeDot; }
    bool isHovered() const { return m_hovered; }

signals:
    void closeClicked();
    void dragged(const QPoint &translation);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);

    WindowControlDot *m_closeDot;
    QList<WindowControlDot *> m_dots;
    QLabel *m_icon;
    QLabel *m_title;
    QVariantAnimation m_fade;
    bool m_hovered = false;
    bool m_dragging = false;
    QPointF m_dragStart;
};

// A thin determinate bar, 0 to 100, in the accent colour; a progress bar with that value to
// assistive tools, which are told when its whole percentage changes.
class LinearProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit LinearProgressBar(QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);

    QSize sizeHint() const override { return {200, 6}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_value = 0;
};

// A one-line label that shortens its text with an ellipsis instead of widening the window, and
// offers the whole text as its tooltip when it had to. Assistive tools read the whole text.
class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidingLabel(Qt::TextElideMode mode = Qt::ElideRight, QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void elide();

    QString m_fullText;
    Qt::TextElideMode m_mode;
};

// The frame of an overlay window: fixed size, rounded, in the window colour, with the title bar
// and a divider on top and the window's own content below.
class OverlayPanel : public QWidget {
    Q_OBJECT

public:
    OverlayPanel(const QSize &size, int titleVerticalInset, QWidget *parent = nullptr);

    OverlayTitleBar *titleBar() const { return m_titleBar; }
    virtual void refresh() = 0;
    // The button Escape presses: the way out the window offers now (Cancel while a job runs,
    // Close once it ended), or none.
    virtual QAbstractButton *escapeButton() const = 0;

protected:
    QVBoxLayout *bodyLayout() const { return m_body; }
    void paintEvent(QPaintEvent *event) override;

private:
    OverlayTitleBar *m_titleBar;
    QVBoxLayout *m_body;
};

// N of a percentage as shown: truncated, never rounded up to a completion not yet reached.
int shownPercent(double percentage);
