#pragma once

#include <QGraphicsView>

class QGraphicsProxyWidget;
class SDL_QScene;

// The game view: shows the game's frames behind a scene of overlay widgets, and turns Qt input
// into the game's events and held keys.
class SDL_QWidget : public QGraphicsView {
    Q_OBJECT
public:
    explicit SDL_QWidget(QWidget* parent = nullptr);
    ~SDL_QWidget() override;

    SDL_QScene* sdlScene();
    // Adds an overlay widget to the scene; the caller places, scales, shows and hides the proxy.
    QGraphicsProxyWidget* addWidget(QWidget* widget);
    // On: keyboard and mouse reach the game only. Off: the overlays receive them too.
    void enableGrabbing(bool grab);
    bool isGrabbing() const;

    static SDL_QWidget* current();
};
