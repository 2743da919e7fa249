// How the threads of a run wait for one another: dozing workers, the primary and
// the controller's head start. No wake may be lost, and new work wakes only as many
// workers as it can keep busy.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "engine/DocFixture.h"
#include "engine/Run.h"

namespace qn {
namespace {

using namespace std::chrono_literals;

// Long enough that a doze which ends this late has surely not been woken.
constexpr auto kForever = std::chrono::milliseconds(20000);

struct RunRig {
  test::DocFixture f;
  std::shared_ptr<QNRun> run =
      std::make_shared<QNRun>(f.doc, kKindNew, false, QNRunEnvironment{}, QNTexts());

  std::future<void> Doze(const QNRun::WakeMark& mark) {
    return std::async(std::launch::async, [this, mark] { run->Doze(kForever, mark); });
  }
  std::future<void> DozePrimary(const QNRun::WakeMark& mark) {
    return std::async(std::launch::async, [this, mark] { run->DozePrimary(kForever, mark); });
  }
};

bool Ends(std::future<void>& f) {
  return f.wait_for(10s) == std::future_status::ready;
}
bool StillDozing(std::future<void>& f) {
  return f.wait_for(100ms) == std::future_status::timeout;
}

TEST(RunWake, AWakeBetweenTheLookAndTheDozeIsNotLost) {
  RunRig r;
  // The worker has looked (the work flag was still set) and is about to doze when
  // the primary clears the flag and wakes everyone.
  const QNRun::WakeMark mark = r.run->Mark();
  r.run->Wake();
  auto late = r.Doze(mark);
  EXPECT_TRUE(Ends(late));

  // The same for the primary, woken by a worker that has just found nothing.
  const QNRun::WakeMark primaryMark = r.run->Mark();
  r.run->WakePrimary();
  auto primary = r.DozePrimary(primaryMark);
  EXPECT_TRUE(Ends(primary));

  // Work offered after a worker found the queue empty ends its doze as well.
  const QNRun::WakeMark offerMark = r.run->Mark();
  r.run->OfferWork(1);
  auto offered = r.Doze(offerMark);
  EXPECT_TRUE(Ends(offered));
}

TEST(RunWake, NewWorkWakesAsManyWorkersAsItCanKeepBusy) {
  RunRig r;
  auto a = r.Doze(r.run->Mark());
  auto b = r.Doze(r.run->Mark());
  auto c = r.Doze(r.run->Mark());
  // An offer counts only the workers already dozing.
  for (int i = 0; i < 400 && r.run->DozingWorkers() < 3; ++i) std::this_thread::sleep_for(25ms);
  ASSERT_EQ(r.run->DozingWorkers(), 3);
  r.run->OfferWork(2);
  const auto ready = [](std::future<void>& f) {
    return f.wait_for(0s) == std::future_status::ready;
  };
  for (int i = 0; i < 200 && ready(a) + ready(b) + ready(c) < 2; ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_EQ(ready(a) + ready(b) + ready(c), 2);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(ready(a) + ready(b) + ready(c), 2) << "one address woke more than one worker";

  // A worker finding nothing wakes the primary, not the other dozing workers.
  auto primary = r.DozePrimary(r.run->Mark());
  std::this_thread::sleep_for(100ms);
  r.run->WakePrimary();
  EXPECT_TRUE(Ends(primary));
  EXPECT_EQ(ready(a) + ready(b) + ready(c), 2);

  // Stop, resume and the end of the work wake everyone.
  r.run->Wake();
  EXPECT_TRUE(Ends(a));
  EXPECT_TRUE(Ends(b));
  EXPECT_TRUE(Ends(c));
}

TEST(RunWake, TheHeadStartEndsWithThePrimarysFirstAddressOrItsEnd) {
  RunRig r;
  r.run->ReserveSlots(1);
  r.run->BeginHeadStart();
  auto controller = std::async(std::launch::async, [&r] { r.run->AwaitHeadStart(kForever); });
  EXPECT_TRUE(StillDozing(controller));
  r.run->EndHeadStart();
  EXPECT_TRUE(Ends(controller));

  // A primary that ends before its first address is handled ends the head start too.
  r.run->BeginHeadStart();
  auto again = std::async(std::launch::async, [&r] { r.run->AwaitHeadStart(kForever); });
  EXPECT_TRUE(StillDozing(again));
  r.run->LeaveSlot(0);
  EXPECT_TRUE(Ends(again));
}

}  // namespace
}  // namespace qn
