#pragma once

#include <QLabel>
#include <QList>

class HighScoreLine;
class QTimer;

// The ten best scores over a background picture; also where a new best score gets its name.
class HighScoreTable : public QLabel {
    Q_OBJECT
public:
    static constexpr int Rows = 10;

    explicit HighScoreTable(QWidget* parent = nullptr);
    ~HighScoreTable() override;

    void loadScores();
    void rebuildLayout();
    bool insertScore(int score);

    // The row font for a screen width.
    static QFont lineFontForWidth(int width);
    HighScoreLine* line(int index) const;
    HighScoreLine* newScoreLine() const { return newLine; }
    bool isEditing() const { return editing; }
    // Drops the unfinished entry so that tearing the table down saves nothing.
    void abandonEntry();

public slots:
    void playerNameEntered();
    void closeHighScore();
    void setFocus();
    void resizeForScreen(int width, int height);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QList<QWidget*> lines;
    HighScoreLine* newLine = nullptr;
    bool editing = false;
    QTimer* closeTimer = nullptr;
};
