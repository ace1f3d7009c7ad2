#include "widgets/ClickableLabel.h"

#include <QMouseEvent>

namespace kestrum {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

// Taking the press makes the release come back here.
void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(event);
    event->accept();
    if (rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace kestrum
