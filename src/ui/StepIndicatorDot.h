#pragma once

#include <QWidget>

// One dot of the row that shows every step of an operation at a glance. To assistive tools a
// picture; whoever shows it names it after its step and describes its state.
class StepIndicatorDot : public QWidget {
    Q_OBJECT

public:
    explicit StepIndicatorDot(QWidget *parent = nullptr);

    void setState(bool isComplete, bool isActive, bool isFuture);
    bool isComplete() const { return m_isComplete; }
    bool isActive() const { return m_isActive; }
    bool isFuture() const { return m_isFuture; }

    // Green once done, blue while under way, otherwise a faint gray.
    QColor fillColor() const;

    QSize sizeHint() const override { return {8, 8}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_isComplete = false;
    bool m_isActive = false;
    bool m_isFuture = false;
};
