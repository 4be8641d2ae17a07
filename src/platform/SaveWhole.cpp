#include "platform/SaveWhole.h"

#include <QSaveFile>
#include <memory>
#include <vector>

namespace {

bool writeAll(QSaveFile& out, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

bool saveFileWhole(const QString& path, const QByteArray& bytes) {
    return saveFilesWhole({{path, bytes}}).isEmpty();
}

QString saveFilesWhole(const QList<FileToWrite>& files) {
    std::vector<std::unique_ptr<QSaveFile>> written;
    for (const FileToWrite& file : files) {
        auto out = std::make_unique<QSaveFile>(file.path);
        if (!out->open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
            !writeAll(*out, file.bytes)) {
            // Dropping the unfinished files leaves every old one in place.
            out->cancelWriting();
            for (auto& other : written)
                other->cancelWriting();
            return file.path;
        }
        written.push_back(std::move(out));
    }
    for (std::size_t i = 0; i < written.size(); ++i)
        if (!written[i]->commit() || written[i]->error() != QFileDevice::NoError) {
            for (std::size_t j = i + 1; j < written.size(); ++j)
                written[j]->cancelWriting();
            return files[qsizetype(i)].path;
        }
    return {};
}
