#pragma once

#include "platform/SdlCompat.h"

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

    // The newest live view: the one the game draws into and takes its keys from.
    static SDL_QWidget* current();

    // A raster viewport for read-back frames, a GL one for blitted frames.
    void configureViewport(sdlq::Present present);
    // True when a text field inside an overlay holds the keyboard focus.
    bool textFieldHasFocus() const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUpViewport();

    bool grabbing = true;
    bool usesGlViewport = false;
};
