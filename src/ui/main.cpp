#include <QApplication>

#include "app/app_state.hpp"
#include "ui/form.hpp"
#include "ui/main_window.hpp"
#include "ui/prompts.hpp"
#include "ui/workspace_lock.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tesmara::ui::applyAppearance(app);
    tesmara::ui::DesktopPrompts prompts;

    const tesmara::WorkspaceFolder where = tesmara::findWorkspaceFolder();
    if (where.error) {
        prompts.tell(nullptr, tesmara::ui::kErrorCaption, QString::fromStdString(*where.error));
        return 1;
    }
    tesmara::ui::WorkspaceLock lock(where.folder);
    if (!lock.acquire(prompts)) {
        return 1;
    }
    tesmara::AppState state{tesmara::Workspace(where.folder)};
    auto* window = new tesmara::ui::MainWindow(state, prompts);
    window->show();
    return app.exec();
}
