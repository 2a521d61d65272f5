#include "ui/check_runner.hpp"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace tesmara::ui {

CheckRunner::CheckRunner(QObject* parent, Deliver deliver)
    : QObject(parent), m_deliver(std::move(deliver)) {}

// The pool thread keeps its job alive and finishes on its own; its watcher,
// a child of this runner, goes with it, so nothing is delivered any more.
CheckRunner::~CheckRunner() {
    cancel();
}

void CheckRunner::cancel() {
    if (m_current != nullptr) {
        m_current->cancel.store(true, std::memory_order_relaxed);
        m_current.reset();
    }
}

void CheckRunner::start(Work work) {
    cancel();
    auto job = std::make_shared<Job>();
    job->generation = ++m_generation;
    m_current = job;
    auto* watcher = new QFutureWatcher<SlotCheck>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, job] {
        watcher->deleteLater();
        if (m_current == nullptr || job->generation != m_current->generation) {
            return;
        }
        m_current.reset();
        m_deliver(watcher->future().takeResult());
    });
    watcher->setFuture(
        QtConcurrent::run([job, work = std::move(work)] { return work(job->cancel); }));
}

}  // namespace tesmara::ui
