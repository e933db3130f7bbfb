#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QVariantAnimation>
#include <QWidget>

// Progress within one step as a ring: a faint full circle and, over it, an arc from the top,
// clockwise, covering the fraction done. To assistive tools a progress bar of 0 to 100.
class CircularProgressView : public QWidget {
    Q_OBJECT

public:
    explicit CircularProgressView(QWidget *parent = nullptr);

    // 0 to 1; more than 1 draws the full ring. A visible ring glides to the new value.
    void setProgress(double progress);
    double progress() const { return m_progress; }
    // The fraction the arc covers right now, which trails progress() while it glides.
    double drawnProgress() const { return m_drawn; }

    void setColor(const QColor &color);

    QSize sizeHint() const override { return {12, 12}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_progress = 0;
    double m_drawn = 0;
    QColor m_color = Qt::white;
    QVariantAnimation m_glide;
};

// The indeterminate spinner: spokes fading round a circle. It only turns while it is shown. To
// assistive tools a progress bar without a value.
class ProgressSpinner : public QWidget {
    Q_OBJECT

public:
    explicit ProgressSpinner(int diameter, QWidget *parent = nullptr);

    // Without a colour of its own it draws in the palette's text colour.
    void setColor(const QColor &color);
    bool isSpinning() const { return m_timer.isActive(); }

    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    static constexpr int spokes = 8;

    int m_diameter;
    int m_step = 0;
    QColor m_color;
    QBasicTimer m_timer;
};
