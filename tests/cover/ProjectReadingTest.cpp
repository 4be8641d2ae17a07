// Reading a project whose files are hostile: not files at all, far too large, or larger than the
// memory there is. Each file is refused on its own, quickly and without being read, and the
// others still load.
#include "TestEnv.h"
#include "back/RichTextEdit.h"
#include "cover/Cover.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <future>
#include <thread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void makeSparse(const QString& path, qint64 size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(size));
}

class ProjectReading : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        testenv::prepareWorkspace(QStringLiteral("reading"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        folder_ = testenv::freshFolder(QStringLiteral("project")) + u'/';
        for (const char* name : {"Front.jpg", "Back.bmp", "Back.rtf"})
            QFile::copy(QStringLiteral(SLEEVIX_BINARY_DIR "/") + QLatin1String(name),
                        folder_ + QLatin1String(name));
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    // Reads the project as the start does, the list into a real editor.
    QStringList read() {
        return Project::readFiles(folder_, *cover_,
                                  [this](const QString& file) { list_.loadFromFile(file); });
    }

    QString savedDir_;
    QString folder_;
    RichTextEdit list_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
};

TEST_F(ProjectReading, WhatIsNotARegularFileIsNamedLikeAMissingFile) {
    // A FIFO for each file, held open for writing here so that a reader that waits for its end
    // would wait for good (until this test lets go).
    QList<int> writers;
    for (const char* name : {"Front.jpg", "Back.bmp", "Back.rtf"}) {
        const QString path = folder_ + QLatin1String(name);
        QFile::remove(path);
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        writers << ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
    }
    // A reader that waits is let go after 20 s, and fails.
    std::promise<void> finished;
    std::thread watchdog([&writers, done = finished.get_future()] {
        if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            for (int fd : writers)
                ::close(fd);
    });
    const auto start = std::chrono::steady_clock::now();
    const QStringList failures = read();
    const auto waited = std::chrono::steady_clock::now() - start;
    finished.set_value();
    watchdog.join();
    EXPECT_LT(waited, std::chrono::seconds(20)) << "reading the project hangs";
    if (waited < std::chrono::seconds(20))
        for (int fd : writers)
            ::close(fd);
    EXPECT_EQ(failures, QStringList({"Cannot open file " + folder_ + "Front.jpg",
                                     "Cannot open file " + folder_ + "Back.bmp",
                                     "Cannot open file " + folder_ + "Back.rtf"}));
}

TEST_F(ProjectReading, HugeFilesAreRefusedFromTheirHeaderOrSizeWithoutBeingRead) {
    // Zeros: a gigabyte as the front, 400 MB as the back, 100 MB as the list. Each is refused in
    // a sentence, and the memory used does not grow by the files' size.
    makeSparse(folder_ + "Front.jpg", 1LL << 30);
    makeSparse(folder_ + "Back.bmp", 400LL << 20);
    makeSparse(folder_ + "Back.rtf", 100LL << 20);
    const long before = peakKilobytes();
    const QStringList failures = read();
    EXPECT_LT(peakKilobytes() - before, 50 * 1024) << "kB more at the peak";
    EXPECT_EQ(failures,
              QStringList({folder_ + "Front.jpg is too large for a picture (1024 MB; at most 512 MB).",
                           folder_ + "Back.bmp: Bitmap image is not valid",
                           folder_ + "Back.rtf is too large for a list of contents (100 MB; at most "
                                     "20 MB).",}))
        << qPrintable(failures.join(u'\n'));
    // Within the size a picture may have, its header decides.
    QFile::resize(folder_ + "Front.jpg", 400LL << 20);
    EXPECT_EQ(read().value(0), folder_ + "Front.jpg: JPEG error #53 (not a JPEG file)");
    EXPECT_LT(peakKilobytes() - before, 50 * 1024) << "kB more at the peak";
}

TEST_F(ProjectReading, AFileLargerThanTheMemoryLeavesTheOthersLoading) {
    // 5 GB with a JPEG's start, read while the program may use at most 2 GB more than now.
    makeSparse(folder_ + "Front.jpg", 5LL << 30);
    {
        QFile front(folder_ + "Front.jpg");
        ASSERT_TRUE(front.open(QIODevice::ReadWrite));
        front.write("\xff\xd8\xff\xe0", 4);
    }
    rlimit saved{};
    getrlimit(RLIMIT_AS, &saved);
    QFile status(QStringLiteral("/proc/self/statm"));
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    const rlim_t used = rlim_t(status.readAll().split(' ').first().toLongLong()) *
                        rlim_t(sysconf(_SC_PAGESIZE));
    rlimit tight = saved;
    tight.rlim_cur = std::min<rlim_t>(saved.rlim_cur, used + (2ULL << 30));
    setrlimit(RLIMIT_AS, &tight);
    QStringList failures;
    try {
        failures = read();
    } catch (...) {
        failures << "the whole project failed";
    }
    setrlimit(RLIMIT_AS, &saved);
    ASSERT_EQ(failures.size(), 1) << qPrintable(failures.join('\n'));
    EXPECT_TRUE(failures[0].startsWith(folder_ + "Front.jpg")) << qPrintable(failures[0]);
    EXPECT_EQ(cover_->backPicture().image().size(), QSize(552, 472));
    EXPECT_FALSE(list_.toPlainText().isEmpty()) << "the list still loads";
}

} // namespace
