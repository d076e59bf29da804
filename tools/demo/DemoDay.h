// A day of the TV home screen, step by step: signed out with the
// introduction tiles, sign-in, routines created, renamed and deleted in the
// cloud, a wake-up from standby, a switch to Korean, tiles executed, and
// sign-out. Each tile row that arrives is printed as a table and kept for
// the HTML page; each step checks what it saw and says "ok" or "FAILED".
#ifndef VARNIO_TOOLS_DEMO_DEMO_DAY_H_
#define VARNIO_TOOLS_DEMO_DEMO_DAY_H_

#include <IoTFrameworkSim.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "HomeScreen.h"
#include "HtmlPage.h"
#include "TileList.h"

namespace demo {

class DemoDay {
 public:
  // Prints to `out`; waits at most `patience` for each answer.
  DemoDay(HomeScreen& screen, std::FILE* out, std::chrono::milliseconds patience);

  // Runs every step, even after a failed one; true when all were ok.
  bool Run();

  const std::vector<ShownRow>& Rows() const { return m_rows; }

 private:
  // What is wrong with a tile list; empty when it is as expected.
  using Check = std::function<std::string(const TileList&)>;

  bool SignedOut();
  bool SignIn();
  bool RoutineCreated();
  bool RoutineRenamed();
  bool RoutineDeleted();
  bool WakeUp();
  bool KoreanLanguage();
  bool ExecuteTiles();
  bool SignOut();

  void Begin(const std::string& title);
  void Say(const std::string& line);
  bool Expect(bool ok, const std::string& what);
  bool AwaitTilesChanged();
  bool NoTilesChanged();
  // Asks for the tiles and shows the row that answers; false when none came
  // or `check` found fault with it.
  bool RequestAndShowRow(const Check& check);
  // The same for a row of the cloud's routines under `title`.
  bool RequestAndShowRoutineRow(const std::string& title);
  bool End(bool ok);

  // The account's routines in the cloud; every change is mirrored into the
  // framework stand-in, so later routine lists agree with the events sent.
  void PublishCloud();
  std::string CloudCheck(const TileList& list, const std::string& title) const;

  HomeScreen& m_screen;
  std::FILE* m_out;
  const std::chrono::milliseconds m_patience;
  std::vector<iotfw_sim::Routine> m_cloud;
  std::vector<ShownRow> m_rows;
  std::string m_step;
  int m_stepNumber = 0;
  int m_failures = 0;
};

}  // namespace demo

#endif  // VARNIO_TOOLS_DEMO_DEMO_DAY_H_
