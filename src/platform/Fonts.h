// The fonts the windows are designed with (Verdana, Arial, MS Sans Serif) are not on every
// system; this maps each to a free font of like shape and width.
#pragma once

#include <thread>

void installFontSubstitutes();

// Reads the system's font configuration on a thread of its own, from the start of the program,
// so that the first text the windows lay out does not wait for it (the configuration files are
// many, and reading them is the largest single step of a start). The thread ends by itself; the
// object waits for it when it goes.
//
// Fontconfig does not wait for a configuration another thread is still making: a first use of
// the fonts meanwhile makes a second one, and the two compete for the processor. The program
// therefore calls wait() before it first lays out text.
class FontConfigurationWarmUp {
public:
    FontConfigurationWarmUp();
    ~FontConfigurationWarmUp();
    FontConfigurationWarmUp(const FontConfigurationWarmUp&) = delete;
    FontConfigurationWarmUp& operator=(const FontConfigurationWarmUp&) = delete;
    // Returns once the configuration is made.
    void wait();

private:
    std::thread thread_;
};
