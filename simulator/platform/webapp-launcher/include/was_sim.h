// Control of the launcher stand-in, for tests and the demo.
#ifndef PLATFORM_WAS_SIM_H_
#define PLATFORM_WAS_SIM_H_

#include <string>
#include <vector>

namespace was_sim {

struct Launch {
  std::string appId;
  std::string deepLink;
};

// What the next launches return (0 by default).
void SetResult(int result);
std::vector<Launch> Launches();
void Clear();

}  // namespace was_sim

#endif  // PLATFORM_WAS_SIM_H_
