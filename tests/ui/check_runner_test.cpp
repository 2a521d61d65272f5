// The preview's check beside the window: only the newest start's result
// arrives, and a runner that is gone delivers nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QThreadPool>
#include <future>
#include <memory>
#include <vector>

#include "ui/check_runner.hpp"

namespace tesmara::ui {
namespace {

// A check that takes as long as the test wants and does not look at its
// cancel flag, as a check in the middle of reading a long text would.
struct HeldCheck {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<bool> sawCancel;

    CheckRunner::Work work(int lines) {
        return [this, lines](const std::atomic<bool>& cancel) {
            released.wait();
            sawCancel.set_value(cancel.load());
            return SlotCheck{{}, lines};
        };
    }
};

CheckRunner::Work quick(int lines) {
    return [lines](const std::atomic<bool>&) { return SlotCheck{{}, lines}; };
}

void processEventsUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10'000);
    while (!done() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

class CheckRunnerTest : public testing::Test {
public:
    void SetUp() override {
        // The held check keeps one thread; the next one needs another.
        QThreadPool::globalInstance()->setMaxThreadCount(
            std::max(2, QThreadPool::globalInstance()->maxThreadCount()));
    }
    void TearDown() override { EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(10'000)); }

    // Finished pool jobs hand over on the event loop.
    void drainEvents() {
        ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(10'000));
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    }

    std::vector<int> delivered;
    CheckRunner::Deliver record() {
        return [this](SlotCheck check) { delivered.push_back(check.slotLines); };
    }
};

// The older check ends after the newer one; its result never replaces it.
TEST_F(CheckRunnerTest, AStaleResultNeverReplacesANewerOne) {
    CheckRunner runner(nullptr, record());
    HeldCheck older;
    runner.start(older.work(1));
    EXPECT_TRUE(runner.running());
    runner.start(quick(2));
    processEventsUntil([&] { return !delivered.empty(); });
    EXPECT_EQ(delivered, std::vector<int>{2});
    EXPECT_FALSE(runner.running());

    older.release.set_value();
    EXPECT_TRUE(older.sawCancel.get_future().get()) << "the newer start cancels the older check";
    drainEvents();
    EXPECT_EQ(delivered, std::vector<int>{2});
    EXPECT_EQ(runner.generation(), 2u);
}

// A runner that goes (its window closed) cancels its check and delivers nothing.
TEST_F(CheckRunnerTest, AClosedWindowGetsNoResult) {
    auto runner = std::make_unique<CheckRunner>(nullptr, record());
    HeldCheck held;
    runner->start(held.work(1));
    runner.reset();
    held.release.set_value();
    EXPECT_TRUE(held.sawCancel.get_future().get());
    drainEvents();
    EXPECT_TRUE(delivered.empty());
}

}  // namespace
}  // namespace tesmara::ui
