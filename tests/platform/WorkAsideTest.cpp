#include "platform/WorkAside.h"

#include "platform/AppError.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Each row: how long the work takes and whether it fails. The caller gets the work done or its
// error; quick work handles no event at all, long work keeps the window's timers served.
TEST(WorkAside, GivesBackTheWorkOrItsErrorAndServesTheWindowOnlyWhileLongWorkRuns) {
    struct Row {
        int workMs;
        bool fails;
    };
    for (const Row row : {Row{0, false}, Row{0, true}, Row{200, false}, Row{200, true}}) {
        SCOPED_TRACE(testing::Message() << row.workMs << " ms, fails " << row.fails);
        int ticks = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &tick, [&] { ++ticks; });
        tick.start(5);
        bool done = false;
        QString error;
        try {
            runAside([&] {
                QThread::msleep(row.workMs);
                done = true;
                if (row.fails)
                    throw AppError(QStringLiteral("the work failed"));
            });
        } catch (const AppError& e) {
            error = e.message();
        }
        EXPECT_TRUE(done);
        EXPECT_EQ(error, row.fails ? QStringLiteral("the work failed") : QString());
        if (row.workMs == 0) {
            EXPECT_EQ(ticks, 0);
        } else {
            EXPECT_GT(ticks, 0);
        }
    }
}

// The end of a piece of work wakes only its own wait: after many quick and slow runs, a later
// loop of the caller's runs until its own end.
TEST(WorkAside, AnEndedWorkNeverEndsALaterLoop) {
    for (int i = 0; i < 20; ++i)
        runAside([i] { QThread::msleep(i % 4 == 0 ? 60 : 0); });
    QEventLoop later;
    bool endedByItsTimer = false;
    QTimer::singleShot(100, &later, [&] {
        endedByItsTimer = true;
        later.quit();
    });
    later.exec();
    EXPECT_TRUE(endedByItsTimer);
}

} // namespace
