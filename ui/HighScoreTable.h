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
    // The line under the table that says why a new score could not be kept; null while none failed.
    QLabel* saveFailureLine() const { return failureLine; }
    void showSaveFailure(const QString& message);
    // Saves the entry being typed, as it stands; nothing when there is none.
    void keepEntry();
    // Unhooks the entry so that tearing the table down saves nothing more.
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
    QLabel* failureLine = nullptr;
};
