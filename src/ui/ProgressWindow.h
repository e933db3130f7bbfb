#pragma once

#include "ui/OverlayParts.h"
#include "ui/UnifiedProgressOverlay.h"

class AppState;
struct ProgressInfo;
class CompletionView;
class LinearProgressBar;
class ProgressSpinner;
class QHBoxLayout;
class StepIndicatorDot;
class StepRowView;
class StyledButton;

// The overlay's standard window: the progress of a scan, a package installation or a media run,
// as a plain bar or as its list of steps, then how it ended. Each dot of the steps is named after
// its step and described by its state, so assistive tools can read the whole run.
class ProgressWindow : public OverlayPanel {
    Q_OBJECT

public:
    ProgressWindow(UnifiedProgressOverlay::OperationType type, AppState &state,
                   QWidget *parent = nullptr);

    void refresh() override;
    QAbstractButton *escapeButton() const override;

private:
    // What a step's dot is read out as, with %1 its number and %2 how many there are.
    static QString stepState(const StepIndicatorDot &dot);
    QWidget *makeScanContent();
    QWidget *makeSimpleContent();
    QWidget *makeStepsContent();
    void showScan(const ProgressInfo &progress);
    void showSimple(const ProgressInfo &progress, bool sipNotice);
    void showSteps(const ProgressInfo &progress, bool sipNotice);

    AppState &m_state;
    const UnifiedProgressOverlay::OperationType m_type;

    QWidget *m_scan = nullptr;
    QLabel *m_scanMessage = nullptr;
    QLabel *m_scanDetail = nullptr;

    QWidget *m_simple = nullptr;
    QLabel *m_headline = nullptr;
    QLabel *m_sipNotice = nullptr;
    LinearProgressBar *m_simpleBar = nullptr;
    QLabel *m_percentText = nullptr;
    QLabel *m_simpleDetail = nullptr;

    QWidget *m_steps = nullptr;
    QLabel *m_stepsHeader = nullptr;
    QLabel *m_sipBadge = nullptr;
    LinearProgressBar *m_stepsBar = nullptr;
    QWidget *m_stepCard = nullptr;
    StepRowView *m_stepRow = nullptr;
    QHBoxLayout *m_dotRow = nullptr;
    QList<StepIndicatorDot *> m_dots;

    CompletionView *m_completion = nullptr;
    StyledButton *m_cancel = nullptr;
};
