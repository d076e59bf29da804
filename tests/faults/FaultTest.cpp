#include "FaultTest.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>

#include "varnio.h"

Watchdog::Watchdog(std::chrono::seconds limit)
    : m_thread([this, limit] {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_disarmed.wait_for(lock, limit, [this] { return m_done; })) {
          const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
          std::fprintf(stderr, "watchdog: %s.%s still running after %llds: deadlock or hang\n",
                       test ? test->test_suite_name() : "?", test ? test->name() : "?",
                       static_cast<long long>(limit.count()));
          std::fflush(stderr);
          std::_Exit(3);
        }
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
  }
  m_disarmed.notify_all();
  m_thread.join();
}

ThreadPeak::ThreadPeak()
    : m_thread([this] {
        while (!m_stop.load()) {
          const int now = ThreadCount();
          if (now > m_peak.load()) m_peak = now;
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
      }) {}

ThreadPeak::~ThreadPeak() { Stop(); }

int ThreadPeak::Stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  return m_peak.load() - 1;
}

void FaultTest::TearDown() {
  ServiceTest::TearDown();
  ExpectNoThreadLeft();
}

void FaultTest::ExpectRoutineTiles(const std::vector<std::string>& ids) {
  Settle();
  results_.Clear();
  const size_t eventsBefore = events_.Count();
  iot_svc_get_accelerator_tiles();
  Settle();
  if (results_.Count() == 0 && events_.Count() > eventsBefore) {
    iot_svc_get_accelerator_tiles();
    Settle();
  }
  ASSERT_EQ(results_.Count(), 1U) << "the tile request was not answered once";
  EXPECT_THAT(RoutineIds(results_.Last()), ::testing::ElementsAreArray(ids));
}

void FaultTest::ExpectContentsTiles() {
  Settle();
  results_.Clear();
  iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(results_.WaitFor(1, std::chrono::seconds(30))) << "no before-sign-in list arrived";
  ExpectNoThreadLeft();
  ASSERT_EQ(results_.Count(), 1U);
  EXPECT_EQ(ContentsIds(results_.Last()), kContentsIds);
}

void FaultTest::ExpectNoThreadLeft() {
  if (baseThreads_ == 0) return;  // the service never started
  EXPECT_TRUE(WaitForThreadCount(baseThreads_, kThreadsEndWithin)) << ThreadCount() << " threads, " << baseThreads_ << " before";
}
