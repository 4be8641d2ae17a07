// The bytes of an RTF file for the tokenizer, from an array or from a device read in blocks: one
// byte at a time with a short look-ahead, or the rest of the current block at once for the scans
// over text and binary data.
#pragma once

#include <QByteArray>

class QIODevice;

class RtfByteSource {
public:
    explicit RtfByteSource(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())), length_(bytes.size()) {}
    explicit RtfByteSource(QIODevice* device);

    // The next byte, or -1 at the end. Reading a device that fails throws AppError "Failed to
    // Load Stream".
    int get() {
        if (position_ < length_ || fill(1))
            return data_[position_++];
        return -1;
    }
    // The byte `ahead` places after the next one, without reading it; -1 past the end.
    int peek(qsizetype ahead = 0) {
        if (position_ + ahead < length_ || fill(ahead + 1))
            return data_[position_ + ahead];
        return -1;
    }

    // The bytes available without reading the device again (at least one unless at the end).
    qsizetype available() {
        if (position_ >= length_)
            fill(1);
        return length_ - position_;
    }
    // The next byte of the block; with available(), a view that stays valid until the next read.
    const uchar* current() const { return data_ + position_; }
    void advance(qsizetype count) { position_ += count; }

private:
    static constexpr qsizetype BlockSize = 64 * 1024;

    bool fill(qsizetype need);

    QIODevice* device_ = nullptr;
    QByteArray storage_;
    const uchar* data_ = nullptr;
    qsizetype position_ = 0;
    qsizetype length_ = 0;
    bool ended_ = false;
};
