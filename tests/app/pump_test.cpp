// Waiting on the UI thread while its events keep being dispatched.
#include "app/shell/pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <time.h>

using namespace lumoset;

namespace {

double processCpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

TEST(WaitPumping, DispatchesEventsUntilItsTimeIsUpWithoutSpinning) {
    int fired = 0;
    QTimer::singleShot(50, [&] { ++fired; });
    QTimer::singleShot(100, [&] { ++fired; });

    QElapsedTimer elapsed;
    elapsed.start();
    const double cpuBefore = processCpuSeconds();
    waitPumping(400);
    const double cpuUsed = processCpuSeconds() - cpuBefore;

    EXPECT_EQ(fired, 2);
    EXPECT_GE(elapsed.elapsed(), 400);
    // A spinning wait would burn about as much CPU as it waits.
    EXPECT_LT(cpuUsed, 0.1);
}

TEST(WaitPumping, ZeroOrLessReturnsWithoutDispatching) {
    for (int milliseconds : {0, -5}) {
        bool delivered = false;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&] { delivered = true; }, Qt::QueuedConnection);
        waitPumping(milliseconds);
        EXPECT_FALSE(delivered) << milliseconds;
        QCoreApplication::processEvents();
        EXPECT_TRUE(delivered);
    }
}

TEST(PumpMessages, DispatchesWhatIsPendingAndReturns) {
    bool delivered = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { delivered = true; }, Qt::QueuedConnection);
    pumpMessages();
    EXPECT_TRUE(delivered);
}
