#pragma once

#include <QPushButton>

// A flat menu button whose face is its icon's picture stretched over the whole button.
class MenuPushButton : public QPushButton {
    Q_OBJECT
public:
    explicit MenuPushButton(QWidget* parent = nullptr);
    MenuPushButton(const QString& text, QWidget* parent = nullptr);

    // The picture painted as the face: the "on" picture while the button is held down.
    QPixmap face() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
