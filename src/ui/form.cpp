#include "ui/form.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace tesmara::ui {

namespace {

constexpr int kGap = 2;

QWidget* createWidget(const Control& control, QWidget* parent) {
    const QString caption = qtText(control.caption);
    switch (control.kind) {
        case ControlKind::Label:
            return new QLabel(caption, parent);
        case ControlKind::EditBox:
            return new QLineEdit(parent);
        case ControlKind::OutputBox: {
            auto* box = new QPlainTextEdit(parent);
            box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            return box;
        }
        case ControlKind::Button:
            return new QPushButton(caption, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
        case ControlKind::SaveDialog:
            break;  // the save dialog is shown by askOutputPath, not placed
    }
    return nullptr;
}

// The right edge a label may grow to: the nearest sibling to its right on
// the same rows, or the edge of its parent.
int freeRightEdge(const QWidget* label) {
    const QRect own = label->geometry();
    int edge = label->parentWidget()->width();
    for (const QObject* object : label->parentWidget()->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(object);
        if (sibling == nullptr || sibling == label || sibling->isWindow()) {
            continue;
        }
        const QRect other = sibling->geometry();
        const bool sameRows = other.top() <= own.bottom() && other.bottom() >= own.top();
        if (sameRows && other.left() >= own.right() - kGap) {
            edge = std::min(edge, other.left() - kGap);
        }
    }
    return edge;
}

void growLabelToFit(QLabel* label) {
    const int wanted = label->sizeHint().width();
    if (wanted <= label->width()) {
        return;
    }
    const int room = freeRightEdge(label) - label->x();
    label->resize(std::max(label->width(), std::min(wanted, room)), label->height());
}

// Buttons cannot grow without covering their neighbours, so a caption too
// long for its button is set a little smaller instead.
void shrinkButtonCaptionToFit(QPushButton* button) {
    constexpr int kPadding = 8;
    constexpr int kSmallestPixels = 9;
    QFont font = button->font();
    while (QFontMetrics(font).horizontalAdvance(button->text()) + kPadding > button->width() &&
           font.pixelSize() > kSmallestPixels) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    if (font != button->font()) {
        button->setFont(font);
    }
}

}  // namespace

void applyAppearance(QApplication& app) {
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    app.setFont(font);
}

void buildForm(QWidget* window, std::span<const Control> controls) {
    // Group boxes first, so that a control can be put in one listed after it.
    std::vector<const Control*> ordered;
    for (const Control& c : controls) {
        ordered.push_back(&c);
    }
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const Control* c) { return c->kind == ControlKind::GroupBox; });
    for (const Control* c : ordered) {
        QWidget* parent = window;
        if (!c->parent.empty()) {
            parent = window->findChild<QGroupBox*>(qtText(c->parent));
        }
        QWidget* widget = createWidget(*c, parent);
        if (widget == nullptr) {
            continue;
        }
        widget->setObjectName(qtText(c->name));
        widget->setGeometry(c->rect.x, c->rect.y, c->rect.width, c->rect.height);
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        growLabelToFit(label);
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        shrinkButtonCaptionToFit(button);
    }
}

void bringToFront(QWidget* window) {
    if (window->isMinimized()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace tesmara::ui
