#include "ui/HighScoreTable.h"

#include "app/GameWindow.h"
#include "platform/QtSingleApplication.h"
#include "ui/HighScoreLine.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr const char* DefaultNames =
    "Aurel,Bastien,Corin,Delphine,NightRacer,Hollin,Marisol,Fenrik,Torvik,Quillon";
constexpr int TopScore = 30000;
constexpr int ScoreStep = 3000;
constexpr int ScoreSpread = 2000;
constexpr int CloseDelayMs = 3000;
// The smallest face the rows shrink to in a small window.
constexpr int MinRowPoints = 6;
// Stored place numbers and scores are shown as stored, but only this many characters of them.
constexpr int MaxNumberLength = 4;
constexpr int MaxScoreLength = 12;

QString storedText(QSettings* s, const char* key, const QString& fallback) {
    return s->contains(key) ? s->value(key).toString() : fallback;
}

} // namespace

HighScoreTable::HighScoreTable(QWidget* parent) : QLabel(parent) {
    loadScores();
    rebuildLayout();
    setPixmap(QPixmap(QStringLiteral(":/productinfo/iss.jpg")));
    setFocusPolicy(Qt::StrongFocus);
    setScaledContents(true);
}

HighScoreTable::~HighScoreTable() {
    abandonEntry();
}

void HighScoreTable::keepEntry() {
    if (newLine && newLine->isEditing())
        newLine->endEditing();
}

void HighScoreTable::abandonEntry() {
    if (newLine)
        disconnect(newLine, nullptr, this, nullptr);
    if (closeTimer)
        closeTimer->stop();
}

void HighScoreTable::loadScores() {
    const QStringList names = QString::fromLatin1(DefaultNames).split(QLatin1Char(','), Qt::KeepEmptyParts);
    QSettings* s = tvt::QtSingleApplication::appSettings();
    // Only the first ten entries count, whatever size the store records.
    s->beginReadArray(QStringLiteral("HighScores"));
    for (int i = 0; i < Rows; ++i) {
        s->setArrayIndex(i);
        auto* row = new HighScoreLine();
        const int r = static_cast<int>(QRandomGenerator::global()->bounded(1 << 30));
        row->setNumber(storedText(s, "number", QString::number(i + 1)).left(MaxNumberLength));
        row->setPlayer(storedText(s, "player", names.value(i)));
        const int fallbackScore = TopScore - ScoreStep * i + r % ScoreSpread;
        row->setScore(storedText(s, "score", QString::number(fallbackScore)).left(MaxScoreLength));
        lines.append(row);
    }
    s->endArray();

    auto* closeRow = new QWidget();
    auto* closeLayout = new QHBoxLayout(closeRow);
    auto* close = new QPushButton(tr("Close"), closeRow);
    close->setFlat(false);
    closeLayout->addWidget(close);
    closeLayout->addStretch();
    connect(close, &QPushButton::clicked, this, &HighScoreTable::closeHighScore);
    lines.append(closeRow);
}

void HighScoreTable::rebuildLayout() {
    delete layout();
    auto* box = new QVBoxLayout();
    for (QWidget* item : lines)
        box->addWidget(item);
    if (failureLine)
        box->addWidget(failureLine);
    box->addStretch();
    setLayout(box);
}

HighScoreLine* HighScoreTable::line(int index) const {
    return index >= 0 && index < lines.size() ? qobject_cast<HighScoreLine*>(lines.at(index)) : nullptr;
}

bool HighScoreTable::insertScore(int score) {
    newLine = nullptr;
    int at = -1;
    for (int i = 0; i < Rows && i < lines.size(); ++i) {
        auto* row = qobject_cast<HighScoreLine*>(lines.at(i));
        if (!row)
            continue;
        bool ok = false;
        const int stored = row->score().toInt(&ok);
        // A stored text that is not a number counts as 0; an equal score goes above.
        if ((ok ? stored : 0) <= score) {
            newLine = new HighScoreLine();
            newLine->setNumber(row->number());
            newLine->setScore(QString::number(score));
            lines.insert(i, newLine);
            at = i;
            break;
        }
    }
    if (!newLine)
        return false;

    editing = true;
    setFocusPolicy(Qt::NoFocus);
    for (int p = at + 1; p < Rows; ++p)
        if (HighScoreLine* row = line(p))
            row->setNumber(QString::number(p + 1));
    delete lines.takeAt(Rows);
    rebuildLayout();
    connect(newLine, &HighScoreLine::finishEditing, this, &HighScoreTable::playerNameEntered);
    newLine->startEditing();
    return true;
}

