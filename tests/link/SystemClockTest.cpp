// The real clock's delayMs: the one place where a test has to let real time pass.
// It must wait longer than asked, run no other event of the program meanwhile (the
// exchanges read their replies straight from the port), and sleep, not spin.

#include <gtest/gtest.h>

#include <ctime>

#include <QElapsedTimer>
#include <QTimer>

#include "link/Clock.h"

TEST(SystemClock, DelayWaitsLongerThanAskedRunsNoEventsAndSleeps) {
  SystemClock clock;
  bool timerRan = false;
  QTimer::singleShot(0, [&] { timerRan = true; });

  QElapsedTimer wall;
  wall.start();
  const qint64 tickBefore = clock.tickMs();
  const std::clock_t cpuBefore = std::clock();
  clock.delayMs(120);
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;

  EXPECT_GT(clock.tickMs() - tickBefore, 120);
  EXPECT_GE(wall.elapsed(), 120);
  EXPECT_FALSE(timerRan);
  EXPECT_LT(cpuMs, 60.0);  // a spinning wait would burn the whole 120 ms

  clock.processEvents();
  EXPECT_TRUE(timerRan);
}
