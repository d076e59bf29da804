// The runs' generator. The world it plays is as free as the platform's
// interfaces are: the table below lists what each leaves open and the
// operation that plays it. Nothing here orders what the platform does not
// order; where no service could tell two worlds apart (marked *), World.cpp
// checks what the service must do instead.
//
// | interface | left open | played by |
// |---|---|---|
// | framework answer | during the request call, on the requesting thread | kAnswerMode sync |
// | | later, on the framework's callback thread | kAnswerMode async; kRelease queued |
// | | later, on another thread, beside other deliveries and events | kRelease on this thread, alone or in a race |
// | | after any number of later events and requests: sign-out, another account's sign-in, location move, wake-up, language change, refresh, routine changes | kAnswerMode held: a held answer outlives every later step until a kRelease or the heal |
// | | in any order relative to other answers | kRelease of any held answer |
// | | never | kAnswerMode never; kDrop |
// | | a routine list as the account was when asked, or as it is when delivered | kRelease c |
// | | a sign-in answer as the account was when asked | kRelease of a 102: always as asked |
// | | * naming no request: one asked before the last sign-in or sign-out reads like one asked after | held answers across kSignOut and kSignIn |
// | framework event | queued behind earlier deliveries on the callback thread, or at once on another thread | a of kSignOut, kSignIn, kRefresh, kMoveLocation; c of kCloudChange |
// | | * several at once: a sign-out and the next sign-in, or two routine changes, handled in either order | races of those operations |
// | | a routine change before or after the answers made around it | kCloudChange beside held lists |
// | GetCurrentLocation | the location now, at once | kMoveLocation |
// | settings | a language change on the platform's thread, beside other notifications, any value | kLanguage, in races; hostile values |
// | power | a wake-up on the platform's thread or on another, beside other notifications | kWakeUp a |
// | threads | none to be had | kNoThreads |
// | contents host | serves, fails in each way, stalls | kHostMode, kHostRelease |
//
// Not played: an answer given twice (the framework answers a request once)
// and an answer nobody asked for.
//
// * What the checks ask instead: no routine of a session reaches the caller
// from a call begun after the service was told the session ended; and once
// the world heals (held answers released, answers flowing again), the
// caller holds the row the account shows within the service's own wait for
// a lost answer and a margin.
#include "Plan.h"

#include <iterator>
#include <random>
#include <sstream>

namespace sim {

// The TV's own languages, then values no TV should have but a settings
// store may hold: all but Korean ask for the general file.
const std::vector<std::string> kLanguages = {"en_US.utf8", "ko_KR.utf8",         "de_DE.utf8",
                                             "",           "%s%n%s%n%99999999d", std::string(1 << 20, 'k')};

namespace {

// Contents host modes, as ContentsHost::Mode numbers them.
constexpr int kHostModes = 8;
constexpr int kLoginInfo = 102;
constexpr int kRoutineList = 107;

class Maker {
 public:
  explicit Maker(uint64_t seed) : m_random(seed) {}

  Plan Make(uint64_t seed) {
    Plan plan;
    plan.seed = seed;
    Profile& p = plan.profile;
    p.cloudChanges = Chance(40);
    p.registrationChurn = Chance(30);
    p.drops = Chance(15);
    p.reentrant = Chance(30);
    p.startSignedIn = Chance(50);
    const int jitter[] = {0, 0, 5, 20};
    p.jitterPercent = jitter[Below(4)];
    m_profile = p;
    m_signedIn = p.startSignedIn;
    m_steps = &plan.steps;
    const int chunks = 8 + Below(32);
    for (int i = 0; i < chunks; ++i) {
      const int kind = Below(100);
      if (kind < 30) {
        Template();
      } else if (kind < 50) {
        Race();
      } else {
        Single(RandomOp(false));
      }
    }
    return plan;
  }

 private:
  bool Chance(int percent) { return Below(100) < percent; }
  // The TV's own languages mostly, now and then a hostile value.
  int Languages() { return Chance(90) ? Below(3) : Below(static_cast<int>(kLanguages.size())); }
  int Below(int n) { return static_cast<int>(m_random() % static_cast<uint64_t>(n)); }

  void Single(Op op) { m_steps->push_back(Step{{op}}); }
  void Together(std::vector<Op> ops) { m_steps->push_back(Step{std::move(ops)}); }

