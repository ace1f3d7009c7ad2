#pragma once
// A check box whose text wraps onto further lines instead of widening the window.

#include <QCheckBox>

namespace kestrum {

class WrappingCheckBox final : public QCheckBox {
    Q_OBJECT
public:
    WrappingCheckBox(const QString& text, QWidget* parent);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent* event) override;

private:
    QSize IndicatorSize() const;
    int Spacing() const;
    int TextWidth(int width) const;
};

}  // namespace kestrum
