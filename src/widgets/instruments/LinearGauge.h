#pragma once
// A vertical linear gauge: a scale with ticks, two needles showing values, a low-limit
// marker (2) and a high-limit marker (3) that the user drags or steps with the arrow
// keys, and a caption below. markerMoved is raised once per finished user move (the
// mouse released after a drag, one key step); never while dragging, never when code
// sets a marker. Markers always lie within the scale; an empty scale shows neither
// needles nor markers.
//
// Keys, with focus: Up/Down step the selected marker by KeyStep (PageUp/PageDown ten
// steps), Left selects the low marker and Right the high one; a click selects the marker
// clicked. Escape during a drag puts the marker back.

#include <QString>
#include <QWidget>
#include <array>

#include "widgets/instruments/GaugeGeometry.h"

namespace kestrum {

class LinearGauge : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double scaleMinimum READ ScaleMinimum WRITE SetScaleMinimum)
    Q_PROPERTY(double scaleMaximum READ ScaleMaximum WRITE SetScaleMaximum)
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)

public:
    static constexpr int kLowMarker = 2;
    static constexpr int kHighMarker = 3;

    explicit LinearGauge(QWidget* parent = nullptr);

    double ScaleMinimum() const { return minimum_; }
    double ScaleMaximum() const { return maximum_; }
    QString Caption() const { return caption_; }
    void SetScaleMinimum(double minimum) { SetScale(minimum, maximum_); }
    void SetScaleMaximum(double maximum) { SetScale(minimum_, maximum); }
    // Markers are kept within the new scale.
    void SetScale(double minimum, double maximum);
    void SetCaption(const QString& caption);

    // Needle 0 or 1; other numbers are ignored and read 0.
    void SetNeedleValue(int needle, double value);
    Q_INVOKABLE double needleValue(int needle) const;
    // Marker 2 or 3; other numbers are ignored and read 0. Setting a marker raises nothing.
    void SetMarkerValue(int marker, double value);
    Q_INVOKABLE double markerValue(int marker) const;
    void SetMarkerVisible(int marker, bool visible);
    bool IsMarkerVisible(int marker) const;
    // What a completed drag of a shown marker to that value does: clamp, move, markerMoved.
    Q_INVOKABLE void moveMarkerAsUser(int marker, double value);

    // The marker the keys move.
    int SelectedMarker() const { return selected_; }
    bool IsDragging() const { return drag_.marker != GaugeGeometry::kNoMarker; }
    GaugeGeometry Geometry() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void markerMoved(int marker);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Marker {
        double value = 0.0;
        bool visible = true;
    };
    struct Drag {
        int marker = GaugeGeometry::kNoMarker;
        double grabOffset = 0.0;  // pixels from the pointer to the marker's line
        double startValue = 0.0;
    };

    // A marker's value kept within the scale, whichever way round it runs.
    double ClampToScale(double value) const;
    GaugeTextMetrics TextMetrics() const;
    Marker* FindMarker(int marker);
    const Marker* FindMarker(int marker) const;
    std::vector<GaugeMarkerState> MarkerStates() const;
    void SelectVisibleMarker();
    // Ends a drag; a marker that moved is reported, one put back is not.
    void FinishDrag(bool keep);
    void PaintScale(QPainter& painter, const GaugeGeometry& geometry, const QPalette& palette) const;
    void PaintPointers(QPainter& painter, const GaugeGeometry& geometry, const QPalette& palette) const;

    double minimum_ = 0.0;
    double maximum_ = 100.0;
    QString caption_;
    std::array<double, 2> needles_{};
    std::array<Marker, 2> markers_{};  // markers 2 and 3
    int selected_ = kHighMarker;
    Drag drag_;

    struct TextCache {
        bool valid = false;
        double minimum = 0.0;
        double maximum = 0.0;
        int height = 0;
        GaugeTextMetrics metrics;
    };
    mutable TextCache textCache_;
};

}  // namespace kestrum
