#include "ui/GameMenu.h"

#include "core/Game.h"
#include "ui_GameMenu.h"

GameMenu::GameMenu(QWidget* parent) : QWidget(parent), ui(new Ui::GameMenu) {
    ui->setupUi(this);
    // Only the pictures show over the game: a proxy would otherwise paint the window colour behind them.
    setAttribute(Qt::WA_TranslucentBackground);
    move(50, 50);
}

GameMenu::~GameMenu() {
    delete ui;
}

int GameMenu::pictureWidth(int width) {
    switch (width) {
    case 640:
    case 800:
    case 1024:
    case 1280:
        return width;
    default:
        return 1280;
    }
}

void GameMenu::resizeForScreen(int width, int) {
    const int w = pictureWidth(width);
    for (QPushButton* b : {ui->play, ui->highscore, ui->options, ui->credits, ui->help, ui->quit})
        setButtonImages(b, w);
}

void GameMenu::setButtonImages(QPushButton* button, int width) {
    const QString name = button->objectName();
    const QString digits = QString::number(width);
    QIcon picture;
    picture.addPixmap(
        QPixmap(QStringLiteral(":/menu/") + name + QLatin1Char('_') + digits + QStringLiteral(".png")),
        QIcon::Normal, QIcon::Off);
    picture.addPixmap(
        QPixmap(QStringLiteral(":/menu/") + name + QStringLiteral("_on_") + digits + QStringLiteral(".png")),
        QIcon::Normal, QIcon::On);
    button->setIcon(picture);
}

QPushButton* GameMenu::button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

void GameMenu::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Form"));
        ui->help->setText(QString());
    }
}

void GameMenu::on_play_clicked() {
    if (Game* game = Game::instance())
        game->newGame();
}

void GameMenu::on_highscore_clicked() {
    if (Game* game = Game::instance())
        game->openHighScores();
}

void GameMenu::on_options_clicked() {
    if (Game* game = Game::instance())
        game->openOptions();
}

void GameMenu::on_credits_clicked() {
    if (Game* game = Game::instance())
        game->openCredits();
}

void GameMenu::on_help_clicked() {
    emit helpRequested();
}

void GameMenu::on_quit_clicked() {
    emit quitRequested();
}
