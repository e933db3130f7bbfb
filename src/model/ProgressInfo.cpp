#include "ProgressInfo.h"

#include <QCoreApplication>

namespace {

QString successMessage()
{
    return QCoreApplication::translate("ProgressInfo", "Operation completed successfully");
}

// The title and message are marked for translation in the tables below and translated here, as
// the record's steps are made.
ProgressStep step(const char *title, const char *message, double start, double end)
{
    ProgressStep s;
    s.title = QCoreApplication::translate("ProgressInfo", title);
    s.message = QCoreApplication::translate("ProgressInfo", message);
    s.startPercentage = start;
    s.endPercentage = end;
    return s;
}

QList<ProgressStep> stepTable(ProgressInfo::OperationType type)
{
    using Type = ProgressInfo::OperationType;
    switch (type) {
    case Type::usbCreation:
        return {
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Erasing Disk"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Preparing the disk by erasing target volume"),
                 0, 15),
            // The misspelt title is what users have always seen; keep it.
            //: A step title, misspelt in English on purpose: translate “Preparing the Disk”
            step(
                QT_TRANSLATE_NOOP("ProgressInfo", "Preaparing the Disk"),
                QT_TRANSLATE_NOOP("ProgressInfo",
                                  "Transferring macOS Installer files, this could take a while..."),
                15, 25),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Copying Files"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Copying macOS installer files"), 25, 85),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Making Bootable"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Making disk bootable"), 85, 95),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Finishing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Finalizing bootable USB"), 95, 100),
        };
    case Type::dmgCreation:
        return {
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Creating DMG"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Creating empty DMG file"), 0, 30),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Making Bootable"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Making DMG bootable"), 30, 70),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Converting"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Converting DMG to ISO"), 70, 90),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Finishing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Cleaning up temporary files"), 90, 100),
        };
    case Type::pkgInstallation:
        return {
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Preparing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Preparing package installation"), 0, 10),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Extracting"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Extracting package contents"), 10, 30),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Installing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Installing macOS Installer"), 30, 90),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Finishing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Finalizing installation"), 90, 100),
        };
    case Type::installerDownload:
        return {
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Preparing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Asking Apple for the installer"), 0, 5),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Downloading"),
                 QT_TRANSLATE_NOOP("ProgressInfo",
                                   "Downloading and installing the installer from Apple"),
                 5, 95),
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Finishing"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Adding the installer to the library"), 95, 100),
        };
    case Type::verification:
        return {
            step(QT_TRANSLATE_NOOP("ProgressInfo", "Verifying"),
                 QT_TRANSLATE_NOOP("ProgressInfo", "Comparing the media with the installer"), 0,
                 100),
        };
    case Type::scanning:
        break;
    }
    return {};
}

QString failureMessage(const std::optional<QString> &error)
{
    //: %1 is why the operation failed
    return QCoreApplication::translate("ProgressInfo", "Operation failed: %1")
        .arg(error.value_or(QCoreApplication::translate("ProgressInfo", "Unknown error")));
}

} // namespace

QString ProgressInfo::scanningMessage()
{
    return QCoreApplication::translate("ProgressInfo", "Scanning for macOS installers...");
}

void ProgressInfo::setupSteps(OperationType type)
{
    if (type == OperationType::scanning)
        return;
    steps = stepTable(type);
    if (!steps.isEmpty())
        steps.first().inProgress = true;
}

void ProgressInfo::appendStep(const QString &title, const QString &message, double share)
{
    const double kept = (100 - share) / 100;
    for (ProgressStep &s : steps) {
        s.startPercentage *= kept;
        s.endPercentage *= kept;
    }
    percentage *= kept;
    ProgressStep added;
    added.title = title;
    added.message = message;
    added.startPercentage = 100 - share;
    added.endPercentage = 100;
    steps << added;
}

void ProgressInfo::updateCurrentStep(qint64 step)
{
    if (step < 0 || step >= steps.size())
        return;
    if (hasCurrentStep()) {
        ProgressStep &previous = steps[currentStep];
        previous.isComplete = true;
        previous.inProgress = false;
        previous.progressWithinStep = 100;
    }
    currentStep = step;
    ProgressStep &next = steps[currentStep];
    next.inProgress = true;
    percentage = next.startPercentage;
    message = next.message;
}

void ProgressInfo::updateProgressWithinCurrentStep(double progress, const QString &detail)
{
    if (!hasCurrentStep())
        return;
    ProgressStep &current = steps[currentStep];
    current.progressWithinStep = progress;
    percentage = ((current.endPercentage - current.startPercentage) * progress) / 100 +
                 current.startPercentage;
    if (!detail.isEmpty()) {
        current.detailMessage = detail;
        detailMessage = detail;
    }
}

void ProgressInfo::updateDetailMessage(const QString &detail)
{
    detailMessage = detail;
    if (hasCurrentStep())
        steps[currentStep].detailMessage = detail;
}

void ProgressInfo::updateProgress(double newPercentage, const QString &newMessage,
                                  const QString &detail)
{
    percentage = newPercentage;
    message = newMessage;
    if (!detail.isEmpty())
        detailMessage = detail;
}

void ProgressInfo::markComplete(bool succeeded, const QString &finalMessage,
                                const std::optional<QString> &error)
{
    isComplete = true;
    success = succeeded;
    if (succeeded) {
        percentage = 100;
        message = finalMessage.isEmpty() ? successMessage() : finalMessage;
    } else {
        errorMessage = error;
        message = failureMessage(error);
        // The step the run ended in is no longer under way.
        if (hasCurrentStep())
            steps[currentStep].inProgress = false;
    }
}

void ProgressInfo::completeAllSteps(bool succeeded, const std::optional<QString> &error)
{
    isComplete = true;
    success = succeeded;
    errorMessage = error;
    if (succeeded) {
        for (ProgressStep &s : steps) {
            s.isComplete = true;
            s.inProgress = false;
            s.progressWithinStep = 100;
        }
        percentage = 100;
        message = successMessage();
    } else if (hasCurrentStep()) {
        steps[currentStep].inProgress = false;
        message = failureMessage(error);
    }
}

void ProgressInfo::reset()
{
    *this = ProgressInfo();
}
