#include "ui/prompts.hpp"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "app/output.hpp"

namespace tesmara::ui {

std::optional<QString> DesktopPrompts::askSaveName(QWidget* parent, const QString& prefilled) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("NC 程序 (*.NC)"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !m_nativeDialog);
    if (!prefilled.isEmpty()) {
        dialog.selectFile(prefilled);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

bool DesktopPrompts::confirmOverwrite(QWidget* parent, const QString& path) {
    return askYesNo(parent, QStringLiteral("确认："),
                    QStringLiteral("%1 已存在。\n要替换它吗？").arg(path));
}

bool DesktopPrompts::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void DesktopPrompts::tell(QWidget* parent, const QString& caption, const QString& text) {
    const auto icon = caption == kErrorCaption ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::optional<std::filesystem::path> askOutputPath(Prompts& prompts, QWidget* parent,
                                                   QString& remembered) {
    for (;;) {
        const std::optional<QString> name = prompts.askSaveName(parent, remembered);
        if (!name) {
            return std::nullopt;
        }
        const QString path = QString::fromStdString(outputPathFor(name->toStdString()));
        remembered = path;
        // Declining the overwrite goes back to the dialog, not out of the save.
        if (!QFileInfo::exists(path) || prompts.confirmOverwrite(parent, path)) {
            return utf8Path(path.toStdString());
        }
    }
}

void tellErrors(Prompts& prompts, QWidget* parent, const std::vector<std::string>& errors) {
    if (errors.empty()) {
        return;
    }
    QStringList lines;
    for (const std::string& error : errors) {
        lines << QString::fromStdString(error);
    }
    prompts.tell(parent, kErrorCaption, lines.join(QLatin1Char('\n')));
}

}  // namespace tesmara::ui
