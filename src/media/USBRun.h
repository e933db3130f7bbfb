#pragma once

#include "exec/Cancellation.h"
#include "media/USBCreator.h"
#include "model/InstallMediaOutput.h"
#include "model/ProgressInfo.h"

#include <QString>

#include <memory>

// One run's progress, written from the work thread until the command starts and from the main
// thread afterwards; every report hands the caller a copy.
struct UsbRun {
    ProgressInfo progress;
    InstallMediaOutput output;
    // The job the run is part of; null when it was started outside one.
    std::shared_ptr<Cancellation> cancellation;
    USBCreator::ProgressHandler report;

    void publish() { report(progress); }
};

// Moves the run on by one chunk of createinstallmedia's output on either stream, publishing the
// change. The bar only moves forward, and nothing the tool prints completes the run.
void handleInstallMediaOutput(UsbRun &run, InstallMediaOutput::Stream stream, const QString &chunk);
