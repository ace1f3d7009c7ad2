#pragma once
// A round status lamp: value True (an alarm) lights it red, False (all well) green. A
// disabled lamp is absent: it draws nothing at all.

#include <QWidget>

namespace kestrum {

class Lamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool value READ Value WRITE SetValue)

public:
    explicit Lamp(QWidget* parent = nullptr);

    bool Value() const { return value_; }
    void SetValue(bool value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool value_ = false;
};

}  // namespace kestrum
