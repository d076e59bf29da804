#include "Plan.h"

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
      if (kind < 25) {
        Template();
      } else if (kind < 45) {
        Race();
      } else {
        Single(RandomOp());
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

  // Operations that may start at the same moment as others.
  Op Racer() {
    for (;;) {
      switch (Below(10)) {
        case 0: return {OpKind::kAsk};
        case 1: return {OpKind::kReleaseHeld, -1 - Below(2), 1, Below(4) == 0 ? 1 : 0};
        case 2:
          if (m_signedIn) return SignOut(0);
          break;
        case 3: return {OpKind::kRefresh, 0};
        case 4: return {OpKind::kWakeUp};
        case 5: return {OpKind::kLanguage, Languages()};
        case 6:
          if (m_profile.registrationChurn) return {OpKind::kReRegister, Below(3)};
          break;
        case 7:
          if (m_profile.cloudChanges && m_signedIn) return {OpKind::kCloudChange, Below(3), Below(8)};
          break;
        case 8: return {OpKind::kHostMode, Below(kHostModes)};
        default: return {OpKind::kExecute, Below(3)};
      }
    }
  }

  // A sign-out races neither a wake-up nor a held answer released, which
  // may be a sign-in answer: an answer the framework made before the
  // sign-out and delivered after its event would mislead any service.
  void Race() {
    std::vector<Op> ops;
    const int count = 2 + Below(2);
    bool signOut = false;
    bool answers = false;
    while (ops.size() < static_cast<size_t>(count)) {
      const bool wasSignedIn = m_signedIn;
      const Op op = Racer();
      const bool isSignOut = op.kind == OpKind::kSignOut;
      const bool isAnswer = op.kind == OpKind::kWakeUp || op.kind == OpKind::kReleaseHeld;
      if ((isSignOut && answers) || (isAnswer && signOut)) {
        m_signedIn = wasSignedIn;
        continue;
      }
      signOut = signOut || isSignOut;
      answers = answers || isAnswer;
      ops.push_back(op);
    }
    Together(std::move(ops));
  }

  Op RandomOp() {
    for (;;) {
      switch (Below(17)) {
        case 0:
        case 1: return {OpKind::kAsk};
        case 2: return {OpKind::kAnswerMode, Below(2) == 0 ? 102 : 107, Below(3)};
        case 3: return {OpKind::kReleaseHeld, Below(4) - 2, Below(2), Below(5) == 0 ? 1 : 0};
        case 4:
          if (m_profile.drops) return {OpKind::kDropHeld, Below(3) - 1};
          break;
        case 5: return m_signedIn ? SignOut(Below(3)) : SignIn(Below(3));
        case 6: return {OpKind::kRefresh, Below(2)};
        case 7:
          if (m_profile.cloudChanges && m_signedIn) return {OpKind::kCloudChange, Below(3), Below(8)};
          break;
        case 8: return {OpKind::kWakeUp};
        case 9: return {OpKind::kLanguage, Languages()};
        case 10:
          if (m_signedIn) return {OpKind::kMoveLocation};
          break;
        case 11: return {OpKind::kHostMode, Below(kHostModes)};
        case 12: return {OpKind::kHostRelease};
        case 13: return {OpKind::kNoThreads, Below(2)};
        case 14: return {OpKind::kPause, Below(3000)};
        case 15:
          if (m_profile.registrationChurn) return {OpKind::kReRegister, Below(3)};
          break;
        default: return {OpKind::kExecute, Below(3)};
      }
    }
  }

  // Short patterns around sign-in, sign-out and unregistering, where the
  // orders that matter are likeliest to meet.
  void Template() {
    switch (Below(7) % 6) {
      case 0:  // the list that completes a sign-in races a sign-out
        if (m_signedIn) Single(SignOut(0));
        Single({OpKind::kAnswerMode, 107, 2});
        Single(SignIn(Below(2)));
        {
          // Told a moment after the list starts, so that it lands anywhere
          // within the list's handling, which the jitter stretches.
          Op signOut = SignOut(0);
          signOut.b = Below(400);
          Single({OpKind::kJitter, 50});
          Together({{OpKind::kReleaseHeld, -1, 1, 0}, signOut});
          Single({OpKind::kJitter, -1});
        }
        Single({OpKind::kAsk});
        return;
      case 1:  // a list of the ended session arrives late, then a sign-in
        if (!m_signedIn) Single(SignIn(0));
        Single({OpKind::kAnswerMode, 107, 2});
        Single({OpKind::kRefresh, 0});
        Single(SignOut(Below(3)));
        Single({OpKind::kReleaseHeld, -1, Below(2), 0});
        Single({OpKind::kAnswerMode, 107, 0});
        Single(SignIn(2));
        Single({OpKind::kAsk});
        return;
      case 2:  // a contents download still running when the user signs in
        if (m_signedIn) Single(SignOut(0));
        Single({OpKind::kAsk});
        Single(SignIn(Below(2)));
        return;
      case 3:  // unregistering while a delivery runs
        if (m_profile.registrationChurn) {
          Together({{OpKind::kAsk}, {OpKind::kReRegister, 0}});
          Together({{OpKind::kRefresh, 0}, {OpKind::kReRegister, 1}});
        }
        return;
      case 4:  // the host misbehaves for a while
        Single({OpKind::kHostMode, 1 + Below(kHostModes - 1)});
        Single({OpKind::kAsk});
        Single({OpKind::kLanguage, Languages()});
        Single({OpKind::kAsk});
        Single({OpKind::kHostRelease});
        Single({OpKind::kHostMode, 0});
        return;
      default:  // no thread can be had
        Single({OpKind::kNoThreads, 1});
        Single({OpKind::kAsk});
        Single({OpKind::kLanguage, Languages()});
        Single({OpKind::kNoThreads, 0});
        return;
    }
  }

  std::mt19937_64 m_random;
  Profile m_profile;
  bool m_signedIn = false;
  std::vector<Step>* m_steps = nullptr;
};

