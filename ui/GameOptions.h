#pragma once

#include <QFrame>
#include <QSize>

#include <vector>

namespace Ui {
class GameOptions;
}
class QComboBox;

// The panel of graphic options: every choice is written to the Engine, saved and applied at once.
class GameOptions : public QFrame {
    Q_OBJECT
public:
    explicit GameOptions(QWidget* parent = nullptr);
    ~GameOptions() override;

    // Fills the resolution box from the platform's full-screen modes; -1 without a list.
    int fillResolutions(int width, int height);
    // The same from a given mode list (null: no list).
    int fillResolutions(int width, int height, const std::vector<QSize>* modes);
    // The anisotropy box index of a level: log2 of the level, kept within the box.
    static int anisotropyIndex(int level);
    QComboBox* box(const QString& name) const;
    // Shows the Engine's current choices (the screen mode may have changed by a key meanwhile).
    void selectFromEngine();

signals:
    // The window follows a new size or screen mode and takes the panel away on Close.
    void windowSizeChanged(QSize size);
    void screenModeChanged();
    void closeRequested();

protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void on_texturefilter_activated(int index);
    void on_anisotropicFiltering_activated(int index);
    void on_renderScale_activated(int index);
    void on_shadows_activated(int index);
    void on_detailsLevel_activated(int index);
    void on_resolution_activated(int index);
    void on_fullscreen_activated(int index);
    void on_forceFeedback_activated(int index);
    void on_musicVolume_valueChanged(int value);
    void on_effectsVolume_valueChanged(int value);
    void on_musicVolume_sliderReleased();
    void on_effectsVolume_sliderReleased();
    void on_pushButton_clicked();

private:
    // Stores and applies a screen mode; one the view cannot take puts the previous one back (false).
    bool changeMode(QSize size, bool fullScreen);
    void volumeChanged(int* volume, int value, bool dragging);

    Ui::GameOptions* ui;
};
