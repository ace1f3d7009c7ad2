#include "widgets/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace kestrum {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
}

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    // Grows downwards: the layout asks heightForWidth for the width it gives.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrappingCheckBox::heightForWidth(int width) const {
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, TextWidth(width), 0), kTextFlags, this->text());
    return std::max(text.height(), IndicatorSize().height());
}

QSize WrappingCheckBox::sizeHint() const {
    const int width = IndicatorSize().width() + Spacing() + fontMetrics().horizontalAdvance(text());
    return {width, heightForWidth(width)};
}

QSize WrappingCheckBox::minimumSizeHint() const {
    const int width = IndicatorSize().width() + Spacing() + fontMetrics().averageCharWidth() * 12;
    return {width, heightForWidth(width)};
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize indicator = IndicatorSize();
    const int lineHeight = fontMetrics().height();
    option.rect = QRect(QPoint(0, std::max(0, (lineHeight - indicator.height()) / 2)), indicator);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);

    const QRect textRect(indicator.width() + Spacing(), 0, TextWidth(width()), height());
    painter.drawItemText(textRect, kTextFlags, palette(), isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(textRect, kTextFlags, text());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

QSize WrappingCheckBox::IndicatorSize() const {
    return {style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this),
            style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this)};
}

int WrappingCheckBox::Spacing() const {
    return style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

int WrappingCheckBox::TextWidth(int width) const {
    return std::max(1, width - IndicatorSize().width() - Spacing());
}

}  // namespace kestrum
