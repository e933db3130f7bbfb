#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <optional>

// One stage of a long operation, owning a slice [startPercentage, endPercentage] of the overall
// progress bar.
struct ProgressStep {
    QString title;
    QString message;
    double startPercentage = 0;
    double endPercentage = 0;
    bool isComplete = false;
    bool inProgress = false;
    QString detailMessage;
    double progressWithinStep = 0;

    bool operator==(const ProgressStep &) const = default;
};

// The state of a running operation as the user interface shows it. Every operation below mutates
// in place and silently ignores requests that do not apply (such as an out-of-range step).
struct ProgressInfo {
    enum class OperationType {
        dmgCreation,
        usbCreation,
        pkgInstallation,
        installerDownload,
        verification,
        scanning
    };

    double percentage = 0;
    QString message;
    QString detailMessage;
    qint64 currentStep = 0;
    bool isComplete = false;
    bool success = false;
    std::optional<QString> errorMessage;
    QString outputPath;
    QList<ProgressStep> steps;
    // Whether the run has begun erasing its target: from then on, stopping it leaves the target
    // erased and incomplete.
    bool targetErased = false;
    // Whether what the run wrote was read back and found to match its source.
    bool verified = false;

    // What a scan for installers says while it runs, before it has more to say.
    static QString scanningMessage();

    // Replaces the steps with the fixed table for the operation; scanning has no steps of its own
    // and keeps whatever is there.
    void setupSteps(OperationType type);

    // Adds a step after the others, taking the last `share` percent of the bar from them (their
    // slices and the percentage reached shrink to fit the rest): a run that goes on past the
    // table it started with, as when what it wrote is checked.
    void appendStep(const QString &title, const QString &message, double share);
    // Closes the current step and opens another one; the overall percentage jumps to its start.
    void updateCurrentStep(qint64 step);
    // Maps progress within the current step (0-100) onto the step's slice of the overall bar.
    void updateProgressWithinCurrentStep(double progress, const QString &detailMessage = {});
    void updateDetailMessage(const QString &detailMessage);
    void updateProgress(double percentage, const QString &message,
                        const QString &detailMessage = {});

    void markComplete(bool success, const QString &message = {},
                      const std::optional<QString> &errorMessage = std::nullopt);
    void completeAllSteps(bool success, const std::optional<QString> &errorMessage);
    void reset();

    bool hasCurrentStep() const { return currentStep >= 0 && currentStep < steps.size(); }

    // A copy to hand to another thread while this one goes on changing the record: its steps
    // are its own from the start, not shared until one side writes (Qt's check for sharing
    // orders nothing between the threads).
    ProgressInfo handedOver() const
    {
        ProgressInfo copy = *this;
        copy.steps.detach();
        return copy;
    }
};

Q_DECLARE_METATYPE(ProgressInfo)
