#pragma once

#include <QWidget>

namespace Ui {
class HighScoreLine;
}

// One row of the high-score table: place, name with a dotted leader, score.
class HighScoreLine : public QWidget {
    Q_OBJECT
public:
    // Names longer than this are cut on screen so that a hostile store cannot push the score away.
    static constexpr int MaxNameLength = 20;

    explicit HighScoreLine(QWidget* parent = nullptr);
    ~HighScoreLine() override;

    QString number() const;
    void setNumber(const QString& text);
    QString score() const;
    void setScore(const QString& text);
    QString player() const { return playerName; }
    void setPlayer(const QString& name);
    void setLineFont(const QFont& font);
    void startEditing();
    // Takes the name as typed so far (Return, a lost focus, or the table leaving); once only.
    void endEditing();
    // The text the name field shows (name, three spaces, dotted leader).
    QString playerFieldText() const;
    bool isEditing() const;

signals:
    void finishEditing();

public slots:
    void setFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void on_player_editingFinished();

private:
    void fillPlayerField();
    void fitNumber();

    // The place's least width in the form.
    static constexpr int NumberWidth = 48;

    Ui::HighScoreLine* ui;
    QString playerName;
};
