#pragma once

class Game;

// The window operations the game needs from the application's window, which implements them. The game
// reaches the window only through this, so the game's code does not depend on the window's.
class GameShell {
public:
    // The window the game is shown in (the active one when there are several); null without one.
    static GameShell* current();
    // The application tells where its windows are found.
    static void setLocator(GameShell* (*locate)());

    // A new game state machine: the window connects its screens' closing to it.
    virtual void attachGame(Game* game) = 0;
    virtual void showGameMenu() = 0;
    virtual void hideGameMenu() = 0;
    virtual void showHighScores() = 0;
    // Shows the table asking for a name when score earns a place; false when it does not.
    virtual bool checkHighScore(int score) = 0;
    virtual void showOptions() = 0;
    virtual void showCredits() = 0;
    virtual void hideCredits() = 0;
    // Escape on a screen: closes whatever shows, as its own Close would.
    virtual void closeOverlays() = 0;
    // The window's size in the window mode (a full-screen window ignores it until it leaves).
    virtual void setWindowSize(int width, int height) = 0;

protected:
    ~GameShell() = default;
};
