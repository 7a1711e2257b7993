#include "platform/SDL_QScene.h"

SDL_QScene::SDL_QScene(QObject* parent) : QGraphicsScene(parent) {
    // A handful of overlays that move and hide: no spatial index needed.
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void SDL_QScene::setFormat(const QSurfaceFormat& format) {
    surfaceFormat = format;
}

QSurfaceFormat SDL_QScene::format() const {
    return surfaceFormat;
}
