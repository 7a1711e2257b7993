#include "ui/MenuPushButton.h"

#include <QPainter>

MenuPushButton::MenuPushButton(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
}

MenuPushButton::MenuPushButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setFlat(true);
}

QPixmap MenuPushButton::face() const {
    const QIcon picture = icon();
    const QIcon::State state = isDown() ? QIcon::On : QIcon::Off;
    const QSize actual = picture.actualSize(size(), QIcon::Normal, state);
    return picture.pixmap(actual, QIcon::Normal, state);
}

void MenuPushButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    const QPixmap picture = face();
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(0, 0, width(), height()), picture);
    painter.end();
}
