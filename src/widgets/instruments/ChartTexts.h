#pragma once
// A chart's texts and their widths, measured once: when the font or the text changes.
// Shaping a text is the costliest thing a chart does, and a chart repaints up to 25 times
// a second, so its sizes, scale labels and captions keep what they measured.

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <array>
#include <vector>

#include "widgets/instruments/AxisTicks.h"

namespace kestrum {

class ChartTexts {
public:
    struct Label {
        double value = 0.0;
        double step = 0.0;
        QString text;
        double width = 0.0;
    };
    // The tick labels of a value axis and the widest of them, kept while the range stays.
    struct ScaleLabels {
        AxisRange range;
        std::vector<QString> texts;
        double widest = 0.0;
        bool measured = false;
    };

    explicit ChartTexts(const QFont& font);
    // Forgets everything measured in the old font.
    void SetFont(const QFont& font);

    double Width(const QString& text) const { return metrics_.horizontalAdvance(text); }
    QString Elided(const QString& text, double width) const {
        return metrics_.elidedText(text, Qt::ElideRight, width);
    }
    // The line height, whole pixels.
    double LineHeight() const { return lineHeight_; }
    // Room a clock time or an x value takes on the horizontal scale, label and spacing.
    double TimeLabelRoom() const { return timeLabelRoom_; }
    double NumberLabelRoom() const { return numberLabelRoom_; }

    const ScaleLabels& ValueLabels(int axis, const AxisRange& range);
    // The label of a tick of the horizontal scale: a clock time, or a number of that step.
    // Scrolling keeps most ticks, and their labels are kept from paint to paint.
    const Label& HorizontalLabel(double value, double step, bool clockTime);

private:
    // More than a horizontal scale ever shows, so a scrolling scale finds its labels again.
    static constexpr std::size_t kKeptHorizontalLabels = 48;

    QFontMetricsF metrics_;
    double lineHeight_ = 0.0;
    double timeLabelRoom_ = 0.0;
    double numberLabelRoom_ = 0.0;
    std::array<ScaleLabels, 2> valueLabels_;
    std::array<Label, kKeptHorizontalLabels> horizontalLabels_;
    std::size_t nextHorizontal_ = 0;  // the slot a new label takes, oldest first
};

}  // namespace kestrum
