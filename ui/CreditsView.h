#pragma once

#include <QWidget>

class QPropertyAnimation;
class QScrollBar;
namespace Ui {
class CreditsView;
}

// The credits document scrolling slowly upwards; any key or click ends it.
class CreditsView : public QWidget {
    Q_OBJECT
public:
    static constexpr int ScrollMs = 90000;
    static constexpr int ScrollStart = 100;

    explicit CreditsView(QWidget* parent = nullptr);
    ~CreditsView() override;

    void setCredits(const QString& html);
    // Stops the scroll without announcing the end (the game closes the screen itself).
    void stopScroll();
    QPropertyAnimation* animation() const { return scrollAnimation; }
    QWidget* textView() const;
    QScrollBar* scrollBar() const;

signals:
    void notifyFinished();

public slots:
    void movieFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void finish();

    Ui::CreditsView* ui;
    QPropertyAnimation* scrollAnimation = nullptr;
    bool finishPending = false;
};
