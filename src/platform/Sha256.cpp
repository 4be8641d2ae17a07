#include "platform/Sha256.h"

#include <openssl/evp.h>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

struct Sha256::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha256::Sha256() : context_(std::make_unique<Context>()) {
    if (!context_->md || EVP_DigestInit_ex(context_->md, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
}

Sha256::~Sha256() = default;

void Sha256::addData(QByteArrayView data) {
    if (EVP_DigestUpdate(context_->md, data.data(), size_t(data.size())) != 1)
        throw std::runtime_error("SHA-256 failed");
}

QByteArray Sha256::hexResult() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context_->md, digest, &length) != 1)
        throw std::runtime_error("SHA-256 failed");
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

struct BackgroundSha256::Queue {
    Sha256 sha;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<QByteArray> pieces;
    bool closing = false;
    std::exception_ptr failure;
    std::thread worker;

    void run() {
        for (;;) {
            QByteArray piece;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return closing || !pieces.empty(); });
                if (pieces.empty())
                    return;
                piece = std::move(pieces.front());
                pieces.pop_front();
            }
            try {
                if (!failure)
                    sha.addData(piece);
            } catch (...) {
                failure = std::current_exception();
            }
        }
    }

    void close() {
        {
            std::lock_guard lock(mutex);
            closing = true;
        }
        changed.notify_one();
        if (worker.joinable())
            worker.join();
    }
};

BackgroundSha256::BackgroundSha256() : queue_(std::make_unique<Queue>()) {
    queue_->worker = std::thread([queue = queue_.get()] { queue->run(); });
}

BackgroundSha256::~BackgroundSha256() {
    queue_->close();
}

void BackgroundSha256::addData(const QByteArray& piece) {
    {
        std::lock_guard lock(queue_->mutex);
        queue_->pieces.push_back(piece);
    }
    queue_->changed.notify_one();
}

QByteArray BackgroundSha256::hexResult() {
    queue_->close();
    if (queue_->failure)
        std::rethrow_exception(queue_->failure);
    return queue_->sha.hexResult();
}
