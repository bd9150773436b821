#include "app/MainWidgets.h"

#include <QChildEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace kestrova::app {

LedIndicator::LedIndicator(QWidget* parent) : QWidget(parent) {}

void LedIndicator::setColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void LedIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(rect()).adjusted(2, 2, -2, -2);
    QRadialGradient shine(circle.center() - QPointF(circle.width() / 5, circle.height() / 5),
                          circle.width() / 1.4);
    shine.setColorAt(0, colour_.lighter(170));
    shine.setColorAt(1, colour_.darker(115));
    painter.setPen(QPen(QColor(60, 60, 60), 1.2));
    painter.setBrush(shine);
    painter.drawEllipse(circle);
}

PictureButton::PictureButton(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::childEvent(QChildEvent* event) {
    // The caption lies on the picture; the mouse belongs to the button.
    if (event->added() && event->child()->isWidgetType())
        static_cast<QWidget*>(event->child())->setAttribute(Qt::WA_TransparentForMouseEvents);
    QWidget::childEvent(event);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient face(box.topLeft(), box.bottomLeft());
    const QColor top = pressed_ ? QColor(40, 80, 150) : QColor(120, 170, 230);
    const QColor bottom = pressed_ ? QColor(90, 140, 210) : QColor(30, 70, 140);
    face.setColorAt(0, top);
    face.setColorAt(1, bottom);
    painter.setPen(QPen(QColor(20, 40, 80), 1.5));
    painter.setBrush(face);
    painter.drawRoundedRect(box, 8, 8);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    update();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    update();
    emit clicked();
}

} // namespace kestrova::app
