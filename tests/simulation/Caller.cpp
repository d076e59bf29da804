#include "Caller.h"

#include <IoTFrameworkSim.h>

#include <algorithm>
#include <functional>
#include <random>

#include "Expectations.h"
#include "Trace.h"
#include "varnio.h"

namespace sim {

namespace {

// A request in progress on this thread: what it saw happen on its own thread.
struct Frame {
  Clock::time_point start;
  int routineRequestsBefore = 0;
  int nestedRoutineRequests = 0;
  bool routineRow = false;
  bool contentsRow = false;
};

thread_local std::vector<Frame*> t_frames;
// Calls of the caller's callbacks running on this thread.
thread_local int t_callbacks = 0;

int RoutineRequestsOfThisThread() {
  const std::thread::id me = std::this_thread::get_id();
  int count = 0;
  for (const iotfw_sim::Request& r : iotfw_sim::Requests()) count += (r.command == 107 && r.thread == me) ? 1 : 0;
  return count;
}

}  // namespace

struct Caller::Slot {
  Caller* caller;
  bool result;
  std::atomic<bool> registered{false};  // its register call returned
  std::atomic<bool> unregistered{false};
  // Unregistered from inside a callback, which waits for nothing.
  std::atomic<bool> promisesNothing{false};
  std::atomic<int> inFlight{0};
};

// Marks a callback's call: checks it may run at all, and counts it.
class Caller::InCallback {
 public:
  explicit InCallback(Slot* slot) : m_slot(slot) {
    ++m_slot->inFlight;
    ++t_callbacks;
    if (m_slot->unregistered.load() && !m_slot->promisesNothing.load()) {
      m_slot->caller->Violation(std::string("a ") + (m_slot->result ? "result" : "event") +
                                " callback ran after its unregister returned");
    }
  }
  ~InCallback() {
    --t_callbacks;
    --m_slot->inFlight;
  }
  InCallback(const InCallback&) = delete;
  InCallback& operator=(const InCallback&) = delete;

 private:
  Slot* m_slot;
};

Row ReadRow(const std::string& json) {
  Row row{Row::kUnreadable, demo::ParseTileList(json), json};
  const std::string kind = scenario::RowKind(row.list);
  row.kind = kind == "intro" ? Row::kContents : kind == "routines" ? Row::kRoutines : Row::kUnreadable;
  return row;
}

Caller::Caller(bool reentrant, uint64_t seed) : m_reentrant(reentrant), m_seed(seed) {}

Caller::~Caller() = default;

Caller::Slot* Caller::NewSlot(bool result) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_slots.push_back(std::make_unique<Slot>());
  m_slots.back()->caller = this;
  m_slots.back()->result = result;
  return m_slots.back().get();
}

void Caller::Register(bool result) {
  Slot* slot = NewSlot(result);
  const bool registered = result ? iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, OnResult, slot)
                                 : iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, OnEvent, slot);
  if (!registered) Violation(std::string("registering the ") + (result ? "result" : "event") + " callback failed");
  slot->registered = true;
}

void Caller::Register() {
  Register(true);
  Register(false);
}

void Caller::ReRegister(int which) {
  if (which != 1) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_record.resultGap = true;
    }
    const std::vector<Slot*> slots = RegisteredSlots(true);
    iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
    Unregistered(slots);
  }
  if (which != 0) {
    const std::vector<Slot*> slots = RegisteredSlots(false);
    iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
    Unregistered(slots);
  }
  std::this_thread::yield();
  if (which != 1) Register(true);
  if (which != 0) Register(false);
  Ask();
}

// Other threads may re-register at the same time: an unregister surely ends
// every slot whose registration was over when it began (a later one replaced
// it, or the unregister erased it), and no slot registered meanwhile.
std::vector<Caller::Slot*> Caller::RegisteredSlots(bool result) {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<Slot*> slots;
  for (const std::unique_ptr<Slot>& slot : m_slots) {
    if (slot->result == result && slot->registered.load() && !slot->unregistered.load()) slots.push_back(slot.get());
  }
  return slots;
}