  Op SignOut(int how) {
    m_signedIn = false;
    return {OpKind::kSignOut, how};
  }
  Op SignIn(int how) {
    m_signedIn = true;
    return {OpKind::kSignIn, how};
  }
  Op SignChange(int how) { return m_signedIn ? SignOut(how) : SignIn(how); }
  // A held answer released: any, on either thread, a list as asked or as now.
  Op Release(int which, int command) {
    return {OpKind::kRelease, which, Below(2), Below(2), command};
  }
  Op AnyRelease() { return Release(Below(4) - 2, 0); }
  Op CloudChange() { return {OpKind::kCloudChange, Below(3), Below(8), Below(2)}; }

  void Race() {
    std::vector<Op> ops;
    const int count = 2 + Below(2);
    while (ops.size() < static_cast<size_t>(count)) ops.push_back(RandomOp(true));
    Together(std::move(ops));
  }

  // Any operation; a `racer` is one that may start at the same moment as others.
  Op RandomOp(bool racer) {
    for (;;) {
      switch (Below(18)) {
        case 0:
        case 1: return {OpKind::kAsk};
        case 2:
          if (!racer) return {OpKind::kAnswerMode, Below(2) == 0 ? kLoginInfo : kRoutineList, Below(m_profile.drops ? 4 : 3)};
          break;
        case 3:
        case 4: return AnyRelease();
        case 5:
          if (m_profile.drops) return {OpKind::kDrop, Below(3) - 1};
          break;
        case 6: return SignChange(Below(racer ? 2 : 3));
        case 7: return {OpKind::kRefresh, Below(2)};
        case 8:
          if (m_profile.cloudChanges && m_signedIn) return CloudChange();
          break;
        case 9: return {OpKind::kWakeUp, Below(2)};
        case 10: return {OpKind::kLanguage, Languages()};
        case 11:
          if (!racer && m_signedIn) return {OpKind::kMoveLocation, Below(2)};
          break;
        case 12: return {OpKind::kHostMode, Below(kHostModes)};
        case 13:
          if (!racer) return {OpKind::kHostRelease};
          break;
        case 14:
          if (!racer) return {OpKind::kNoThreads, Below(2)};
          break;
        case 15:
          if (!racer) return {OpKind::kPause, Below(3000)};
          break;
        case 16:
          if (m_profile.registrationChurn) return {OpKind::kReRegister, Below(3)};
          break;
        default: return {OpKind::kExecute, Below(3)};
      }
    }
  }

  // Short patterns where the orders that matter are likeliest to meet.
  void Template() {
    switch (Below(10)) {
      case 0:  // the list that completes a sign-in races a sign-out
        if (m_signedIn) Single(SignOut(0));
        Single({OpKind::kAnswerMode, kRoutineList, 2});
        Single(SignIn(Below(2)));
        {
          // Told a moment after the list starts, so that it lands anywhere
          // within the list's handling, which the jitter stretches.
          Op signOut = SignOut(0);
          signOut.b = Below(400);
          Single({OpKind::kJitter, 50});
          Together({Release(-1, kRoutineList), signOut});
          Single({OpKind::kJitter, -1});
        }
        Single({OpKind::kAsk});
        return;
      case 1:  // one account's list still on its way when the next signs in
        if (m_signedIn) Single(SignOut(Below(3)));
        Single({OpKind::kAnswerMode, kRoutineList, 2});
        Single(SignIn(Below(3)));
        Single({OpKind::kAsk});
        if (Chance(50)) {
          Single(SignOut(Below(3)));
          Single(SignIn(Below(3)));
        } else {
          Together({SignOut(0), SignIn(0)});
        }
        Single({OpKind::kAsk});
        // The ended session's list first, or the new one's first.
        if (Chance(50)) {
          Single(Release(0, kRoutineList));
          Single(Release(-1, kRoutineList));
        } else {
          Single(Release(-1, kRoutineList));
          Single(Release(0, kRoutineList));
        }
        Single({OpKind::kAsk});
        return;
      case 2:  // a sign-in answer asked while signed out arrives after a sign-in
        if (m_signedIn) Single(SignOut(Below(2)));
        Single({OpKind::kAnswerMode, kLoginInfo, 2});
        Single({OpKind::kWakeUp, Below(2)});
        Single({OpKind::kAnswerMode, kLoginInfo, 0});
        Single(SignIn(Below(2)));
        Single(Release(0, kLoginInfo));
        Single({OpKind::kAsk});
        return;
      case 3:  // routines change while lists are on their way
        if (!m_signedIn) Single(SignIn(Below(3)));
        Single({OpKind::kAnswerMode, kRoutineList, 2});
        Single({OpKind::kRefresh, Below(2)});
        Single(CloudChange());
        Together({CloudChange(), AnyRelease()});
        Single(Release(0, kRoutineList));
        Single({OpKind::kAnswerMode, kRoutineList, 0});
        return;
      case 4:  // a contents download still running when the user signs in
        if (m_signedIn) Single(SignOut(0));
        Single({OpKind::kAsk});
        Single(SignIn(Below(2)));
        return;
      case 5:  // unregistering while a delivery runs
        if (m_profile.registrationChurn) {
          Together({{OpKind::kAsk}, {OpKind::kReRegister, 0}});
          Together({{OpKind::kRefresh, 0}, {OpKind::kReRegister, 1}});
        }
        return;
      case 6:  // the host misbehaves for a while
        Single({OpKind::kHostMode, 1 + Below(kHostModes - 1)});
        Single({OpKind::kAsk});
        Single({OpKind::kLanguage, Languages()});
        Single({OpKind::kAsk});
        Single({OpKind::kHostRelease});
        Single({OpKind::kHostMode, 0});
        return;
      case 7:  // no thread can be had
        Single({OpKind::kNoThreads, 1});
        Single({OpKind::kAsk});
        Single({OpKind::kLanguage, Languages()});
        Single({OpKind::kNoThreads, 0});
        return;
      case 8:  // the account's last routine goes, and one comes back
        if (!m_signedIn || !m_profile.cloudChanges) return;
        for (int i = 0; i < 4; ++i) Single({OpKind::kCloudChange, 2, 0, Below(2)});
        Single({OpKind::kAsk});
        Single({OpKind::kCloudChange, 0, 0, Below(2)});
        return;
      default:  // the language changes while signed in
        if (!m_signedIn) Single(SignIn(Below(3)));
        Single({OpKind::kLanguage, Languages()});
        return;
    }
  }

