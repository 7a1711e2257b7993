// The front-end screens on their own: options, high scores, menu, credits and help.
#include "QtHarness.h"

#include "core/Engine.h"
#include "ui/CreditsView.h"
#include "ui/GameMenu.h"
#include "ui/GameOptions.h"
#include "ui/HelpDialog.h"
#include "ui/HighScoreLine.h"
#include "ui/HighScoreTable.h"
#include "ui/MenuPushButton.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A clean store for each test, and an Engine for the options.
class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        store()->clear();
        engine = Engine::createHeadless();
    }
    static int stored(const char* key) { return store()->value(key, -1).toInt(); }
    // What a player's pick does: the box's activated signal.
    static void pick(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    Engine* engine = nullptr;
};

TEST_F(Screens, ResolutionsFromEightHundredByWidthWithTheCurrentOneSelected) {
    const std::vector<QSize> falling = {{1280, 1024}, {1280, 960}, {1024, 768}, {800, 600},
                                        {799, 600},   {799, 599},  {640, 480}};
    const std::vector<QSize> rising = {{800, 600},   {1280, 960},  {1024, 768},
                                       {1280, 1024}, {1600, 1200}, {800, 599}};
    const std::tuple<const std::vector<QSize>*, QSize, const char*, int> cases[] = {
        {&falling, {1024, 768}, "799 x 600,800 x 600,1024 x 768,1280 x 960,1280 x 1024", 2},
        {&rising, {1600, 1200}, "800 x 599,800 x 600,1024 x 768,1280 x 960,1280 x 1024,1600 x 1200", 5},
        {&falling, {640, 480}, "799 x 600,800 x 600,1024 x 768,1280 x 960,1280 x 1024", -1},
        {nullptr, {1024, 768}, "", -1}};
    GameOptions panel;
    QComboBox* box = panel.box("resolution");
    for (const auto& [modes, current, shown, selected] : cases) {
        EXPECT_EQ(panel.fillResolutions(current.width(), current.height(), modes), modes ? 0 : -1);
        QStringList texts;
        for (int k = 0; k < box->count(); ++k)
            texts << box->itemText(k);
        EXPECT_EQ(texts.join(',') + " " + QString::number(box->currentIndex()),
                  QString("%1 %2").arg(shown).arg(selected));
    }
    emit box->activated(0);
    EXPECT_EQ(engine->screenWidth, 1024) << "an empty box: picking nothing changes nothing";
}

TEST_F(Screens, OptionBoxesShowTheEngineWithoutSavingIt) {
    // anisotropy, details, texture filter, full screen, shadows, force feedback
    const std::tuple<int, int, int, bool, bool, int, const char*> cases[] = {
        {8, 1, 0, false, true, 0, "8 Medium Basic Mipmap Off On Off"},
        {2, 2, 2, true, false, 1, "2 High Trilinear On Off On"},
        {0, 3, -1, true, false, 1, "1 High Basic Mipmap On Off On"}};
    for (const auto& c : cases) {
        std::tie(engine->anisotropic, engine->details, engine->textureFilter, engine->fullScreen,
                 engine->shadows, engine->forceFeedback, std::ignore) = c;
        GameOptions panel;
        QStringList shown;
        for (const char* name : {"anisotropicFiltering", "detailsLevel", "texturefilter", "fullscreen",
                                 "shadows", "forceFeedback"})
            shown << panel.box(name)->currentText();
        EXPECT_EQ(shown.join(' '), std::get<6>(c));
    }
    EXPECT_TRUE(store()->allKeys().isEmpty());
    const int levels[][2] = {{-3, 0}, {0, 0}, {1, 0}, {2, 1},  {3, 1},
                             {4, 2},  {7, 2}, {8, 3}, {16, 3}, {1 << 30, 3}};
    for (const auto& [level, index] : levels)
        EXPECT_EQ(GameOptions::anisotropyIndex(level), index) << level;
}

