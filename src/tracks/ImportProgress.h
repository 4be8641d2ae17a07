// How far a reader of many files has come, and whether the user has asked it to stop. The reader
// runs on a worker thread and writes; the window reads it on a timer and sets cancelled.
#pragma once

#include <atomic>

struct ImportProgress {
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> cancelled{false};
};
