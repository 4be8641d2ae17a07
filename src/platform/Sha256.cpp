#include "platform/Sha256.h"

#include <QCryptographicHash>
#include <QLibrary>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <openssl/evp.h>
#include <stdexcept>
#include <thread>

namespace {

// libcrypto's digest functions, looked up the first time a sum is made: a start of the program
// does not load the library (over a megabyte of memory touched by its set-up), a download loads
// it anyway for its TLS. Empty when the library cannot be loaded; Qt's own SHA-256 then serves.
struct Libcrypto {
    decltype(&EVP_MD_CTX_new) newContext = nullptr;
    decltype(&EVP_MD_CTX_free) freeContext = nullptr;
    decltype(&EVP_sha256) sha256 = nullptr;
    decltype(&EVP_DigestInit_ex) init = nullptr;
    decltype(&EVP_DigestUpdate) update = nullptr;
    decltype(&EVP_DigestFinal_ex) final = nullptr;

    bool usable() const { return newContext && freeContext && sha256 && init && update && final; }

    static const Libcrypto& get() {
        static const Libcrypto functions = [] {
            Libcrypto f;
            QLibrary library(QStringLiteral("crypto"), 3);
            const auto find = [&library](auto& pointer, const char* name) {
                pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
                    library.resolve(name));
            };
            find(f.newContext, "EVP_MD_CTX_new");
            find(f.freeContext, "EVP_MD_CTX_free");
            find(f.sha256, "EVP_sha256");
            find(f.init, "EVP_DigestInit_ex");
            find(f.update, "EVP_DigestUpdate");
            find(f.final, "EVP_DigestFinal_ex");
            return f;
        }();
        return functions;
    }
};

} // namespace

struct Sha256::Context {
    const Libcrypto& crypto = Libcrypto::get();
    EVP_MD_CTX* md = crypto.usable() ? crypto.newContext() : nullptr;
    QCryptographicHash fallback{QCryptographicHash::Sha256};
    ~Context() {
        if (md)
            crypto.freeContext(md);
    }
};

Sha256::Sha256() : context_(std::make_unique<Context>()) {
    if (context_->crypto.usable() &&
        (!context_->md ||
         context_->crypto.init(context_->md, context_->crypto.sha256(), nullptr) != 1))
        throw std::runtime_error("SHA-256 is not available");
}

Sha256::~Sha256() = default;

void Sha256::addData(QByteArrayView data) {
    if (!context_->md)
        context_->fallback.addData(data);
    else if (context_->crypto.update(context_->md, data.data(), size_t(data.size())) != 1)
        throw std::runtime_error("SHA-256 failed");
}

QByteArray Sha256::hexResult() {
    if (!context_->md)
        return context_->fallback.result().toHex();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (context_->crypto.final(context_->md, digest, &length) != 1)
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
