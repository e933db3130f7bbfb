#pragma once

#include "media/USBCreator.h"
#include "model/InstallMediaOutputLine.h"
#include "model/ProgressInfo.h"

#include <QString>

// One run's progress, written from the work thread until the command starts and from the main
// thread afterwards; every report hands the caller a copy.
struct UsbRun {
    ProgressInfo progress;
    InstallMediaOutputLine outputLine;
    USBCreator::ProgressHandler report;

    void publish() { report(progress); }
};

// Moves the run on by one chunk of createinstallmedia's standard output, publishing each change.
void handleInstallMediaOutput(UsbRun &run, const QString &chunk);
