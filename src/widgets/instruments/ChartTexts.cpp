#include "widgets/instruments/ChartTexts.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

ChartTexts::ChartTexts(const QFont& font) : metrics_(font) { SetFont(font); }

void ChartTexts::SetFont(const QFont& font) {
    metrics_ = QFontMetricsF(font);
    lineHeight_ = std::ceil(metrics_.height());
    timeLabelRoom_ = metrics_.horizontalAdvance(QStringLiteral("00 00 00")) + 2 * lineHeight_;
    numberLabelRoom_ = metrics_.horizontalAdvance(QStringLiteral("1000")) + 2 * lineHeight_;
    for (ScaleLabels& labels : valueLabels_) labels.measured = false;
    for (Label& label : horizontalLabels_) label.text.clear();
}

const ChartTexts::ScaleLabels& ChartTexts::ValueLabels(int axis, const AxisRange& range) {
    ScaleLabels& labels = valueLabels_.at(static_cast<std::size_t>(axis));
    if (labels.measured && labels.range == range) return labels;
    labels.range = range;
    labels.texts.clear();
    labels.widest = 0.0;
    for (int i = 0; i < range.TickCount(); ++i) {
        labels.texts.push_back(TickLabel(range.Tick(i), range.step));
        labels.widest = std::max(labels.widest, Width(labels.texts.back()));
    }
    labels.widest = std::ceil(labels.widest);
    labels.measured = true;
    return labels;
}

const ChartTexts::Label& ChartTexts::HorizontalLabel(double value, double step, bool clockTime) {
    // A clock time's text does not depend on the step.
    const double key = clockTime ? 0.0 : step;
    for (const Label& label : horizontalLabels_)
        if (label.value == value && label.step == key && !label.text.isEmpty()) return label;
    Label& label = horizontalLabels_[nextHorizontal_];
    nextHorizontal_ = (nextHorizontal_ + 1) % horizontalLabels_.size();
    label.value = value;
    label.step = key;
    label.text = clockTime ? TimeLabel(value) : TickLabel(value, step);
    label.width = Width(label.text);
    return label;
}

}  // namespace kestrum
