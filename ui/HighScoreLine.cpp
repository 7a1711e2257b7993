#include "ui/HighScoreLine.h"

#include "ui_HighScoreLine.h"

#include <QFontMetrics>

HighScoreLine::HighScoreLine(QWidget* parent) : QWidget(parent), ui(new Ui::HighScoreLine) {
    ui->setupUi(this);
    ui->player->setEnabled(false);
    // The field shows the screen behind it.
    QPalette palette = ui->player->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setBrush(group, ui->player->backgroundRole(), QBrush(Qt::transparent));
    ui->player->setPalette(palette);
}

HighScoreLine::~HighScoreLine() {
    // A field torn down while it holds the focus must not report a finished name any more.
    ui->player->blockSignals(true);
    ui->player->releaseKeyboard();
    delete ui;
}

QString HighScoreLine::number() const {
    return ui->lineNumber->text();
}

void HighScoreLine::setNumber(const QString& text) {
    ui->lineNumber->setText(text);
    fitNumber();
}

QString HighScoreLine::score() const {
    return ui->score->text();
}

void HighScoreLine::setScore(const QString& text) {
    ui->score->setText(text);
}

void HighScoreLine::setPlayer(const QString& name) {
    playerName = name;
    fillPlayerField();
}

void HighScoreLine::setLineFont(const QFont& font) {
    ui->lineNumber->setFont(font);
    ui->player->setFont(font);
    ui->score->setFont(font);
    // As tall as the face with its descenders, and no taller where a small window needs small rows.
    const int height = QFontMetrics(font).height();
    for (QWidget* part : {static_cast<QWidget*>(ui->lineNumber), static_cast<QWidget*>(ui->player),
                          static_cast<QWidget*>(ui->score)})
        part->setMinimumHeight(height);
    fitNumber();
    // The table measures the row at once, before the layout would notice by itself.
    layout()->invalidate();
    updateGeometry();
    if (!ui->player->isEnabled())
        fillPlayerField();
}

void HighScoreLine::startEditing() {
    ui->player->setEnabled(true);
    ui->player->setMaxLength(MaxNameLength);
    ui->player->setFocusPolicy(Qt::StrongFocus);
    ui->player->selectAll();
    ui->player->grabKeyboard();
}

QString HighScoreLine::playerFieldText() const {
    return ui->player->text();
}

bool HighScoreLine::isEditing() const {
    return ui->player->isEnabled();
}

void HighScoreLine::setFocus() {
    ui->player->setFocus(Qt::OtherFocusReason);
}

void HighScoreLine::on_player_editingFinished() {
    endEditing();
}

void HighScoreLine::endEditing() {
    // Return and the focus loss that follows both finish the entry; only the first counts.
    if (!ui->player->isEnabled())
        return;
    ui->player->releaseKeyboard();
    ui->player->setEnabled(false);
    ui->player->setMaxLength(32767);
    playerName = ui->player->text();
    fillPlayerField();
    emit finishEditing();
}

void HighScoreLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!ui->player->isEnabled())
        fillPlayerField();
}

void HighScoreLine::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        // The form's texts are placeholders: keep the row's own values over a retranslation.
        const QString place = number();
        const QString points = score();
        const QString typed = ui->player->text();
        ui->retranslateUi(this);
        setNumber(place);
        setScore(points);
        if (ui->player->isEnabled())
            ui->player->setText(typed);
        else
            fillPlayerField();
    }
}

// The form's least width for the place is too narrow for "10" in the larger faces: never cut a digit, and
// keep the places of one table in one column.
void HighScoreLine::fitNumber() {
    const QFontMetrics metrics(ui->lineNumber->font());
    const int text =
        qMax(metrics.horizontalAdvance(QStringLiteral("10")), metrics.horizontalAdvance(number()));
    ui->lineNumber->setMinimumWidth(qMax(NumberWidth, text));
}

// The name, three spaces and a leader of dots (space, dot, space...) up to the field's width.
void HighScoreLine::fillPlayerField() {
    const QString shown = playerName.left(MaxNameLength);
    const QFontMetrics metrics(ui->player->font());
    const int dot = metrics.horizontalAdvance(QLatin1Char('.'));
    const int used = metrics.horizontalAdvance(shown + QStringLiteral("    "));
    const int n = dot > 0 ? (ui->player->width() - used) / dot : 0;
    QString leader;
    for (int k = 0; k < n; ++k)
        leader += k % 3 == 1 ? QLatin1Char('.') : QLatin1Char(' ');
    ui->player->setText(shown + QStringLiteral("   ") + leader);
    // Show the name, not the end of the leader.
    ui->player->setCursorPosition(0);
}
