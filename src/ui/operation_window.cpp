#include "ui/operation_window.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "app/session.hpp"
#include "holes/coordinate_text.hpp"
#include "ui/check_runner.hpp"
#include "ui/form.hpp"
#include "ui/hole_list_panel.hpp"
#include "ui/preview_pane.hpp"
#include "ui/prompts.hpp"
#include "ui/values_bar.hpp"

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
    buildHoleList();
    m_values = new ValuesBar(
        op, prompts, [this] { return formValues(); }, this);
    connect(m_values, &ValuesBar::fill, this, &OperationWindow::fillForm);
    buildPreview();
}

OperationWindow::~OperationWindow() {
    closeWindow(m_state, m_op);
}

// After the form is built, so that no label of the form grows into the pane.
void OperationWindow::buildPreview() {
    m_preview = new PreviewPane(this);
    m_preview->setObjectName(QStringLiteral("预览"));
    m_preview->setGeometry(formWidth(), 0, kPreviewWidth, m_op.window.height);
    m_check =
        new CheckRunner(this, [this](SlotCheck check) { m_preview->showCheck(std::move(check)); });
    m_previewToggle = new QPushButton(this);
    m_previewToggle->setObjectName(QStringLiteral("按钮_预览"));
    connect(m_preview, &PreviewPane::lineChosen, this, &OperationWindow::selectOutputLine);
    connect(m_preview, &PreviewPane::toolTableRequested, this,
            &OperationWindow::toolTableRequested);
    if (m_holes != nullptr) {
        connect(m_preview, &PreviewPane::holeChosen, m_holes, &HoleListPanel::chooseHole);
    }
    connect(m_previewToggle, &QPushButton::clicked, this, &OperationWindow::onTogglePreview);
    placePreview();
    showProgramSlot();
}

void OperationWindow::placePreview() {
    constexpr QSize kButton{80, 24};
    const bool shown = !m_state.previewHidden;
    const int width = formWidth() + (shown ? kPreviewWidth : 0);
    m_preview->setVisible(shown);
    m_previewToggle->setText(shown ? QStringLiteral("隐藏预览") : QStringLiteral("显示预览"));
    m_previewToggle->setGeometry(width - kButton.width() - 8,
                                 m_op.window.height + (kStripHeight - kButton.height()) / 2,
                                 kButton.width(), kButton.height());
    m_values->setGeometry(0, m_op.window.height, width - kButton.width() - 16, kStripHeight);
    resize(width, m_op.window.height + kStripHeight);
}

// A hidden pane is not kept up to date; it catches up when it is shown. The
// check runs beside the window, which answers the operator meanwhile.
void OperationWindow::showProgramSlot() {
    if (m_state.previewHidden) {
        m_check->cancel();
        return;
    }
    std::optional<SlotText> slot = slotText(m_state, m_op);
    if (!slot) {
        m_check->cancel();
        m_preview->showCheck(std::nullopt);
        return;
    }
    m_preview->showRunning();
    m_check->start([slot = std::move(*slot),
                    options = previewOptions(m_state)](const std::atomic<bool>& cancel) mutable {
        options.cancel = &cancel;
        return checkSlotText(slot, options);
    });
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
    rememberedValues().saveLast(m_op, formValues());
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
    nextHole(m_state, m_op, readFields());
    m_holes->refresh();
    showHoleCount();
}

void OperationWindow::showHoleCount() {
    const auto count = std::to_string(m_state.window(m_op).holes.holeCounter);
    findChild<QLabel*>(qtText(m_op.multiHole->countLabel))->setText(QString::fromStdString(count));
}

// The hole list sits between the form and the preview.
int OperationWindow::formWidth() const {
    return m_op.window.width + (m_holes != nullptr ? HoleListPanel::kWidth : 0);
}

void OperationWindow::buildHoleList() {
    if (m_op.multiHole == nullptr) {
        return;
    }
    m_holes = new HoleListPanel(
        m_state.window(m_op).holes, m_op, [this] { return readFields(); }, this);
    m_holes->setGeometry(m_op.window.width, 0, HoleListPanel::kWidth, m_op.window.height);
    connect(m_holes, &HoleListPanel::listChanged, this, &OperationWindow::showHoleCount);
    connect(m_holes, &HoleListPanel::holeChosen, this, &OperationWindow::onHoleChosen);
}

// The chosen hole's texts go into the form, and the preview marks it.
void OperationWindow::onHoleChosen(int index) {
    const MultiHoleState& holes = m_state.window(m_op).holes;
    std::vector<std::optional<QPointF>> centres;
    for (const Hole& hole : holes.holes) {
        const auto x = parseNumber(fieldText(hole.texts, kCoordX));
        const auto y = parseNumber(fieldText(hole.texts, kCoordY));
        centres.push_back(x && y ? std::optional(QPointF(*x, *y)) : std::nullopt);
    }
    m_preview->setHoleMarks(std::move(centres), index);
    if (index >= 0 && static_cast<std::size_t>(index) < holes.holes.size()) {
        fillForm({holes.holes[static_cast<std::size_t>(index)].texts, std::nullopt, std::nullopt});
    }
}

FormValues OperationWindow::formValues() const {
    return {readFields(), ticked(kHeaderBox), ticked(kTrailerBox)};
}

// Only what `values` holds; every other field and box stays as it is.
void OperationWindow::fillForm(const FormValues& values) {
    for (const auto& [name, text] : values.fields) {
        if (const Field* f = findField(m_op, name)) {
            findChild<QLineEdit*>(qtText(f->control))->setText(QString::fromStdString(text));
        }
    }
    const std::pair<std::string_view, std::optional<bool>> boxes[] = {
        {kHeaderBox, values.header}, {kTrailerBox, values.trailer}};
    for (const auto& [box, ticked] : boxes) {
        if (ticked) {
            findChild<QCheckBox*>(qtText(box))->setChecked(*ticked);
        }
    }
}

}  // namespace tesmara::ui
