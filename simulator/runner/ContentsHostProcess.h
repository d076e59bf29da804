// The local contents host run as a child process, so that a scenario can
// change its mode (a restart) and its threads are not taken for the
// library's downloads.
#ifndef VARNIO_SIMULATOR_RUNNER_CONTENTS_HOST_PROCESS_H_
#define VARNIO_SIMULATOR_RUNNER_CONTENTS_HOST_PROCESS_H_

#include <sys/types.h>

#include <string>
#include <utility>

namespace scenario {

class ContentsHostProcess {
 public:
  ContentsHostProcess(std::string program, int port) : m_program(std::move(program)), m_port(port) {}
  ~ContentsHostProcess() { Stop(); }
  ContentsHostProcess(const ContentsHostProcess&) = delete;
  ContentsHostProcess& operator=(const ContentsHostProcess&) = delete;

  // Restarts the host in `mode` (its --mode), or stops it for "down".
  // False, with what the host said in `error`, when it did not start.
  bool SetMode(const std::string& mode, std::string& error);
  // Stops the host; stalled answers end with it. Its wait status, 0 when none ran.
  int Stop();

 private:
  bool Start(const std::string& mode, std::string& error);

  const std::string m_program;
  const int m_port;
  pid_t m_pid = -1;
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_CONTENTS_HOST_PROCESS_H_
