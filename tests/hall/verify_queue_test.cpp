// The verification queue: bounded, and draining finishes what it took.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "server/verify_queue.h"

namespace {

// Holds every verification until let go, and says when one has begun.
class HeldVerifier : public RunVerifier {
 public:
  Verdict Verify(const std::string& file) override {
    std::unique_lock hold(lock_);
    ++begun_;
    changed_.notify_all();
    changed_.wait(hold, [this] { return released_; });
    Verdict v;
    v.kind = Verdict::Kind::Ranked;
    v.potions = static_cast<int32_t>(file.size());
    return v;
  }
  void WaitUntilBegun(int count) {
    std::unique_lock hold(lock_);
    changed_.wait(hold, [&] { return begun_ >= count; });
  }
  void Release() {
    std::lock_guard hold(lock_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int begun_ = 0;
  bool released_ = false;
};

}  // namespace

TEST(VerifyQueue, TakesNoMoreThanItsCapacityAndFinishesWhatItTookWhenDrained) {
  HeldVerifier verifier;
  VerifyQueue queue(verifier, 1, 2);
  auto first = queue.Submit("a");
  ASSERT_TRUE(first);
  verifier.WaitUntilBegun(1);
  // The worker holds the first; two may wait, the next is turned away.
  auto second = queue.Submit("bb");
  auto third = queue.Submit("ccc");
  ASSERT_TRUE(second && third);
  EXPECT_FALSE(queue.Submit("dddd"));
  verifier.Release();
  queue.Drain();
  EXPECT_FALSE(queue.Submit("e"));
  EXPECT_EQ(first->get().potions, 1);
  EXPECT_EQ(second->get().potions, 2);
  EXPECT_EQ(third->get().potions, 3);
}
