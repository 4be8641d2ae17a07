#include "tracks/MusicFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace MusicFolder {

QStringList audioExtensions() {
    static const QStringList extensions{
        QStringLiteral("flac"), QStringLiteral("mp3"),  QStringLiteral("ogg"),
        QStringLiteral("oga"),  QStringLiteral("opus"), QStringLiteral("m4a"),
        QStringLiteral("mp4"),  QStringLiteral("aac"),  QStringLiteral("wav"),
        QStringLiteral("aif"),  QStringLiteral("aiff"), QStringLiteral("wv"),
        QStringLiteral("ape"),  QStringLiteral("mpc"),  QStringLiteral("wma"),
        QStringLiteral("spx")};
    return extensions;
}

bool isAudioFile(const QString& fileName) {
    return audioExtensions().contains(QFileInfo(fileName).suffix().toLower());
}

bool holdsAudio(const QString& folder) {
    QStringList patterns;
    for (const QString& extension : audioExtensions())
        patterns << QStringLiteral("*.") + extension;
    const QDir dir(folder);
    if (!dir.entryList(patterns, QDir::Files).isEmpty())
        return true;
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (!QDir(dir.filePath(sub)).entryList(patterns, QDir::Files).isEmpty())
            return true;
    return false;
}

Track trackFromFileName(const QString& fileName) {
    static const QRegularExpression numbered(
        QStringLiteral(R"(^(?:\d{1,2}[-.])?(\d{1,3})(?:\s*[-._)]\s*|\s+)(.+)$)"));
    Track track;
    const QString base = QFileInfo(fileName).completeBaseName().trimmed();
    const QRegularExpressionMatch match = numbered.match(base);
    if (match.hasMatch()) {
        track.number = QString::number(match.captured(1).toInt());
        track.title = match.captured(2).trimmed();
    } else {
        track.title = base;
    }
    track.title.replace(u'_', u' ');
    return track;
}

} // namespace MusicFolder
