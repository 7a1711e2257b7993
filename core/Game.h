#pragma once

#include <QObject>

class World;
class GameShell;
class MyShip;

enum GameState : int { Menu = 0, Playing = 1, Credits = 2, Panel = 3 };

// Holds the game state; the one place where the game core and the Qt screens meet.
class Game : public QObject {
    Q_OBJECT
public:
    explicit Game(World* world);
    ~Game() override;

    static Game* instance();

    void prepareScene();
    void newGame();
    void openOptions();
    void openHighScores();
    void openCredits();
    bool checkHighScore(int score);
    void returnToMenu();
    void showMenuIfIdle();
    // Rebuilds the engine and the world for the stored screen mode; false when the view could not take it.
    bool reinitialise();

    // The application's game window, whether or not it has the focus; null without one.
    static GameShell* window();

    // Handles one key-down event of the frame loop.
    void keyDown(int key);
    // The window gained (1) or lost (0) the focus, was minimised (0), or the pad in use went away (0):
    // a game in play pauses until P or C.
    void activeChanged(int gain);
    // Reads the held keys once per frame after polling; returns true when the loop must quit.
    bool handleHeldKeys(bool keyEvent);

    // Left null by the game itself. The measuring build sets it to put a new game at a given
    // score and weapon level, so frame rates can be read at the densities of a long game.
    static void (*newGameHook)(World* world, MyShip* ship);

    World* world;
    GameState state = Menu;
    int cheatCounter = 0;
    // The key that started a scene from the menu in this frame; the held-key pass reads it once.
    int sceneKey = 0;

public slots:
    void highscoreClosed();
    void optionsClosed();
    void creditsFinished();
};

// The whole run of the game: returns 0 when the user quits.
int runGame(int argc, char** argv);
// One iteration of the frame loop (update, events, keys, render, frame rate); false once quit.
bool runFrame(Game* game);
