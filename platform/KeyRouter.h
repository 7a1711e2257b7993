#pragma once

#include <QObject>

class QKeyEvent;
class SDL_QWidget;

// Application-wide filter that gives the game every key pressed in the game window, whoever has
// the focus there, and keeps keyboard and mouse from the overlays while the game grabs input.
class KeyRouter : public QObject {
    Q_OBJECT
public:
    // Installs the one router on the application (once).
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeyRouter(QObject* parent);
    bool routeKey(QWidget* receiver, QKeyEvent* event, SDL_QWidget* view);

    bool dispatching = false;
};
