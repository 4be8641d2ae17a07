// Long work without a frozen window: the work runs on a thread of its own while the calling
// thread keeps painting its windows (user input waits, so no second command starts meanwhile).
#pragma once

#include <functional>

// Runs work and returns when it is done; rethrows what it threw. Work that ends within a few
// hundredths of a second runs without any event being handled; longer work shows the busy
// cursor. Without an application, or off the application's thread, the work runs right here.
void runAside(const std::function<void()>& work);
