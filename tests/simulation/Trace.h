// What happened in one run, in order, for the report of a failing run.
#ifndef VARNIO_TESTS_SIMULATION_TRACE_H_
#define VARNIO_TESTS_SIMULATION_TRACE_H_

#include <string>

namespace sim {

// Notes `what` with the time since the run began and the current thread.
void Trace(const std::string& what);
// Everything noted so far, one line each.
std::string TraceText();

}  // namespace sim

#endif  // VARNIO_TESTS_SIMULATION_TRACE_H_
