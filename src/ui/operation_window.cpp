#include "ui/operation_window.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/session.hpp"
#include "ui/form.hpp"
#include "ui/prompts.hpp"

namespace tesmara::ui {

OperationWindow::OperationWindow(AppState& state, const Operation& op, Prompts& prompts,
                                 QWidget* owner)
    : QWidget(op.mode == WindowMode::Modeless ? owner : nullptr, Qt::Window),
      m_state(state),
      m_op(op),
      m_prompts(prompts) {
    setAttribute(Qt::WA_DeleteOnClose);
    if (op.mode == WindowMode::Modal) {
        setWindowModality(Qt::ApplicationModal);
    }
    setWindowTitle(qtText(op.title));
    move(op.window.x, op.window.y);
    resize(op.window.width, op.window.height);
    buildForm(this, op.controls);
    m_output = findChild<QPlainTextEdit*>(qtText(kOutputBox));
    connectButton(op.generateButton, &OperationWindow::onGenerate);
    connectButton(op.saveButton, &OperationWindow::onSave);
    connectButton(op.appendButton, &OperationWindow::onAppend);
    if (op.multiHole != nullptr) {
        connectButton(kNextHoleButton, &OperationWindow::onNextHole);
        // A form may keep another label under the count; the count must hide it.
        auto* count = findChild<QLabel*>(qtText(op.multiHole->countLabel));
        count->setAutoFillBackground(true);
        count->raise();
    }
    openWindow(m_state, m_op);
}

OperationWindow::~OperationWindow() {
    closeWindow(m_state, m_op);
}

void OperationWindow::connectButton(std::string_view name, void (OperationWindow::*handler)()) {
    connect(findChild<QPushButton*>(qtText(name)), &QPushButton::clicked, this, handler);
}

FieldValues OperationWindow::readFields() const {
    FieldValues fields;
    for (const Field& f : m_op.fields) {
        fields[std::string(f.name)] =
            findChild<QLineEdit*>(qtText(f.control))->text().toStdString();
    }
    return fields;
}

void OperationWindow::writeFields(const FieldValues& fields) {
    for (const Field& f : m_op.fields) {
        auto* edit = findChild<QLineEdit*>(qtText(f.control));
        const QString text = QString::fromStdString(std::string(fieldText(fields, f.name)));
        if (edit->text() != text) {
            edit->setText(text);
        }
    }
}

bool OperationWindow::ticked(std::string_view box) const {
    return findChild<QCheckBox*>(qtText(box))->checkState() == Qt::Checked;
}

void OperationWindow::onGenerate() {
    m_output->clear();
    FieldValues fields = readFields();
    const std::string& program =
        generate(m_state, m_op, fields, ticked(kHeaderBox), ticked(kTrailerBox));
    writeFields(fields);
    m_output->setPlainText(QString::fromStdString(program));
}

void OperationWindow::onSave() {
    const auto path = askOutputPath(m_prompts, this, m_lastPath);
    if (path) {
        tellErrors(m_prompts, this, saveProgram(m_state, m_op, *path, readFields()));
    }
}

void OperationWindow::onAppend() {
    const std::string shown = m_output->toPlainText().toStdString();
    tellErrors(m_prompts, this, appendToWorkspace(m_state, m_op, shown, readFields()));
}

void OperationWindow::onNextHole() {
    const std::string count = nextHole(m_state, m_op, readFields());
    findChild<QLabel*>(qtText(m_op.multiHole->countLabel))->setText(QString::fromStdString(count));
}

}  // namespace tesmara::ui
