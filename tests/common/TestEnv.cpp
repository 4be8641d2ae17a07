#include "TestEnv.h"

#include "app/Startup.h"
#include "platform/AppError.h"
#include "support/Support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

namespace testenv {

QString homeFolder() {
    return qEnvironmentVariable("HOME");
}

QString freshFolder(const QString& hint) {
    static int counter = 0;
    QString path = homeFolder() + QStringLiteral("/%1-%2").arg(hint).arg(++counter);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString sourcePath(const QString& relative) {
    return QStringLiteral(SLEEVIX_SOURCE_DIR) + QLatin1Char('/') + relative;
}

QString rtfCorpusFolder() {
    QString path = QStringLiteral(SLEEVIX_SOURCE_DIR "/../shared/rtf-corpus");
    return QFileInfo(path + "/MANIFEST.tsv").exists() ? QDir(path).absolutePath() : QString();
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QString prepareWorkspace(const QString& hint) {
    const QString root = freshFolder(hint);
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    QDir().mkpath(root + QStringLiteral("/start"));
    QDir::setCurrent(root + QStringLiteral("/start"));
    useLanguage(QStringLiteral("ENU"));
    return root;
}

StartupFacts startupFacts() {
    StartupFacts facts = readStartupFacts();
    facts.programFolder = QStringLiteral(SLEEVIX_BINARY_DIR "/");
    facts.languageCode = QStringLiteral("ENU");
    return facts;
}

void useLanguage(const QString& code) {
    if (!installProgramTexts(code == QLatin1String("NLD")))
        qFatal("the program's Dutch texts are not built in");
}

QString currentLanguage() {
    return qApp->findChild<QTranslator*>(QStringLiteral("sleevix_nl"), Qt::FindDirectChildrenOnly)
               ? QStringLiteral("NLD")
               : QStringLiteral("ENU");
}

QByteArray oneRedPixelGif() {
    // Header, a 1 x 1 screen with a two-colour table (red, black), a graphic control block, one
    // image of 1 x 1, its LZW data (clear, 0, end) and the trailer.
    static constexpr char bytes[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                                    "!\xf9\x04\x00\x00\x00\x00\x00"
                                    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                                    "\x02\x02D\x01\x00;";
    return QByteArray(bytes, sizeof bytes - 1);
}

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& e) {
        return e.message();
    }
    return QString();
}

} // namespace testenv