TEST_F(Screens, EachOptionPickedIsSavedAtOnceButForceFeedbackWithTheNext) {
    GameOptions panel;
    const std::vector<QSize> modes = {{1280, 1024}, {1024, 768}, {800, 600}};
    panel.fillResolutions(1024, 768, &modes);
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"shadows", 1, "Graphic/Shadows", 0},
        {"shadows", 0, "Graphic/Shadows", 1},
        {"texturefilter", 1, "Graphic/Filter", 1},
        {"anisotropicFiltering", 1, "Graphic/Anisotropic", 2},
        {"anisotropicFiltering", 3, "Graphic/Anisotropic", 8},
        {"detailsLevel", 0, "Graphic/Details", 0},
        {"fullscreen", 0, "Graphic/FullScreen", 1},
        {"fullscreen", 1, "Graphic/FullScreen", 0},
        {"resolution", 0, "Graphic/Width", 800},
        {"resolution", 2, "Graphic/Height", 1024},
        {"forceFeedback", 1, "general/ForceFeedback", 1},
        {"detailsLevel", 2, "general/ForceFeedback", 0}};
    for (const auto& [box, index, key, value] : cases) {
        pick(panel.box(box), index);
        EXPECT_EQ(stored(key), value) << box << " " << index;
    }
}

// Ten rows: P0 10000, P1 9000 ... P9 1000.
void storeTen() {
    for (int i = 0; i < 10; ++i) {
        store()->setValue(QString("HighScores/%1/number").arg(i + 1), i + 1);
        store()->setValue(QString("HighScores/%1/player").arg(i + 1), QString("P%1").arg(i));
        store()->setValue(QString("HighScores/%1/score").arg(i + 1), 10000 - 1000 * i);
    }
    store()->setValue("HighScores/size", 10);
}

QLineEdit* nameField(HighScoreLine* line) {
    return line->findChild<QLineEdit*>("player");
}

TEST_F(Screens, EmptyTableShowsTheDefaultsAndWritesNothing) {
    const char* names[] = {"Aurel",  "Bastien", "Corin",  "Delphine", "NightRacer",
                           "Hollin", "Marisol", "Fenrik", "Torvik",   "Quillon"};
    for (int round = 0; round < 20; ++round) {
        HighScoreTable table;
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(table.line(i)->number() == QString::number(i + 1) &&
                        table.line(i)->player() == names[i]);
            EXPECT_TRUE(i == 0 || table.line(i)->score().toInt() < table.line(i - 1)->score().toInt());
        }
        const int first = table.line(0)->score().toInt(), last = table.line(9)->score().toInt();
        EXPECT_TRUE(first >= 30000 && first <= 31999 && last >= 3000 && last <= 4999) << first << " " << last;
        EXPECT_TRUE(table.line(10) == nullptr && table.findChild<QPushButton*>());
    }
    EXPECT_TRUE(store()->allKeys().isEmpty());
}

TEST_F(Screens, NewScoreTakesItsPlaceAboveAnEqualOneAndTheTenthDrops) {
    const int cases[][2] = {{99999, 0}, {10000, 0}, {9999, 1}, {6000, 4}, {1001, 9}, {1000, 9}, {999, -1}};
    for (const auto& [score, row] : cases) {
        SCOPED_TRACE(score);
        storeTen();
        HighScoreTable table;
        ASSERT_EQ(table.insertScore(score), row >= 0);
        EXPECT_TRUE(table.isEditing() == (row >= 0) && table.line(10) == nullptr);
        EXPECT_EQ(table.line(9)->player(), row < 0 ? "P9" : row < 9 ? "P8" : "");
        if (row < 0) {
            EXPECT_EQ(table.newScoreLine(), nullptr);
            continue;
        }
        HighScoreLine* added = table.newScoreLine();
        ASSERT_EQ(table.line(row), added);
        for (int p = row; p < 10; ++p)
            EXPECT_EQ(table.line(p)->number(), QString::number(p + 1));
        EXPECT_TRUE(added->score() == QString::number(score) && added->isEditing() &&
                    table.focusPolicy() == Qt::NoFocus);
        EXPECT_EQ(nameField(added)->selectedText(), "Player 1");
        EXPECT_EQ(table.layout()->count(), 12) << "ten rows, the close row and the stretch";
    }
}

