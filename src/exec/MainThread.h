#pragma once

#include <functional>

// Queues `task` to run on the main (interface) thread's event loop, after every task queued
// before it from the same thread.
void runOnMainThread(std::function<void()> task);
