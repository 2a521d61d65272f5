#pragma once

#include <QLockFile>
#include <filesystem>

namespace tesmara::ui {

class Prompts;

// Held for the whole run, so that a second program started on the same
// workspace folder does not empty the files the first one is collecting in.
class WorkspaceLock {
public:
    explicit WorkspaceLock(const std::filesystem::path& folder);

    // False, after telling the operator, when another program holds the
    // folder. A folder that cannot hold the lock at all is no reason to stop:
    // the workspace reset then says what is wrong with it.
    bool acquire(Prompts& prompts);

private:
    std::filesystem::path m_folder;
    QLockFile m_lock;
};

}  // namespace tesmara::ui
