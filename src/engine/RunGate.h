#pragma once

// The door between the threads of one run and the document. A thread holds a pass
// while it touches the document and lets go of it while it waits on the network, a
// file or a timer. A forced stop that gives up on a run's threads closes the gate:
// closing waits for the passes in use (each is held only for a short step) and
// refuses every later one, so a thread left behind never touches the document
// again, whatever becomes of it.

#include <condition_variable>
#include <mutex>

namespace qn {

class QNRunGate {
 public:
  // False once the gate is closed (or closing).
  bool Enter();
  void Leave();
  // Refuses new passes and waits until every pass in use has been returned.
  void Close();
  bool IsClosed();

 private:
  std::mutex mutex_;
  std::condition_variable left_;
  int inside_ = 0;
  bool closed_ = false;
};

// A thread's pass through the gate, given back when the object goes.
// The thread's count of passes held (RunPasses.h) follows the pass.
class QNRunPass {
 public:
  explicit QNRunPass(QNRunGate& gate);
  ~QNRunPass() { Release(); }
  QNRunPass(const QNRunPass&) = delete;
  QNRunPass& operator=(const QNRunPass&) = delete;

  explicit operator bool() const { return held_; }
  void Release();
  // Asks for the pass again after a wait; false when the gate has closed meanwhile.
  bool Reacquire();

 private:
  QNRunGate& gate_;
  bool held_;
};

// Runs `wait` without the pass and asks for it again afterwards; false when the gate
// closed meanwhile and the caller must leave the document alone.
template <typename Wait>
bool OutsideGate(QNRunPass& pass, Wait&& wait) {
  pass.Release();
  wait();
  return pass.Reacquire();
}

}  // namespace qn
