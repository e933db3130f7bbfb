#pragma once

#include "model/ProgressInfo.h"

#include <QWidget>

class CircularProgressView;
class ProgressSpinner;
class QLabel;

// One step of an operation: a round indicator (done, under way with or without a known share,
// or not yet started), the step's title and latest detail, and its own percentage while that
// means something. Its accessible name is the step's title, its description the detail line.
class StepRowView : public QWidget {
    Q_OBJECT

public:
    explicit StepRowView(QWidget *parent = nullptr);

    void setStep(const ProgressStep &step);
    const ProgressStep &step() const { return m_step; }

private:
    class IndicatorDisc;

    ProgressStep m_step;
    IndicatorDisc *m_indicator;
    QLabel *m_checkmark;
    CircularProgressView *m_ring;
    ProgressSpinner *m_spinner;
    QLabel *m_title;
    QLabel *m_detail;
    QLabel *m_percent;
};
