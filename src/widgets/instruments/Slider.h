#pragma once
// A value slider from 0 to 100, drawn by the style (vertical by default, as the heater
// and manual-control windows place them). valueChanged is raised only by the user's own
// moves: a drag, a click on the track (the handle jumps there), the keys and the wheel;
// setting the value from code raises nothing. mouseDown and mouseUp come in pairs: a
// press that ends any other way than by its release (lost grab, hide, disable, focus
// lost) still ends with mouseUp. A disabled slider does not move.
//
// Keys: Up/Right and Down/Left one unit, PageUp/PageDown ten, Home 0, End 100.

#include <QWidget>

#include "widgets/instruments/SliderGeometry.h"

class QStyleOptionSlider;

namespace kestrum {

class Slider : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double value READ Value WRITE SetValue)

public:
    explicit Slider(Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);

    double Value() const { return value_; }
    // From code: kept within 0..100, no signal.
    void SetValue(double value);
    // What a user's move to that value does: within 0..100, valueChanged when it changes.
    Q_INVOKABLE void moveAsUser(double value);

    // The left button is down on the slider.
    bool IsHeld() const { return held_; }
    // Where the style puts the handle for the current value.
    QRect HandleRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void valueChanged(double value);
    void mouseDown();
    void mouseUp();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void InitStyleOption(QStyleOptionSlider& option) const;
    SliderGeometry Geometry() const;
    double AlongAxis(const QPointF& point) const;
    void EndPress();

    Qt::Orientation orientation_;
    double value_ = 0.0;
    bool held_ = false;
    double grabOffset_ = 0.0;  // pixels from the handle's leading edge to the pointer
    int wheelRemainder_ = 0;   // eighths of a degree not yet a whole step
};

}  // namespace kestrum
