#include "platform/QtSingleApplication.h"
#include "ui/HighScoreLine.h"
#include "ui/HighScoreTable.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QTimer>

#include <memory>

namespace {

const char* const Names[] = {"Aurel",  "Bastien", "Corin",  "Delphine", "NightRacer",
                             "Hollin", "Marisol", "Fenrik", "Torvik",   "Quillon"};

QSettings* store() {
    return tvt::QtSingleApplication::appSettings();
}

void storeRows(const std::vector<std::pair<QString, int>>& rows) {
    QSettings* s = store();
    s->beginWriteArray("HighScores");
    for (size_t i = 0; i < rows.size(); ++i) {
        s->setArrayIndex(static_cast<int>(i));
        s->setValue("number", QString::number(i + 1));
        s->setValue("player", rows[i].first);
        s->setValue("score", QString::number(rows[i].second));
    }
    s->endArray();
    s->sync();
}

// Ten rows: 10000, 9000 ... 1000.
void storeTen() {
    std::vector<std::pair<QString, int>> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({QStringLiteral("P%1").arg(i), 10000 - 1000 * i});
    storeRows(rows);
}

class HighScores : public ::testing::Test {
protected:
    void SetUp() override {
        store()->clear();
        store()->sync();
    }
    void TearDown() override {
        store()->clear();
        store()->sync();
    }
};

TEST_F(HighScores, EmptyStoreShowsTheDefaults) {
    for (int round = 0; round < 20; ++round) {
        HighScoreTable table;
        for (int i = 0; i < 10; ++i) {
            HighScoreLine* row = table.line(i);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->number(), QString::number(i + 1));
            EXPECT_EQ(row->player(), QString::fromLatin1(Names[i]));
            const int score = row->score().toInt();
            EXPECT_GE(score, 30000 - 3000 * i);
            EXPECT_LE(score, 31999 - 3000 * i);
        }
        EXPECT_EQ(table.line(10), nullptr);
        EXPECT_NE(table.findChild<QPushButton*>(), nullptr);
    }
    // Viewing writes nothing.
    EXPECT_FALSE(store()->childGroups().contains("HighScores"));
}

