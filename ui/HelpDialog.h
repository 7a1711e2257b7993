#pragma once

#include <QDialog>

namespace Ui {
class HelpDialog;
}

// The help picture with a Close button, in a window of its own.
class HelpDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int DesignedWidth = 640;
    static constexpr int DesignedHeight = 447;
    // Keeps the dialog clear of the screen's edges.
    static constexpr int ScreenMargin = 50;

    explicit HelpDialog(QWidget* parent = nullptr);
    ~HelpDialog() override;

    // The dialog's size on a screen: the designed size, shrunk to leave the margin, never enlarged.
    static QSize sizeForScreen(const QSize& screen);

protected:
    void changeEvent(QEvent* event) override;

private:
    Ui::HelpDialog* ui;
};
