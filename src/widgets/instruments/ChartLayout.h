#pragma once
// Where a chart's parts go, in the widget's pixels: the title band on top, the plot, the
// value scales on its left (axis 0) and right (axis 1), the time or x scale below it, the
// legend on the right, and the zoom arrows at the ends of the scales. Windows place
// labels by fractions of the chart's height counted from the top; this class turns them
// into pixels and back, and gives the plot's edges as such fractions.

#include <QRectF>

namespace kestrum {

struct ChartMetrics {
    double width = 0.0;
    double height = 0.0;
    double lineHeight = 16.0;  // of the widget's font
    // Widest tick label of each value axis; 0 for a second axis that is not in use.
    double valueLabelWidth[2] = {0.0, 0.0};
    // Width of the legend column (swatch and widest caption); 0 for none.
    double legendWidth = 0.0;
};

class ChartLayout {
public:
    static constexpr double kMargin = 6.0;
    static constexpr double kTickLength = 4.0;
    static constexpr double kGap = 4.0;
    // The legend never takes more than this share of the width.
    static constexpr double kMostLegendShare = 0.4;

    ChartLayout() = default;
    explicit ChartLayout(const ChartMetrics& metrics);

    double LineHeight() const { return metrics_.lineHeight; }

    QRectF Plot() const { return plot_; }
    // Where the title (and a second axis's title) sit.
    QRectF TitleBand() const { return titleBand_; }
    QRectF Legend() const { return legend_; }
    // Tick labels of the value axis: the left or right gutter beside the plot.
    QRectF ValueScale(int axis) const;

    // The zoom arrows: at the right end of the horizontal scale, and above each value scale.
    QRectF HorizontalArrow() const;
    QRectF ValueArrow(int axis) const;
    double ArrowSize() const { return arrow_; }

    // The plot's lower and upper edges as fractions of the chart height from the top.
    double PlotLowerEdge() const { return ToFraction(plot_.bottom()); }
    double ReferenceHeight() const { return ToFraction(plot_.top()); }
    double ToFraction(double y) const;
    // The vertical centre of a label placed at this fraction, kept inside the chart.
    double LabelCentre(double fraction) const;
    // The vertical centre of the n-th entry (from 0) of the default legend.
    double LegendSlotCentre(int slot) const;

    // The data region that changes with each sample: the plot and the scale below it.
    QRectF DataRegion() const;

private:
    ChartMetrics metrics_;
    double arrow_ = 6.0;
    QRectF plot_;
    QRectF titleBand_;
    QRectF horizontalScale_;  // below the plot: the time or x scale's ticks and labels
    QRectF legend_;
    double rightGutter_ = 0.0;
};

// The logical coordinate of the device pixel centre nearest below `logical`, so that a
// one-device-pixel line drawn there covers exactly one pixel row or column.
double PixelCentre(double logical, double devicePixelRatio);

}  // namespace kestrum