TEST_F(Screens, ConfirmedNameIsSavedAtOnceAndTheTableClosesLater) {
    storeTen();
    HighScoreTable table;
    table.resize(1280, 1024);
    table.show();
    ASSERT_TRUE(table.insertScore(8500));
    QCoreApplication::processEvents();
    QLineEdit* field = nameField(table.newScoreLine());
    field->setText("Ada");
    sendKey(field, Qt::Key_Return, QEvent::KeyPress, "\r");
    emit field->editingFinished(); // the focus loss after Return changes nothing
    QSettings disk("Torvik", "Torvik Orbitrax");
    QStringList rows;
    for (int i : {1, 2, 3, 4, 10, 11})
        rows << disk.value(QString("HighScores/%1/number").arg(i)).toString() + " " +
                    disk.value(QString("HighScores/%1/player").arg(i)).toString() + " " +
                    disk.value(QString("HighScores/%1/score").arg(i)).toString();
    EXPECT_EQ(rows.join(','), "1 P0 10000,2 P1 9000,3 Ada 8500,4 P2 8000,10 P8 2000,  ");
    const auto timers = table.findChildren<QTimer*>();
    ASSERT_EQ(timers.size(), 1);
    EXPECT_TRUE(timers[0]->isActive() && timers[0]->isSingleShot() && timers[0]->interval() == 3000);
    EXPECT_TRUE(!table.newScoreLine()->isEditing() && table.newScoreLine()->player() == "Ada");
    EXPECT_TRUE(field->text().startsWith("Ada   ") && field->text().count('.') > 5)
        << field->text().toStdString();
    EXPECT_EQ(field->cursorPosition(), 0);
}

TEST_F(Screens, DottedLeaderFillsTheNameFieldAtAnyWidth) {
    HighScoreLine row;
    QLineEdit* field = nameField(&row);
    for (QString name : {"Bob", "A longer name here", ""}) {
        row.setPlayer(name);
        for (int width : {640, 1200, 800}) {
            row.resize(width, 48);
            row.layout()->activate();
            QResizeEvent resized(row.size(), QSize());
            QCoreApplication::sendEvent(&row, &resized);
            const QString text = row.playerFieldText(), leader = text.mid(name.size() + 3);
            EXPECT_TRUE(text.startsWith(name + "   ") && row.player() == name) << name.toStdString();
            for (int k = 0; k < leader.size(); ++k)
                EXPECT_EQ(leader[k], k % 3 == 1 ? QLatin1Char('.') : QLatin1Char(' '));
            // As many leader characters as dots fit in the room the name and four spaces leave.
            const QFontMetrics metrics(field->font());
            const int dot = metrics.horizontalAdvance(QLatin1Char('.'));
            const int room = std::max(0, field->width() - metrics.horizontalAdvance(name + "    "));
            EXPECT_TRUE(leader.size() * dot <= room && room < (leader.size() + 1) * dot)
                << room << " at " << width;
        }
    }
}

TEST_F(Screens, RowFontsFollowTheScreenWidth) {
    const int cases[][2] = {{640, 24}, {800, 28}, {1024, 30}, {1280, 32}, {1152, 32}, {1600, 45}, {0, 1}};
    for (const auto& [width, points] : cases) {
        const QFont font = HighScoreTable::lineFontForWidth(width);
        EXPECT_TRUE(font.family() == "Arial Black" && font.bold() && font.pointSize() == points) << width;
    }
    HighScoreTable table;
    table.resizeForScreen(1152, 864);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(nameField(table.line(i))->font().pointSize(), 32);
}

