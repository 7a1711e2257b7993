#pragma once

#include <QMainWindow>

class SDL_QWidget;

// Main window that hosts the game view. Its central SDL_QWidget is found by type once the
// derived window's form has been set up.
class SDL_QMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit SDL_QMainWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~SDL_QMainWindow() override;

    SDL_QWidget* getSDLWidget();
    void setHasCustomLayout(bool custom);

public slots:
    // Makes the game's event polling report a quit event.
    void quitSDL();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool customLayout = false;
};
