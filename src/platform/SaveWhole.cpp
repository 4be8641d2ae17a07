#include "platform/SaveWhole.h"

#include <QSaveFile>

bool saveFileWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            out.cancelWriting();
            out.commit();
            return false;
        }
        done += n;
    }
    return out.commit() && out.error() == QFileDevice::NoError;
}
