#include "rtf/RtfByteSource.h"

#include "platform/AppError.h"

#include <QIODevice>
#include <cstring>

RtfByteSource::RtfByteSource(QIODevice* device) : device_(device) {
    storage_.resize(BlockSize);
}

// Keeps the unread bytes and reads more until `need` are there or the device is done.
bool RtfByteSource::fill(qsizetype need) {
    if (!device_ || ended_)
        return length_ - position_ >= need;
    char* base = storage_.data();
    const qsizetype keep = length_ - position_;
    if (keep > 0 && position_ > 0)
        memmove(base, base + position_, size_t(keep));
    position_ = 0;
    length_ = keep;
    while (length_ < need && !ended_) {
        const qint64 n = device_->read(base + length_, BlockSize - length_);
        if (n < 0)
            throw AppError(QStringLiteral("Failed to Load Stream"));
        if (n == 0)
            ended_ = true;
        length_ += qsizetype(n);
    }
    data_ = reinterpret_cast<const uchar*>(base);
    return length_ >= need;
}
