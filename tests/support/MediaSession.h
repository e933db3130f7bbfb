#pragma once

#include "state/AppState.h"

#include <QtTest>

#include <algorithm>

// A state with the world's installers and disks loaded and Sequoia and the USB stick selected.
struct MediaSession {
    AppState state;
    QList<double> shownPercentages;

    MediaSession()
    {
        QObject::connect(&state, &AppState::changed, [this] {
            const double shown = state.progressInfo().percentage;
            if (shownPercentages.isEmpty() || shownPercentages.last() != shown)
                shownPercentages << shown;
        });
        state.scanForInstallers();
        QTRY_VERIFY(!state.isScanning() && !state.installers().isEmpty());
        state.refreshDiskList();
        QTRY_VERIFY(!state.isLoadingDisks() && !state.availableDisks().isEmpty());
        select("Install macOS Sequoia");
        for (const DiskInfo &disk : state.availableDisks())
            if (disk.deviceIdentifier == "disk4s2")
                state.selectedDisk = disk;
        state.progressInfo = ProgressInfo(); // the scan's finished record is not the run's
        shownPercentages.clear();
    }

    void select(const QString &installerName)
    {
        for (const InstallerApp &installer : state.installers())
            if (installer.name == installerName)
                state.selectedInstaller = installer;
    }
    void pressPrimary()
    {
        QVERIFY(state.isShowingAlert());
        state.isShowingAlert = false;
        state.alertPrimaryButton().action();
    }
    // Waits for the run's record to complete and, unless told not to, for the run to wind down
    // and its result to be put away, as Close does.
    bool finish(bool windDown = true)
    {
        if (!QTest::qWaitFor([this] { return state.progressInfo().isComplete; }, 20000))
            return false;
        if (!windDown)
            return true;
        if (!QTest::qWaitFor([this] { return !state.hasJob(); }))
            return false;
        state.isCreatingMedia = false;
        state.isShowingTerminalOverlay = false;
        return true;
    }
    bool movedForwardOnly() const
    {
        return std::is_sorted(shownPercentages.begin(), shownPercentages.end());
    }
};
