// The front-end screens on their own: options, high scores, menu, credits and help.
#include "QtHarness.h"

#include "core/Engine.h"
#include "ui/CreditsView.h"
#include "ui/GameMenu.h"
#include "ui/GameOptions.h"
#include "ui/HelpDialog.h"
#include "ui/HighScoreLine.h"
#include "ui/HighScoreTable.h"

#include <QComboBox>
#include <QLayout>
#include <QPropertyAnimation>
#include <QScrollBar>

namespace {

class Screens : public ::testing::Test {
protected:
    void SetUp() override { store()->clear(); }
    // Stores `count` rows (place i, "P<i-1>", 11000 - 1000 i), then the odd "key=value" (without a value:
    // removed).
    static void storeRows(int count, const QStringList& odd = {}) {
        for (int i = 1; i <= count; ++i)
            for (auto [key, value] : {std::pair{"number", QString::number(i)},
                                      {"player", QString("P%1").arg(i - 1)},
                                      {"score", QString::number(11000 - 1000 * i)}})
                store()->setValue(QString("HighScores/%1/%2").arg(i).arg(key), value);
        store()->setValue("HighScores/size", count);
        for (const QString& entry : odd)
            entry.contains('=')
                ? store()->setValue("HighScores/" + entry.section('=', 0, 0), entry.section('=', 1))
                : store()->remove("HighScores/" + entry);
    }
    // The rows as shown ("place name score") or, without a table, as stored.
    static QString rows(const HighScoreTable* table, std::initializer_list<int> which) {
        QStringList shown;
        const auto stored = [](int i, const char* key) {
            return store()->value(QString("HighScores/%1/%2").arg(i + 1).arg(key)).toString();
        };
        for (int i : which)
            shown << (table ? table->line(i)->number() + " " +
                                  table->line(i)->playerFieldText().section("   ", 0, 0) + " " +
                                  table->line(i)->score()
                            : stored(i, "number") + " " + stored(i, "player") + " " + stored(i, "score"));
        return shown.join(',');
    }
    static QLineEdit* nameField(HighScoreLine* line) { return line->findChild<QLineEdit*>("player"); }
    Engine* engine = Engine::createHeadless();
};

TEST_F(Screens, OptionsShowTheEngineAndResolutionsFromEightHundredByWidthAndSaveEachPick) {
    // anisotropy, details, texture filter, full screen, shadows, force feedback
    const std::tuple<int, int, int, bool, bool, int, const char*> shown[] = {
        {8, 1, 0, false, true, 0, "8 Medium Basic Mipmap Off On Off"},
        {0, 3, -1, true, false, 1, "1 High Basic Mipmap On Off On"}};
    for (const auto& c : shown) {
        std::tie(engine->anisotropic, engine->details, engine->textureFilter, engine->fullScreen,
                 engine->shadows, engine->forceFeedback, std::ignore) = c;
        GameOptions panel;
        QStringList texts;
        for (const char* name : {"anisotropicFiltering", "detailsLevel", "texturefilter", "fullscreen",
                                 "shadows", "forceFeedback"})
            texts << panel.box(name)->currentText();
        EXPECT_EQ(texts.join(' '), std::get<6>(c));
    }
    EXPECT_TRUE(store()->allKeys().isEmpty()) << "showing saves nothing";
    const int levels[][2] = {{-3, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {7, 2}, {8, 3}, {1 << 30, 3}};
    for (const auto& [level, index] : levels)
        EXPECT_EQ(GameOptions::anisotropyIndex(level), index) << level;
    const std::vector<QSize> falling = {{1280, 1024}, {1280, 960}, {1024, 768}, {800, 600},
                                        {799, 600},   {799, 599},  {640, 480}};
    const std::vector<QSize> rising = {{800, 600},   {1280, 960},  {1024, 768},
                                       {1280, 1024}, {1600, 1200}, {800, 599}};
    const std::tuple<const std::vector<QSize>*, QSize, const char*> cases[] = {
        {nullptr, {1024, 768}, ""},
        {&rising, {1600, 1200}, "800 x 599,800 x 600,1024 x 768,1280 x 960,1280 x 1024,[1600 x 1200]"},
        {&falling, {640, 480}, "799 x 600,800 x 600,1024 x 768,1280 x 960,1280 x 1024"},
        {&falling, {1024, 768}, "799 x 600,800 x 600,[1024 x 768],1280 x 960,1280 x 1024"}};
    GameOptions panel;
    QComboBox* box = panel.box("resolution");
    for (const auto& [modes, current, shown] : cases) {
        EXPECT_EQ(panel.fillResolutions(current.width(), current.height(), modes), modes ? 0 : -1);
        QStringList texts;
        for (int k = 0; k < box->count(); ++k)
            texts << (k == box->currentIndex() ? "[" + box->itemText(k) + "]" : box->itemText(k));
        EXPECT_EQ(texts.join(','), shown);
        if (!modes) {
            emit box->activated(0);
            EXPECT_EQ(engine->screenWidth, 1024) << "an empty box: picking nothing changes nothing";
        }
    }
    // Each pick is saved at once, force feedback only with the next save.
    const std::tuple<const char*, int, const char*, int> picks[] = {
        {"shadows", 0, "Graphic/Shadows", 1},
        {"texturefilter", 1, "Graphic/Filter", 1},
        {"anisotropicFiltering", 1, "Graphic/Anisotropic", 2},
        {"anisotropicFiltering", 3, "Graphic/Anisotropic", 8},
        {"detailsLevel", 0, "Graphic/Details", 0},
        {"renderScale", 1, "Graphic/RenderScale", 100},
        {"fullscreen", 0, "Graphic/FullScreen", 1},
        {"resolution", 0, "Graphic/Width", 799},
        {"resolution", 4, "Graphic/Height", 1024},
        {"forceFeedback", 1, "general/ForceFeedback", 1},
        {"detailsLevel", 2, "general/ForceFeedback", 0}};
    for (const auto& [name, index, key, value] : picks) {
        panel.box(name)->setCurrentIndex(index);
        emit panel.box(name)->activated(index);
        EXPECT_EQ(store()->value(key).toInt(), value) << name << " " << index;
    }
}

TEST_F(Screens, EmptyTableShowsMadeUpFallingScores) {
    for (int round = 0; round < 20; ++round) {
        HighScoreTable table;
        // Made-up scores, falling: the first between 30000 and 31999, the last between 3000 and 4999.
        for (int i = 1; i < 10; ++i)
            EXPECT_LT(table.line(i)->score().toInt(), table.line(i - 1)->score().toInt());
        const int first = table.line(0)->score().toInt(), last = table.line(9)->score().toInt();
        EXPECT_TRUE(first >= 30000 && first <= 31999 && last >= 3000 && last <= 4999) << first << " " << last;
    }
}

TEST_F(Screens, NewScoreTakesItsPlaceAboveAnEqualOneAndTheTenthDrops) {
    const std::tuple<int, int, QString> cases[] = {
        {10000, 0, "1 Player 1 10000,2 P0 10000,10 P8 2000"},
        {9999, 1, "2 Player 1 9999,3 P1 9000,10 P8 2000"},
        {1000, 9, "10 Player 1 1000,10 Player 1 1000,10 Player 1 1000"},
        {999, -1, "10 P9 1000,10 P9 1000,10 P9 1000"}};
    for (const auto& [score, row, shown] : cases) {
        storeRows(10);
        HighScoreTable table;
        const int at = row < 0 ? 9 : row;
        EXPECT_EQ(table.insertScore(score), row >= 0) << score;
        EXPECT_EQ(rows(&table, {at, std::min(at + 1, 9), 9}), shown);
        EXPECT_TRUE(table.line(10) == nullptr && table.isEditing() == (row >= 0)) << score;
        if (row >= 0)
            EXPECT_TRUE(table.line(row) == table.newScoreLine() && table.focusPolicy() == Qt::NoFocus &&
                        nameField(table.newScoreLine())->selectedText() == "Player 1");
    }
}

TEST_F(Screens, ConfirmedNameIsSavedAtOnceAndTheTableClosesLater) {
    storeRows(10);
    HighScoreTable table;
    table.resize(1280, 1024);
    table.show();
    ASSERT_TRUE(table.insertScore(8500));
    QCoreApplication::processEvents();
    QLineEdit* field = nameField(table.newScoreLine());
    EXPECT_EQ(field->selectedText(), "Player 1") << "laying the table out leaves the name being typed alone";
    field->setText("Ada");
    sendKey(field, Qt::Key_Return, QEvent::KeyPress, "\r");
    emit field->editingFinished(); // the focus loss after Return changes nothing
    EXPECT_EQ(rows(nullptr, {0, 1, 2, 3, 9, 10}), "1 P0 10000,2 P1 9000,3 Ada 8500,4 P2 8000,10 P8 2000,  ");
    const auto timers = table.findChildren<QTimer*>();
    ASSERT_EQ(timers.size(), 1);
    EXPECT_TRUE(timers[0]->isActive() && timers[0]->isSingleShot() && timers[0]->interval() == 3000);
    EXPECT_TRUE(!table.newScoreLine()->isEditing() && table.newScoreLine()->player() == "Ada");
    EXPECT_TRUE(field->text().startsWith("Ada   ") && field->text().count('.') > 5 &&
                field->cursorPosition() == 0);
}

TEST_F(Screens, HostileStoreIsShownWithinItsLimitsAndRewrittenToTen) {
    const QString longest(20, 'L'), tooLong(21, 'T');
    storeRows(15, {"2/score=lots", "3/player", "3/score", "4/number=12345", "5/number=1234",
                   "6/player=" + longest, "7/player=" + tooLong, "8/score=123456789012",
                   "9/score=1234567890123"});
    HighScoreTable table;
    table.resize(1024, 768);
    table.layout()->activate();
    // Names cut at 20 letters on screen, places at 4 digits, scores at 12; a missing entry takes the default.
    EXPECT_EQ(rows(&table, {0, 1, 3, 4, 5, 6, 7, 8, 9}),
              "1 P0 10000,2 P1 lots,1234 P3 7000,1234 P4 6000,6 " + longest + " 5000,7 " + tooLong.left(20) +
                  " 4000,8 P7 123456789012,9 P8 123456789012,10 P9 1000");
    EXPECT_TRUE(table.line(2)->player() == "Corin" && table.line(10) == nullptr);
    ASSERT_TRUE(table.insertScore(5));
    QLineEdit* field = nameField(table.newScoreLine());
    field->setText(tooLong);
    EXPECT_EQ(field->text(), tooLong.left(20));
    emit field->editingFinished();
    EXPECT_EQ(store()->value("HighScores/size").toInt(), 10);
    EXPECT_EQ(rows(nullptr, {1, 2, 10}), "2 " + tooLong.left(20) + " 5,3 P1 lots,  ");
}

TEST(Menu, FlatButtonsOfWhichHighScoreAndOptionsAreCheckedInTurn) {
    GameMenu menu;
    EXPECT_TRUE(menu.button("quit")->isFlat() && !menu.button("play")->isCheckable() &&
                !menu.button("help")->isCheckable());
    menu.button("highscore")->click();
    menu.button("options")->click();
    EXPECT_TRUE(menu.button("options")->isChecked() && !menu.button("highscore")->isChecked());
}

TEST(Credits, SeventyPercentColumnRollsFromTheBottomForNinetySecondsAndAKeyOrClickEndsIt) {
    CreditsView view;
    view.resize(1024, 768);
    view.show();
    int finished = 0;
    QObject::connect(&view, &CreditsView::notifyFinished, [&finished] { ++finished; });
    const QString document = QString("<p>Credit line</p>").repeated(200);
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
    // A key stops the roll at once and ends the credits once the game has seen it, and only once.
    sendKey(&view, Qt::Key_A, QEvent::KeyPress, "a");
    sendKey(&view, Qt::Key_A, QEvent::KeyPress, "a");
    EXPECT_TRUE(view.animation() == nullptr && finished == 1);
    const int stoppedAt = bar->value();
    EXPECT_TRUE(waitFor([&finished] { return finished == 2; }) && bar->value() == stoppedAt);
    view.setCredits(document);
    click(&view, QPoint(10, 10));
    EXPECT_TRUE(finished == 3 && view.animation() == nullptr);
}

TEST(Help, DesignedSizeWithAMarginOnSmallScreens) {
    const int cases[][4] = {{1280, 1024, 640, 447}, {690, 497, 640, 447}, {689, 496, 639, 446},
                            {640, 480, 590, 430},   {52, 52, 2, 2},       {50, 50, 1, 1},
                            {10, 10, 1, 1}};
    for (const auto& [width, height, w, h] : cases)
        EXPECT_EQ(HelpDialog::sizeForScreen({width, height}), QSize(w, h)) << width << "x" << height;
}

} // namespace
