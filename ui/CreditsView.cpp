#include "ui/CreditsView.h"

#include "ui_CreditsView.h"

#include <QPropertyAnimation>
#include <QScrollBar>
#include <QTextFrame>
#include <QTimer>

CreditsView::CreditsView(QWidget* parent) : QWidget(parent), ui(new Ui::CreditsView) {
    ui->setupUi(this);
    QPalette own = palette();
    QPalette text = ui->credits->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        own.setBrush(group, QPalette::Window, Qt::NoBrush);
        text.setBrush(group, QPalette::Base, Qt::transparent);
        text.setBrush(group, QPalette::Text, Qt::white);
    }
    setPalette(own);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->credits->setPalette(text);
    QFont font = ui->credits->font();
    font.setPointSize(12);
    font.setWeight(QFont::Bold);
    ui->credits->setFont(font);
    // Keys and clicks belong to the view: any of them ends the credits.
    ui->credits->setFocusPolicy(Qt::NoFocus);
    ui->credits->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->credits->viewport()->setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::StrongFocus);
}

CreditsView::~CreditsView() {
    delete scrollAnimation;
    delete ui;
}

QWidget* CreditsView::textView() const {
    return ui->credits;
}

QScrollBar* CreditsView::scrollBar() const {
    return ui->credits->verticalScrollBar();
}

void CreditsView::setCredits(const QString& html) {
    ui->credits->setHtml(html);
    // The roll starts below the bottom edge, so that even a short document rises into view.
    QTextFrameFormat page = ui->credits->document()->rootFrame()->frameFormat();
    page.setTopMargin(height());
    ui->credits->document()->rootFrame()->setFrameFormat(page);
    if (scrollAnimation)
        return;
    if (QLayout* grid = layout())
        grid->activate();
    ui->credits->setFixedSize(static_cast<int>(0.7 * width()), ui->credits->height());
    QScrollBar* bar = ui->credits->verticalScrollBar();
    // The scroll range is known only once the document is laid out at the column's width.
    QTextDocument* document = ui->credits->document();
    document->setTextWidth(ui->credits->viewport()->width());
    const int documentEnd = static_cast<int>(document->size().height()) - ui->credits->viewport()->height();
    const int maximum = qMax(bar->maximum(), documentEnd);
    bar->setRange(0, qMax(0, maximum));
    scrollAnimation = new QPropertyAnimation(bar, "value");
    scrollAnimation->setDuration(ScrollMs);
    scrollAnimation->setStartValue(ScrollStart);
    scrollAnimation->setEndValue(bar->maximum() + 2 * height());
    connect(scrollAnimation, &QPropertyAnimation::finished, this, &CreditsView::movieFinished);
    scrollAnimation->start();
}

void CreditsView::stopScroll() {
    if (!scrollAnimation)
        return;
    // Called from the animation's own notifications too: let it finish returning first.
    scrollAnimation->disconnect(this);
    scrollAnimation->stop();
    scrollAnimation->deleteLater();
    scrollAnimation = nullptr;
}

void CreditsView::movieFinished() {
    finish();
}

void CreditsView::finish() {
    stopScroll();
    emit notifyFinished();
}

void CreditsView::mousePressEvent(QMouseEvent*) {
    finish();
}

void CreditsView::keyPressEvent(QKeyEvent*) {
    // The game hears of the same key: end the credits only after it has been handled as a credits
    // key, or it would start a game from the menu it brings back.
    stopScroll();
    if (finishPending)
        return;
    finishPending = true;
    QTimer::singleShot(0, this, [this] {
        finishPending = false;
        // Escape already closed the screen through the game.
        if (isVisible())
            emit notifyFinished();
    });
}
