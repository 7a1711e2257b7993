#pragma once

#include <QWidget>

class QPushButton;
namespace Ui {
class GameMenu;
}

// The column of picture buttons over the idle game: Play, High score, Options, Credits, Help, Quit.
class GameMenu : public QWidget {
    Q_OBJECT
public:
    explicit GameMenu(QWidget* parent = nullptr);
    ~GameMenu() override;

    void resizeForScreen(int width, int height);
    void setButtonImages(QPushButton* button, int width);
    // The picture set used for a screen width.
    static int pictureWidth(int width);
    QPushButton* button(const QString& name) const;

signals:
    // The window shows the help and quits: the menu only asks.
    void helpRequested();
    void quitRequested();

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_play_clicked();
    void on_highscore_clicked();
    void on_options_clicked();
    void on_credits_clicked();
    void on_help_clicked();
    void on_quit_clicked();

private:
    Ui::GameMenu* ui;
};