TEST_F(Screens, HostileStoreIsShownWithinItsLimitsAndRewrittenToTen) {
    const QString longest(20, 'L'), tooLong(21, 'T');
    for (int i = 1; i <= 15; ++i) {
        store()->setValue(QString("HighScores/%1/number").arg(i), i);
        store()->setValue(QString("HighScores/%1/player").arg(i), QString("Q%1").arg(i - 1));
        store()->setValue(QString("HighScores/%1/score").arg(i), 100000 - i * 1000);
    }
    store()->setValue("HighScores/size", 15);
    const std::pair<const char*, QString> odd[] = {{"1/player", QString(10000, 'W')},
                                                   {"2/score", "lots"},
                                                   {"4/number", "12345"},
                                                   {"5/number", "1234"},
                                                   {"6/player", longest},
                                                   {"7/player", tooLong},
                                                   {"8/score", "123456789012"},
                                                   {"9/score", "1234567890123"}};
    for (const auto& [key, value] : odd)
        store()->setValue(QString("HighScores/") + key, value);
    store()->remove("HighScores/3");
    HighScoreTable table;
    table.resize(1024, 768);
    table.layout()->activate();
    QStringList shown;
    for (int i = 0; i < 10; ++i)
        shown << table.line(i)->number() + " " + table.line(i)->playerFieldText().section("   ", 0, 0) + " " +
                     (i == 2 ? QString::number(table.line(i)->score().toInt() / 2000)
                             : table.line(i)->score());
    EXPECT_EQ(shown.join(','), "1 " + QString(20, 'W') +
                                   " 99000,2 Q1 lots,3 Corin 12,1234 Q3 96000,1234 Q4 95000,6 " + longest +
                                   " 94000,7 " + tooLong.left(20) +
                                   " 93000,8 Q7 123456789012,9 Q8 123456789012,10 Q9 90000")
        << "cut: names at 20 letters, places at 4 digits, scores at 12; gaps filled with the defaults";
    EXPECT_EQ(table.line(0)->player().size(), 10000);
    EXPECT_EQ(table.line(10), nullptr) << "entries beyond the tenth are left out";
    // "lots" counts as 0: a small score goes in above it, and its name stops at 20 letters.
    ASSERT_TRUE(table.insertScore(5));
    ASSERT_EQ(table.line(1), table.newScoreLine());
    QLineEdit* field = nameField(table.newScoreLine());
    field->setText(tooLong);
    EXPECT_EQ(field->text(), tooLong.left(20));
    emit field->editingFinished();
    QSettings disk("Torvik", "Torvik Orbitrax");
    EXPECT_EQ(disk.value("HighScores/size").toInt(), 10);
    EXPECT_FALSE(disk.contains("HighScores/11/player"));
    EXPECT_EQ(disk.value("HighScores/1/player").toString().size(), 10000);
    EXPECT_EQ(disk.value("HighScores/3/score").toString(), "lots");
}

TEST_F(Screens, TableDestroyedDuringEntrySavesNothing) {
    storeTen();
    auto table = std::make_unique<HighScoreTable>();
    table->resize(800, 600);
    table->show();
    ASSERT_TRUE(table->insertScore(9500));
    table->setFocus();
    table.reset();
    EXPECT_EQ(QSettings("Torvik", "Torvik Orbitrax").value("HighScores/2/player").toString(), "P1");
}

