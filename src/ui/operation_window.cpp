#include "ui/operation_window.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "app/session.hpp"
#include "ui/form.hpp"
#include "ui/preview_pane.hpp"
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
    buildPreview();
}

OperationWindow::~OperationWindow() {
    closeWindow(m_state, m_op);
}

// After the form is built, so that no label of the form grows into the pane.
void OperationWindow::buildPreview() {
    m_preview = new PreviewPane(this);
    m_preview->setObjectName(QStringLiteral("预览"));
    m_preview->setGeometry(m_op.window.width, 0, kPreviewWidth, m_op.window.height);
    m_previewToggle = new QPushButton(this);
    m_previewToggle->setObjectName(QStringLiteral("按钮_预览"));
    connect(m_preview, &PreviewPane::lineChosen, this, &OperationWindow::selectOutputLine);
    connect(m_preview, &PreviewPane::toolTableRequested, this,
            &OperationWindow::toolTableRequested);
    connect(m_previewToggle, &QPushButton::clicked, this, &OperationWindow::onTogglePreview);
    placePreview();
    showProgramSlot();
}

void OperationWindow::placePreview() {
    constexpr QSize kButton{80, 24};
    const bool shown = !m_state.previewHidden;
    const int width = m_op.window.width + (shown ? kPreviewWidth : 0);
    m_preview->setVisible(shown);
    m_previewToggle->setText(shown ? QStringLiteral("隐藏预览") : QStringLiteral("显示预览"));
    m_previewToggle->setGeometry(width - kButton.width() - 8,
                                 m_op.window.height + (kStripHeight - kButton.height()) / 2,
                                 kButton.width(), kButton.height());
    resize(width, m_op.window.height + kStripHeight);
}

// A hidden pane is not kept up to date; it catches up when it is shown.
void OperationWindow::showProgramSlot() {
    if (!m_state.previewHidden) {
        m_preview->showCheck(checkProgramSlot(m_state, m_op));
    }
}

void OperationWindow::selectOutputLine(int line) {
    const QTextBlock block = m_output->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_output->setTextCursor(cursor);
    m_output->ensureCursorVisible();
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
    showProgramSlot();
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

void OperationWindow::onTogglePreview() {
    m_state.previewHidden = !m_state.previewHidden;
    placePreview();
    showProgramSlot();
}

void OperationWindow::onNextHole() {
    const std::string count = nextHole(m_state, m_op, readFields());
    findChild<QLabel*>(qtText(m_op.multiHole->countLabel))->setText(QString::fromStdString(count));
}

}  // namespace tesmara::ui
