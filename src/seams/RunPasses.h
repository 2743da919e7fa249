#pragma once

// How many passes through a run's gate (engine/RunGate.h) the calling thread holds.
// A forced stop closes the gate and waits for every pass in use, so a thread must
// never wait for a person while it holds one: questions check this count.

namespace qn {

inline int& RunPassesHeld() {
  thread_local int held = 0;
  return held;
}

}  // namespace qn
