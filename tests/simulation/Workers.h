// A few threads made before the run starts (a step may forbid creating new
// ones), on which the steps' operations run, several at once when they race.
#ifndef VARNIO_TESTS_SIMULATION_WORKERS_H_
#define VARNIO_TESTS_SIMULATION_WORKERS_H_

#include <functional>
#include <memory>
#include <vector>

#include "NotificationThread.h"

namespace sim {

class Workers {
 public:
  explicit Workers(size_t count);

  // Runs each task on a worker of its own, all released at the same moment,
  // and returns when all are done. Worker `first` takes the first task.
  void RunTogether(const std::vector<std::function<void()>>& tasks, size_t first);

 private:
  std::vector<std::unique_ptr<NotificationThread>> m_threads;
};

}  // namespace sim

#endif  // VARNIO_TESTS_SIMULATION_WORKERS_H_
