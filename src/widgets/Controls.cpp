#include "widgets/Controls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrum {

QString ElementName(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

QCheckBox* NewCheckBox(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QCheckBox(caption, parent), name);
}

QRadioButton* NewOptionButton(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QRadioButton(caption, parent), name);
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QPushButton(caption, parent), name);
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QLabel(caption, parent), name);
}

QGroupBox* NewFrame(QWidget* parent, const QString& name, const QString& caption) {
    return Named(new QGroupBox(caption, parent), name);
}

QLineEdit* NewTextBox(QWidget* parent, const QString& name) { return Named(new QLineEdit(parent), name); }

QComboBox* NewList(QWidget* parent, const QString& name, std::initializer_list<const char*> items) {
    return NewList(parent, name, std::span(items.begin(), items.size()));
}

QComboBox* NewList(QWidget* parent, const QString& name, std::span<const char* const> items) {
    auto* list = Named(new QComboBox(parent), name);
    for (const char* item : items) list->addItem(QString::fromUtf8(item));
    return list;
}

QHBoxLayout* RightAlignedRow(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* widget : widgets) row->addWidget(widget);
    return row;
}

QLabel* NewReadout(QWidget* parent, const QString& name) {
    auto* label = Named(new QLabel(parent), name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(60);
    return label;
}

void ClearOptionButtons(std::span<QRadioButton* const> buttons) {
    for (QRadioButton* button : buttons) {
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(exclusive);
    }
}

void ShowText(QLabel& label, QAnyStringView text) {
    if (!QAnyStringView::equal(label.text(), text)) label.setText(text.toString());
}

void ShowText(QLineEdit& box, QAnyStringView text) {
    if (!QAnyStringView::equal(box.text(), text)) box.setText(text.toString());
}

bool IsListOpen(const QWidget* control) {
    const auto* list = qobject_cast<const QComboBox*>(control);
    return list != nullptr && list->view() != nullptr && list->view()->isVisible();
}

}  // namespace kestrum
