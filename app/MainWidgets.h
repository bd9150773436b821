// The main window's two drawn controls: the round indicator Led and the large picture buttons
// (a caption label on a picture, with a second, "pressed" picture while the mouse is down).
// The pictures are drawn, not loaded, so no file of the installation can be missing. Qt
// Widgets.
#pragma once

#include <QColor>
#include <QWidget>

namespace kestrova::app {

class LedIndicator : public QWidget {
    Q_OBJECT
public:
    explicit LedIndicator(QWidget* parent = nullptr);
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Qt::red;
};

class PictureButton : public QWidget {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);
    bool pressedShowing() const { return pressed_; }

signals:
    // The mouse was released while the pressed picture showed.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace kestrova::app