TEST(Menu, FlatPictureButtonsOfTheSetForTheWidthSideBySideWithExclusiveChecks) {
    const int widths[][2] = {{640, 640}, {800, 800}, {1024, 1024}, {1280, 1280}, {1152, 1280}, {1920, 1280}};
    for (const auto& [width, set] : widths)
        EXPECT_EQ(GameMenu::pictureWidth(width), set);
    GameMenu menu;
    menu.layout()->activate();
    std::vector<QRect> taken;
    for (const char* name : {"play", "highscore", "options", "credits", "help", "quit"}) {
        auto* button = qobject_cast<MenuPushButton*>(menu.button(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isFlat() && button->text().isEmpty() && menu.rect().contains(button->geometry()))
            << name;
        for (const QRect& other : taken)
            EXPECT_FALSE(other.intersects(button->geometry())) << name;
        taken.push_back(button->geometry());
        for (int width : {800, 1152, 640}) {
            menu.resizeForScreen(width, 600);
            for (bool down : {false, true}) {
                button->setDown(down);
                const QString file = QString(":/menu/%1%2%3.png")
                                         .arg(name, down ? "_on_" : "_")
                                         .arg(GameMenu::pictureWidth(width));
                EXPECT_EQ(button->face().toImage(), QIcon(file).pixmap(button->face().size()).toImage())
                    << file.toStdString();
            }
        }
    }
    EXPECT_FALSE(menu.button("play")->isCheckable() || menu.button("help")->isCheckable());
    menu.button("highscore")->click();
    menu.button("options")->click();
    EXPECT_TRUE(menu.button("options")->isChecked() && !menu.button("highscore")->isChecked());
}

struct Credits : ::testing::Test {
    void SetUp() override {
        view.resize(1024, 768);
        view.show();
        QObject::connect(&view, &CreditsView::notifyFinished, [this] { ++finished; });
        for (int i = 0; i < 200; ++i)
            document += QStringLiteral("<p>Credit line %1</p>").arg(i);
    }
    CreditsView view;
    QString document;
    int finished = 0;
};

TEST_F(Credits, ColumnOfSeventyPercentScrollsFromTheBottomForNinetySeconds) {
    view.setCredits(document);
    EXPECT_EQ(view.textView()->width(), 716);
    QPropertyAnimation* animation = view.animation();
    QScrollBar* bar = view.scrollBar();
    ASSERT_TRUE(animation && bar->maximum() > 1000);
    animation->setCurrentTime(0);
    EXPECT_EQ(bar->value(), 100);
    // It rolls on for two screens past the end of the document.
    animation->setCurrentTime(30000);
    EXPECT_NEAR(bar->value(), qMin(100 + (bar->maximum() + 2 * 768 - 100) / 3, bar->maximum()), 2);
    view.setCredits(document);
    EXPECT_EQ(view.animation(), animation) << "a new document keeps the running scroll";
    animation->setCurrentTime(89999);
    EXPECT_EQ(finished, 0);
    animation->setCurrentTime(90000);
    EXPECT_TRUE(finished == 1 && view.animation() == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view.setCredits(document);
    EXPECT_TRUE(view.animation() && bar->value() == 100) << "shown again, the scroll starts over";
}

TEST_F(Credits, KeyOrClickEndsTheCreditsOnce) {
    view.setCredits(document);
    sendKey(&view, Qt::Key_A, QEvent::KeyPress, "a");
    sendKey(&view, Qt::Key_A, QEvent::KeyPress, "a");
    // The scroll stops at once; the end is announced once the key has gone its way, and only once.
    EXPECT_TRUE(view.animation() == nullptr && finished == 0);
    const int stoppedAt = view.scrollBar()->value();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(finished == 1 && view.scrollBar()->value() == stoppedAt);
    view.setCredits(document);
    click(&view, QPoint(10, 10));
    EXPECT_TRUE(finished == 2 && view.animation() == nullptr);
    // Idle, a key still ends the credits; once the screen is gone (Escape through the game) it does not.
    sendKey(&view, Qt::Key_A, QEvent::KeyPress, "a");
    QCoreApplication::processEvents();
    sendKey(&view, Qt::Key_A, QEvent::KeyPress, "a");
    view.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 3);
    view.show();
    view.setCredits(document);
    view.stopScroll();
    EXPECT_TRUE(view.animation() == nullptr && finished == 3) << "stopping quietly announces nothing";
}

TEST(Help, DesignedSizeWithAMarginOnSmallScreens) {
    const int cases[][4] = {{1280, 1024, 640, 447}, {690, 497, 640, 447}, {689, 496, 639, 446},
                            {640, 480, 590, 430},   {52, 52, 2, 2},       {50, 50, 1, 1},
                            {10, 10, 1, 1}};
    for (const auto& [width, height, w, h] : cases)
        EXPECT_EQ(HelpDialog::sizeForScreen({width, height}), QSize(w, h)) << width << "x" << height;
    EXPECT_EQ(HelpDialog().windowTitle(), "Orbitrax Help");
}

} // namespace