  std::mt19937_64 m_random;
  Profile m_profile;
  bool m_signedIn = false;
  std::vector<Step>* m_steps = nullptr;
};

// Each kind's name, then the names of the fields it uses (a, b, c, d), as
// Plan.h numbers their values.
const char* const kOpNames[][5] = {
    {"ask"},
    {"re-register", "which"},
    {"execute", "type"},
    {"answer", "command", "mode"},
    {"release", "which", "here", "as-asked", "command"},
    {"drop", "which", nullptr, nullptr, "command"},
    {"sign-out", "how", "after-us"},
    {"sign-in", "how"},
    {"refresh", "queued"},
    {"cloud", "change", "which", "here"},
    {"wake-up", "here"},
    {"language", "index"},
    {"move-location", "here"},
    {"host", "mode"},
    {"host-releases-stalls"},
    {"no-threads", "forbidden"},
    {"pause", "us"},
    {"jitter", "percent"},
};
static_assert(std::size(kOpNames) == static_cast<size_t>(OpKind::kJitter) + 1, "a name for every kind");

}  // namespace

Plan MakePlan(uint64_t seed) { return Maker(seed).Make(seed); }

std::string Describe(const Op& op) {
  const char* const* names = kOpNames[static_cast<size_t>(op.kind)];
  const int values[] = {op.a, op.b, op.c, op.d};
  std::string out = names[0];
  for (size_t i = 0; i < 4; ++i) {
    if (names[i + 1] != nullptr) out += std::string(" ") + names[i + 1] + "=" + std::to_string(values[i]);
  }
  return out;
}

std::string Describe(const Plan& plan) {
  std::ostringstream out;
  const Profile& p = plan.profile;
  out << "seed " << plan.seed << ": " << (p.startSignedIn ? "signed in" : "signed out") << " at start"
      << (p.cloudChanges ? ", cloud changes" : "") << (p.registrationChurn ? ", re-registrations" : "")
      << (p.drops ? ", dropped answers" : "") << (p.reentrant ? ", re-entrant caller" : "")
      << ", jitter " << p.jitterPercent << "%\n";
  int index = 0;
  for (const Step& step : plan.steps) {
    out << "  " << ++index << ". ";
    for (size_t i = 0; i < step.ops.size(); ++i) out << (i > 0 ? "  ||  " : "") << Describe(step.ops[i]);
    out << "\n";
  }
  return out.str();
}

}  // namespace sim
