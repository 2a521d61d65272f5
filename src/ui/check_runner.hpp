#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/session.hpp"

namespace tesmara::ui {

// Runs a window's preview check on a pool thread, so that a program that
// takes long to check never holds up the window. A new start cancels the
// check still running; a result that arrives for an older start is dropped,
// and none arrives once the runner is gone.
class CheckRunner : public QObject {
    Q_OBJECT

public:
    // Runs beside the window; it stops soon after `cancel` turns true.
    using Work = std::function<SlotCheck(const std::atomic<bool>& cancel)>;
    // Called on the window's thread with the newest start's result.
    using Deliver = std::function<void(SlotCheck)>;

    CheckRunner(QObject* parent, Deliver deliver);
    ~CheckRunner() override;

    void start(Work work);
    void cancel();
    // A start whose result has not arrived yet.
    bool running() const { return m_current != nullptr; }
    std::uint64_t generation() const { return m_generation; }

private:
    struct Job {
        std::uint64_t generation = 0;
        std::atomic<bool> cancel{false};
    };

    Deliver m_deliver;
    std::shared_ptr<Job> m_current;
    std::uint64_t m_generation = 0;
};

}  // namespace tesmara::ui
