// Makes the calling thread obey file permissions while it lives, also when the tests run as root:
// the capabilities that override them are taken out of the thread's effective set and put back
// afterwards. A read-only folder is then read-only for the test as it is for a user.
#pragma once

#include <cstring>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class ObeyFilePermissions {
public:
    ObeyFilePermissions() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, kept_) != 0)
            return;
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, kept_, sizeof lowered);
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            lowered[capability / 32].effective &= ~(1u << (capability % 32));
        lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~ObeyFilePermissions() {
        if (lowered_)
            syscall(SYS_capset, &header_, kept_);
    }
    ObeyFilePermissions(const ObeyFilePermissions&) = delete;
    ObeyFilePermissions& operator=(const ObeyFilePermissions&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct kept_[2]{};
    bool lowered_ = false;
};
