#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QByteArray digestOf(const QByteArray& data, int blockSize) {
    Sha256 hash;
    for (qsizetype at = 0; at < data.size(); at += blockSize)
        hash.addData(
            QByteArrayView(data).sliced(at, std::min<qsizetype>(blockSize, data.size() - at)));
    return hash.hexResult();
}

} // namespace

// The published test vectors, the long one added in blocks that do not fall on SHA-256's own
// 64-byte blocks, as a download's blocks arrive.
TEST(Sha256, GivesThePublishedDigestsWhateverTheBlocks) {
    EXPECT_EQ(digestOf({}, 1), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(digestOf("abc", 1),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const QByteArray million(1000000, 'a');
    for (int blockSize : {2048, 1000, 997})
        EXPECT_EQ(digestOf(million, blockSize),
                  "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0")
            << blockSize;
}
