#include "ui/workspace_lock.hpp"

#include "app/output.hpp"
#include "ui/prompts.hpp"

namespace tesmara::ui {

namespace {

QString lockPath(const std::filesystem::path& folder) {
    return QString::fromStdString(pathText(folder / "tesmara.lock"));
}

}  // namespace

WorkspaceLock::WorkspaceLock(const std::filesystem::path& folder)
    : m_folder(folder), m_lock(lockPath(folder)) {
    // A lock is stale only when its program has gone, however long it ran.
    m_lock.setStaleLockTime(0);
}

bool WorkspaceLock::acquire(Prompts& prompts) {
    if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError) {
        return true;
    }
    const QString folder = QString::fromStdString(pathText(m_folder));
    prompts.tell(nullptr, kErrorCaption,
                 QStringLiteral("另一个 Tesmara 正在使用工作文件夹 %1。\n本程序将退出，"
                                "工作文件不受影响。")
                     .arg(folder));
    return false;
}

}  // namespace tesmara::ui