TEST_F(HighScores, EqualScoreGoesAboveAndTheTenthDrops) {
    storeTen();
    HighScoreTable table;
    ASSERT_TRUE(table.insertScore(6000));
    HighScoreLine* added = table.newScoreLine();
    ASSERT_EQ(table.line(4), added);
    EXPECT_EQ(added->number(), "5");
    EXPECT_EQ(added->score(), "6000");
    EXPECT_EQ(table.line(5)->player(), "P4");
    EXPECT_EQ(table.line(5)->number(), "6");
    EXPECT_EQ(table.line(9)->player(), "P8");
    EXPECT_EQ(table.line(9)->number(), "10");
    EXPECT_EQ(table.line(10), nullptr);
    EXPECT_TRUE(table.isEditing());
    EXPECT_EQ(table.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(added->isEditing());
    EXPECT_EQ(added->findChild<QLineEdit*>("player")->selectedText(), "Player 1");
    // Ten rows, the close row and the stretch.
    EXPECT_EQ(table.layout()->count(), 12);
}

TEST_F(HighScores, PlacesAtTheTopAndBottom) {
    struct Case {
        int score;
        int row;
    };
    for (const Case& c : {Case{99999, 0}, Case{10000, 0}, Case{9999, 1}, Case{1000, 9}, Case{1500, 9}}) {
        storeTen();
        HighScoreTable table;
        ASSERT_TRUE(table.insertScore(c.score)) << c.score;
        EXPECT_EQ(table.line(c.row), table.newScoreLine()) << c.score;
        EXPECT_EQ(table.line(c.row)->number(), QString::number(c.row + 1));
        for (int p = c.row + 1; p < 10; ++p)
            EXPECT_EQ(table.line(p)->number(), QString::number(p + 1));
    }
}

TEST_F(HighScores, LowScoreShowsNothing) {
    storeTen();
    HighScoreTable table;
    EXPECT_FALSE(table.insertScore(999));
    EXPECT_EQ(table.newScoreLine(), nullptr);
    EXPECT_FALSE(table.isEditing());
    EXPECT_EQ(table.line(9)->player(), "P9");
}

TEST_F(HighScores, EnteredNameIsSavedAtOnceAndTheTableClosesLater) {
    storeTen();
    HighScoreTable table;
    ASSERT_TRUE(table.insertScore(8500));
    auto* field = table.newScoreLine()->findChild<QLineEdit*>("player");
    field->setText("Ada");
    emit field->editingFinished();
    // A second finish (focus loss after Return) changes nothing.
    emit field->editingFinished();

    QSettings disk("Torvik", "Torvik Orbitrax");
    EXPECT_EQ(disk.value("HighScores/size").toInt(), 10);
    const int size = disk.beginReadArray("HighScores");
    EXPECT_EQ(size, 10);
    const char* expected[][3] = {{"1", "P0", "10000"}, {"2", "P1", "9000"}, {"3", "Ada", "8500"},
                                 {"4", "P2", "8000"},  {"5", "P3", "7000"}, {"10", "P8", "2000"}};
    const int indices[] = {0, 1, 2, 3, 4, 9};
    for (int k = 0; k < 6; ++k) {
        disk.setArrayIndex(indices[k]);
        EXPECT_EQ(disk.value("number").toString(), expected[k][0]);
        EXPECT_EQ(disk.value("player").toString(), expected[k][1]);
        EXPECT_EQ(disk.value("score").toString(), expected[k][2]);
    }
    disk.endArray();

    const auto timers = table.findChildren<QTimer*>();
    ASSERT_EQ(timers.size(), 1);
    EXPECT_TRUE(timers.first()->isActive());
    EXPECT_EQ(timers.first()->interval(), 3000);
    EXPECT_FALSE(table.newScoreLine()->isEditing());
    EXPECT_TRUE(table.newScoreLine()->playerFieldText().startsWith("Ada   "));
}

TEST_F(HighScores, DottedLeaderFillsTheField) {
    HighScoreLine row;
    row.resize(640, 48);
    row.layout()->activate();
    for (const char* name : {"Bob", "A longer name here", ""}) {
        row.setPlayer(name);
        auto* field = row.findChild<QLineEdit*>("player");
        const QFontMetrics metrics(field->font());
        const int n = (field->width() - metrics.horizontalAdvance(QString(name) + "    ")) /
                      metrics.horizontalAdvance(QLatin1Char('.'));
        const QString text = row.playerFieldText();
        ASSERT_TRUE(text.startsWith(QString(name) + "   ")) << name;
        const QString leader = text.mid(QString(name).size() + 3);
        EXPECT_EQ(leader.size(), qMax(0, n)) << name;
        for (int k = 0; k < leader.size(); ++k)
            EXPECT_EQ(leader[k], k % 3 == 1 ? QLatin1Char('.') : QLatin1Char(' '));
        EXPECT_EQ(row.player(), name);
    }
    // A wider field gets a longer leader.
    row.setPlayer("Bob");
    const int before = row.playerFieldText().size();
    row.resize(1200, 48);
    row.layout()->activate();
    QResizeEvent grow(QSize(1200, 48), QSize(640, 48));
    QCoreApplication::sendEvent(&row, &grow);
    EXPECT_GT(row.playerFieldText().size(), before);
}

TEST_F(HighScores, FontsByWidth) {
    const int cases[][2] = {{640, 24}, {800, 28}, {1024, 30}, {1280, 32}, {1152, 32}, {1600, 45}, {0, 1}};
    for (const auto& c : cases) {
        const QFont font = HighScoreTable::lineFontForWidth(c[0]);
        EXPECT_EQ(font.family(), "Arial Black");
        EXPECT_EQ(font.pointSize(), c[1]) << c[0];
    }
    HighScoreTable table;
    table.resizeForScreen(1152, 864);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(table.line(i)->findChild<QLineEdit*>("player")->font().pointSize(), 32);
}

TEST_F(HighScores, HostileStoreIsShownWithoutHarm) {
    QSettings* s = store();
    s->beginWriteArray("HighScores");
    for (int i = 0; i < 15; ++i) {
        s->setArrayIndex(i);
        s->setValue("number", QString::number(i + 1));
        s->setValue("player", QStringLiteral("Q%1").arg(i));
        s->setValue("score", QString::number(100000 - i * 1000));
    }
    s->setArrayIndex(0);
    s->setValue("player", QString(10000, QLatin1Char('W')));
    s->setArrayIndex(1);
    s->setValue("score", "lots");
    s->setArrayIndex(2);
    s->remove("player");
    s->remove("score");
    s->setArrayIndex(3);
    s->setValue("number", QString(500, QLatin1Char('7')));
    s->endArray();
    s->sync();

    HighScoreTable table;
    table.resize(1024, 768);
    table.layout()->activate();
    EXPECT_EQ(table.line(0)->player().size(), 10000);
    EXPECT_LE(table.line(0)->playerFieldText().size(), HighScoreLine::MaxNameLength + 3 + 400);
    EXPECT_EQ(table.line(1)->score(), "lots");
    EXPECT_EQ(table.line(2)->player(), "Corin");
    const int defaultScore = table.line(2)->score().toInt();
    EXPECT_GE(defaultScore, 24000);
    EXPECT_LE(defaultScore, 25999);
    EXPECT_EQ(table.line(3)->number().size(), 4);
    EXPECT_EQ(table.line(9)->player(), "Q9");
    EXPECT_EQ(table.line(10), nullptr);

    // "lots" counts as 0: a small score goes in above it.
    ASSERT_TRUE(table.insertScore(5));
    EXPECT_EQ(table.line(1), table.newScoreLine());
    auto* field = table.newScoreLine()->findChild<QLineEdit*>("player");
    field->setText(QString(500, QLatin1Char('x')));
    EXPECT_EQ(field->text().size(), HighScoreLine::MaxNameLength);
    emit field->editingFinished();

    // The rewrite leaves exactly ten entries.
    QSettings disk("Torvik", "Torvik Orbitrax");
    EXPECT_EQ(disk.beginReadArray("HighScores"), 10);
    disk.setArrayIndex(10);
    EXPECT_FALSE(disk.contains("player"));
    disk.setArrayIndex(0);
    EXPECT_EQ(disk.value("player").toString().size(), 10000);
    disk.setArrayIndex(2);
    EXPECT_EQ(disk.value("player").toString(), "Q1");
    disk.endArray();
}

TEST_F(HighScores, DestroyingDuringEntrySavesNothing) {
    storeTen();
    auto table = std::make_unique<HighScoreTable>();
    table->resize(800, 600);
    table->show();
    ASSERT_TRUE(table->insertScore(9500));
    table->setFocus();
    table.reset();
    QSettings disk("Torvik", "Torvik Orbitrax");
    disk.beginReadArray("HighScores");
    disk.setArrayIndex(1);
    EXPECT_EQ(disk.value("player").toString(), "P1");
    disk.endArray();
}

} // namespace

namespace {

TEST_F(HighScores, ConfirmedNameGetsItsLeader) {
    storeTen();
    HighScoreTable table;
    table.resize(1280, 1024);
    table.show();
    ASSERT_TRUE(table.insertScore(20000));
    QCoreApplication::processEvents();
    auto* field = table.newScoreLine()->findChild<QLineEdit*>("player");
    field->setText("Ada");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(field, &enter);
    QCoreApplication::processEvents();
    EXPECT_EQ(table.newScoreLine()->player(), "Ada");
    const QString shown = table.newScoreLine()->playerFieldText();
    EXPECT_TRUE(shown.startsWith("Ada   ")) << shown.toStdString();
    EXPECT_GT(shown.count(QLatin1Char('.')), 5) << shown.toStdString();
    EXPECT_EQ(field->cursorPosition(), 0);
}

} // namespace
