#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tesmara::ui {

inline const QString kErrorCaption = QStringLiteral("错误：");
inline const QString kInfoCaption = QStringLiteral("信息：");

// Everything a window asks the operator or tells them, behind one seam so the
// tests can answer in place of the operator.
class Prompts {
public:
    virtual ~Prompts() = default;

    // The save dialog: the name the operator confirmed, or nothing on cancel.
    virtual std::optional<QString> askSaveName(QWidget* parent, const QString& prefilled) = 0;
    virtual bool confirmOverwrite(QWidget* parent, const QString& path) = 0;
    // A question with "是" and "否"; true for "是".
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A message box with one OK button.
    virtual void tell(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The real dialogs. The save dialog filters "*.NC" and leaves the overwrite
// question to askOutputPath, which asks it for the path actually written.
class DesktopPrompts final : public Prompts {
public:
    explicit DesktopPrompts(bool nativeDialog = true) : m_nativeDialog(nativeDialog) {}

    std::optional<QString> askSaveName(QWidget* parent, const QString& prefilled) override;
    bool confirmOverwrite(QWidget* parent, const QString& path) override;
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void tell(QWidget* parent, const QString& caption, const QString& text) override;

private:
    bool m_nativeDialog;
};

// "出程序" and "汇出": the path to write, or nothing when the operator cancels.
// `remembered` is the window's last confirmed path, offered again next time.
std::optional<std::filesystem::path> askOutputPath(Prompts& prompts, QWidget* parent,
                                                   QString& remembered);

// One message box for all failures of one click, if there were any.
void tellErrors(Prompts& prompts, QWidget* parent, const std::vector<std::string>& errors);

}  // namespace tesmara::ui
