#pragma once

#include "state/AppState.h"
#include "support/QuickTiming.h"
#include "support/StandInWorld.h"

#include <memory>

// Where window and state test classes that derive from this start each test: the application's
// delays shrunk, a fresh stand-in Mac as the host and a state on it.
class StandInSession {
protected:
    // A new state ejects the Mac's Shared Support volume and lists the disks again then, making
    // the rows anew at a moment of its own; tests that look at the disks have it ejected before.
    enum class SharedSupport { attached, ejected };

    // From init(). The host passes the environment on to the stand-in tools as it is now.
    void startSession(SharedSupport sharedSupport)
    {
        Timing::setCurrent(quickTiming());
        world = std::make_unique<StandInWorld>();
        QVERIFY(world->isValid());
        if (sharedSupport == SharedSupport::ejected)
            world->run(QStringLiteral("usr/sbin/diskutil"),
                       {QStringLiteral("eject"), QStringLiteral("disk5")});
        state = std::make_unique<AppState>();
    }
    // From cleanup(), once nothing shown uses the state: it goes before the Mac it works on.
    void endSession()
    {
        state.reset();
        world.reset();
    }

    std::unique_ptr<StandInWorld> world;
    std::unique_ptr<AppState> state;
};