void HighScoreTable::playerNameEntered() {
    QSettings* s = tvt::QtSingleApplication::appSettings();
    // Rewrite the whole array so that stale entries beyond the tenth go away.
    s->remove(QStringLiteral("HighScores"));
    s->beginWriteArray(QStringLiteral("HighScores"));
    for (int i = 0; i < Rows; ++i) {
        s->setArrayIndex(i);
        if (HighScoreLine* row = line(i)) {
            s->setValue("number", row->number());
            s->setValue("player", row->player());
            s->setValue("score", row->score());
        }
    }
    s->endArray();
    // The new best score is on disk before the table can close; when it cannot be, the player reads why
    // under the table, which then stays until closed.
    const QString failure = tvt::QtSingleApplication::syncSettings();
    if (!failure.isEmpty())
        showSaveFailure(failure);
    if (closeTimer || !failure.isEmpty())
        return;
    closeTimer = new QTimer(this);
    closeTimer->setSingleShot(true);
    connect(closeTimer, &QTimer::timeout, this, &HighScoreTable::closeHighScore);
    closeTimer->start(CloseDelayMs);
}

void HighScoreTable::showSaveFailure(const QString& message) {
    if (!failureLine) {
        failureLine = new QLabel(this);
        failureLine->setWordWrap(true);
        // A sheet, since the window's style sheet would take a palette's colour back.
        failureLine->setStyleSheet(QStringLiteral("color: rgb(255, 72, 48);"));
    }
    failureLine->setText(message);
    rebuildLayout();
    resizeForScreen(width(), height());
}

void HighScoreTable::closeHighScore() {
    GameWindow* window = qobject_cast<GameWindow*>(this->window());
    if (!window)
        window = GameWindow::activeGameWindow();
    if (window)
        window->hideHighScores();
}

void HighScoreTable::setFocus() {
    if (newLine)
        newLine->setFocus();
    else
        QLabel::setFocus(Qt::OtherFocusReason);
}

QFont HighScoreTable::lineFontForWidth(int width) {
    int points;
    switch (width) {
    case 640:
        points = 24;
        break;
    case 800:
        points = 28;
        break;
    case 1024:
        points = 30;
        break;
    case 1280:
        points = 32;
        break;
    default:
        points = static_cast<int>(0.028125 * width);
    }
    QFont font(QStringLiteral("Arial Black"));
    // Heavy as the face is meant to be, also where a bold face stands in for it.
    font.setBold(true);
    // A degenerate width still gives a font that can be drawn.
    font.setPointSize(points > 0 ? points : 1);
    return font;
}

void HighScoreTable::resizeForScreen(int width, int height) {
    QFont font = lineFontForWidth(width);
    // The designed face where the rows and Close fit the window, a smaller one where they do not.
    for (;;) {
        for (int i = 0; i < Rows; ++i)
            if (HighScoreLine* row = line(i))
                row->setLineFont(font);
        layout()->invalidate();
        const QSize least = layout()->minimumSize();
        if (font.pointSize() <= MinRowPoints || (least.width() <= width && least.height() <= height))
            break;
        font.setPointSize(font.pointSize() - 1);
    }
}

void HighScoreTable::keyPressEvent(QKeyEvent* event) {
    if (editing) {
        QLabel::keyPressEvent(event);
        return;
    }
    // The game hears of the same key: close once it has been handled as a key of this screen,
    // or it would start a game from the menu the closing brings back.
    QTimer::singleShot(0, this, &HighScoreTable::closeHighScore);
}
