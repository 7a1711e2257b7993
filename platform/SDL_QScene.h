#pragma once

#include <QGraphicsScene>
#include <QSurfaceFormat>

// Scene of the game view: overlay widgets added to it float over the game's picture.
class SDL_QScene : public QGraphicsScene {
    Q_OBJECT
public:
    explicit SDL_QScene(QObject* parent = nullptr);

    void setFormat(const QSurfaceFormat& format);
    QSurfaceFormat format() const;

private:
    QSurfaceFormat surfaceFormat;
};
