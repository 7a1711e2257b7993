#pragma once

#include "core/GameShell.h"
#include "platform/SDL_QMainWindow.h"

#include <QSize>

class QGraphicsProxyWidget;
class HighScoreTable;
class HelpDialog;
class CreditsView;
namespace Ui {
class GameWindow;
}

// The main window: hosts the game view and shows the front-end screens over it.
class GameWindow : public SDL_QMainWindow, public GameShell {
    Q_OBJECT
public:
    explicit GameWindow(QWidget* parent = nullptr);
    ~GameWindow() override;

    // The application's one game window (null before it exists or after it is gone).
    static GameWindow* theWindow();
    // The active window when it is a GameWindow, else the application's one game window.
    static GameWindow* activeGameWindow();

    static QString styleSheetText();
    QGraphicsProxyWidget* optionsProxyWidget() const { return optionsProxy; }
    QGraphicsProxyWidget* menuProxyWidget() const { return menuProxy; }
    HighScoreTable* highScoreTableWidget() const { return highScoreTable; }
    QGraphicsProxyWidget* creditsProxyWidget() const { return creditsProxy; }
    CreditsView* creditsViewWidget() const { return creditsView; }
    HelpDialog* helpDialogWidget() const { return helpDialog; }

    // The game's window operations.
    void attachGame(Game* game) override;
    void setWindowSize(int width, int height) override;

signals:
    void highScoreTableClosed();
    void optionsClosed();

public slots:
    void showGameMenu() override;
    void hideGameMenu() override;
    void showHighScores() override;
    void hideHighScores();
    bool checkHighScore(int score) override;
    void showOptions() override;
    void hideOptions();
    void showAbout();
    void showHelp();
    void hideHelp();
    void enableGrabbing(bool grab);
    void showCredits() override;
    void hideCredits() override;
    // Escape in the Panel or Credits state: closes whatever screen shows, as its own Close would,
    // without emitting the closing signals; a name being typed is kept as it stands.
    void closeOverlays() override;
    // F11 and Alt+Enter: full screen and the stored window size swap at once, stored as the options store it.
    void toggleFullScreen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    // The options panel changed the window's size or screen mode.
    void optionsResized(QSize size);
    void optionsChangedMode();

    void on_actionNew_Game_triggered();
    void on_actionOptions_triggered();
    void on_actionShow_High_Scores_triggered();
    void on_actionQuit_triggered();
    void on_actionOrbitrax_Help_triggered();
    void on_actionProduct_Page_triggered();
    void on_actionTorvik_Webpage_triggered();
    void on_actionTorvik_Support_triggered();
    void on_actionSend_Feedback_triggered();
    void on_actionAbout_triggered();

private:
    void centreOptions();
    Ui::GameWindow* ui;
    QGraphicsProxyWidget* menuProxy = nullptr;
    HighScoreTable* highScoreTable = nullptr;
    QGraphicsProxyWidget* optionsProxy = nullptr;
    HelpDialog* helpDialog = nullptr;
    QGraphicsProxyWidget* creditsProxy = nullptr;
    CreditsView* creditsView = nullptr;
};
