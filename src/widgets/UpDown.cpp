#include "widgets/UpDown.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Conversions.h"
#include "widgets/Controls.h"

namespace kestrum {

namespace {

QToolButton* NewArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

}  // namespace

UpDown::UpDown(QLineEdit& buddy, int minimum, int maximum, QWidget* parent, int increment)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), increment_(increment) {
    upButton = NewArrow(this, Qt::UpArrow);
    downButton = NewArrow(this, Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kNoMargins);
    layout->setSpacing(0);
    layout->addWidget(upButton);
    layout->addWidget(downButton);
    const int width = buddy.sizeHint().height() * 2 / 3;
    upButton->setFixedWidth(width);
    downButton->setFixedWidth(width);
    connect(upButton, &QToolButton::clicked, this, [this] { StepAsUser(1); });
    connect(downButton, &QToolButton::clicked, this, [this] { StepAsUser(-1); });
}

void UpDown::StepAsUser(int steps) {
    const int64_t current = RoundToInt32(LeadingNumber(buddy_.text().toStdString()));
    const auto next =
        static_cast<int>(std::clamp<int64_t>(current + int64_t{steps} * increment_, minimum_, maximum_));
    const QString text = QString::number(next);
    if (text == buddy_.text()) return;
    buddy_.setText(text);
    emit buddy_.textEdited(text);
}

SpinnerBox NewSpinnerBox(QWidget* parent, const QString& textName, const QString& spinnerName, int minimum,
                         int maximum, int increment) {
    SpinnerBox result;
    result.box = new QWidget(parent);
    result.text = NewTextBox(result.box, textName);
    result.spinner = Named(new UpDown(*result.text, minimum, maximum, result.box, increment), spinnerName);
    auto* layout = new QHBoxLayout(result.box);
    layout->setContentsMargins(kNoMargins);
    layout->setSpacing(0);
    layout->addWidget(result.text);
    layout->addWidget(result.spinner);
    // Wide enough for the range's longest number and a little more; the arrows share the
    // box's height instead of standing taller than it.
    const qsizetype longest = std::max(QString::number(minimum).size(), QString::number(maximum).size());
    result.text->setFixedWidth(
        result.text->fontMetrics().horizontalAdvance(QString(longest + 2, QLatin1Char('0'))));
    result.box->setFixedHeight(result.text->sizeHint().height());
    return result;
}

}  // namespace kestrum