void Caller::Unregistered(const std::vector<Slot*>& slots) {
  for (Slot* slot : slots) {
    if (t_callbacks > 0) slot->promisesNothing = true;
    if (slot->unregistered.exchange(true) || slot->promisesNothing) continue;
    if (slot->inFlight.load() > 0) Violation("an unregister returned while its callback still ran on another thread");
  }
}

void Caller::ActInside(bool result) {
  if (m_calm) return;
  thread_local std::minstd_rand random(static_cast<unsigned>(m_seed) +
                                       static_cast<unsigned>(std::hash<std::thread::id>()(std::this_thread::get_id())));
  switch (random() % 16) {
    case 0:  // calls back in
      iot_svc_execute_tile(IOT_SVC_TILE_PAGE, "routines");
      break;
    case 1:  // holds up its thread
      std::this_thread::sleep_for(std::chrono::microseconds(500 + random() % 2500));
      break;
    case 2:  // unregisters itself, registers anew and asks
      ReRegister(result ? 0 : 1);
      break;
    default:
      break;
  }
}

void Caller::Ask() {
  Frame frame;
  frame.start = Clock::now();
  frame.routineRequestsBefore = RoutineRequestsOfThisThread();
  t_frames.push_back(&frame);
  iot_svc_get_accelerator_tiles();
  t_frames.pop_back();
  const int made = RoutineRequestsOfThisThread() - frame.routineRequestsBefore;
  if (!t_frames.empty()) t_frames.back()->nestedRoutineRequests += made;
  const bool routines = frame.routineRow || made - frame.nestedRoutineRequests > 0;
  Trace(std::string("asked: ") + (routines ? "signed-in road" : "signed-out road"));
  std::lock_guard<std::mutex> lock(m_mutex);
  ++(routines ? m_record.routineCalls : m_record.contentsCalls);
}

void Caller::OnResult(std::string text, void* userData) {
  Slot* slot = static_cast<Slot*>(userData);
  Caller* self = slot->caller;
  InCallback call(slot);
  Delivery delivery;
  delivery.row = ReadRow(text);
  delivery.origin = iotfw_sim::DeliveryStartedAt();
  if (!t_frames.empty()) {
    Frame& frame = *t_frames.back();
    delivery.origin = std::max(delivery.origin, frame.start);
    (delivery.row.kind == Row::kRoutines ? frame.routineRow : frame.contentsRow) = true;
  }
  if (delivery.row.kind == Row::kUnreadable) self->Violation("a result that is no tile list: " + text);
  {
    std::lock_guard<std::mutex> lock(self->m_mutex);
    delivery.order = ++self->m_order;
    std::string ids;
    for (const std::string& id : delivery.row.list.Ids()) ids += " " + id;
    Trace("result #" + std::to_string(delivery.order) + ": " +
          (delivery.row.kind == Row::kContents ? "contents" : "routines") + ids +
          (delivery.row.kind == Row::kContents && delivery.row.list.sections[0].title.empty() ? " (no title)" : ""));
    self->m_record.results.push_back(std::move(delivery));
  }
  if (self->m_reentrant) self->ActInside(true);
}

void Caller::OnEvent(std::string text, void* userData) {
  Slot* slot = static_cast<Slot*>(userData);
  Caller* self = slot->caller;
  InCallback call(slot);
  if (!text.empty()) self->Violation("a notice with a text: " + text);
  {
    std::lock_guard<std::mutex> lock(self->m_mutex);
    ++self->m_order;
    ++self->m_record.notices;
    Trace("notice #" + std::to_string(self->m_order));
  }
  if (self->m_reentrant) {
    self->Ask();
    self->ActInside(false);
  } else {
    self->m_ui.Post([self] { self->Ask(); });
  }
}

Record Caller::Snapshot() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_record;
}

void Caller::Violation(const std::string& what) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_record.violations.push_back(what);
}

}  // namespace sim
