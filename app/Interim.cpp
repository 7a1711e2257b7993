// Interim stand-ins until the shell's window lands.
#include "app/GameWindow.h"

GameWindow::GameWindow(QWidget* parent) : SDL_QMainWindow(parent), ui(nullptr) {}
GameWindow::~GameWindow() = default;
GameWindow* GameWindow::theWindow() {
    return nullptr;
}
GameWindow* GameWindow::activeGameWindow() {
    return nullptr;
}
QString GameWindow::styleSheetText() {
    return {};
}
void GameWindow::showGameMenu() {}
void GameWindow::hideGameMenu() {}
void GameWindow::showHighScores() {}
void GameWindow::hideHighScores() {}
bool GameWindow::checkHighScore(int) {
    return false;
}
void GameWindow::showOptions() {}
void GameWindow::hideOptions() {}
void GameWindow::showAbout() {}
void GameWindow::showHelp() {}
void GameWindow::hideHelp() {}
void GameWindow::enableGrabbing(bool) {}
void GameWindow::showCredits() {}
void GameWindow::hideCredits() {}
void GameWindow::closeOverlays() {}
void GameWindow::resizeEvent(QResizeEvent* e) {
    SDL_QMainWindow::resizeEvent(e);
}
void GameWindow::changeEvent(QEvent* e) {
    SDL_QMainWindow::changeEvent(e);
}
void GameWindow::on_actionNew_Game_triggered() {}
void GameWindow::on_actionOptions_triggered() {}
void GameWindow::on_actionShow_High_Scores_triggered() {}
void GameWindow::on_actionQuit_triggered() {}
void GameWindow::on_actionOrbitrax_Help_triggered() {}
void GameWindow::on_actionProduct_Page_triggered() {}
void GameWindow::on_actionTorvik_Webpage_triggered() {}
void GameWindow::on_actionTorvik_Support_triggered() {}
void GameWindow::on_actionSend_Feedback_triggered() {}
void GameWindow::on_actionAbout_triggered() {}