const char* const kSignHow[] = {"event on this thread", "event queued", "at a wake-up"};
const char* const kModes[] = {"async", "sync", "held"};
const char* const kRegistrations[] = {"result", "event", "both"};
const char* const kTiles[] = {"page", "intro", "routine"};
const char* const kChanges[] = {"create", "rename", "delete"};
const char* const kHostModeNames[] = {"serve", "404", "stall", "cut", "reset", "trickle", "huge", "malformed"};

}  // namespace

Plan MakePlan(uint64_t seed) { return Maker(seed).Make(seed); }

std::string Describe(const Op& op) {
  std::ostringstream out;
  switch (op.kind) {
    case OpKind::kAsk: out << "ask"; break;
    case OpKind::kReRegister: out << "re-register " << kRegistrations[op.a]; break;
    case OpKind::kExecute: out << "execute " << kTiles[op.a]; break;
    case OpKind::kAnswerMode: out << "answer " << op.a << " " << kModes[op.b]; break;
    case OpKind::kReleaseHeld:
      out << "release held #" << op.a << (op.b == 1 ? " on this thread" : " queued") << (op.c == 1 ? ", keep a copy" : "");
      break;
    case OpKind::kDropHeld: out << "drop held #" << op.a; break;
    case OpKind::kSignOut:
      out << "sign out, " << kSignHow[op.a];
      if (op.b > 0) out << " after " << op.b << " us";
      break;
    case OpKind::kSignIn: out << "sign in, " << kSignHow[op.a]; break;
    case OpKind::kRefresh: out << "refresh, " << kSignHow[op.a]; break;
    case OpKind::kCloudChange: out << "cloud " << kChanges[op.a] << " routine " << op.b; break;
    case OpKind::kWakeUp: out << "wake up"; break;
    case OpKind::kLanguage: {
      const std::string& language = kLanguages[static_cast<size_t>(op.a)];
      out << "language \"" << (language.size() > 40 ? std::to_string(language.size()) + " bytes" : language) << "\"";
      break;
    }
    case OpKind::kMoveLocation: out << "move location"; break;
    case OpKind::kHostMode: out << "host " << kHostModeNames[op.a]; break;
    case OpKind::kHostRelease: out << "host releases stalls"; break;
    case OpKind::kNoThreads: out << (op.a == 1 ? "no threads" : "threads again"); break;
    case OpKind::kPause: out << "pause " << op.a << " us"; break;
    case OpKind::kJitter: out << "jitter " << (op.a < 0 ? std::string("as the run's") : std::to_string(op.a) + "%"); break;
  }
  return out.str();
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
