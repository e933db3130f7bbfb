#pragma once

#include <chrono>

// Every delay and time limit of the program in one place. The defaults are the real ones; tests
// install shorter ones instead of waiting minutes or hours.
struct Timing {
    using Duration = std::chrono::milliseconds;

    // A plain shell command run and waited for.
    Duration commandLimit = std::chrono::minutes(5);
    // An administrator command run through the script runner and waited for.
    Duration adminCommandLimit = std::chrono::minutes(30);
    // A streamed administrator command that has printed nothing yet is taken to be stuck at the
    // password prompt after this long.
    Duration adminRightsWait = std::chrono::minutes(5);
    // A streamed administrator command is stopped after this long.
    Duration adminStreamLimit = std::chrono::hours(3);
    // A command fed the password through the terminal path is stopped after this long.
    Duration terminalCommandLimit = std::chrono::hours(2);
    // A tool asked to terminate that is still running this long afterwards is killed.
    Duration terminationGrace = std::chrono::seconds(10);

    static Timing current();
    static void setCurrent(const Timing &timing);
};
