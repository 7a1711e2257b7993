#include "app/GameWindow.h"
#include "core/Engine.h"
#include "core/Game.h"
#include "core/World.h"
#include "platform/AboutDialog.h"
#include "platform/QtSingleApplication.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"
#include "ui/CreditsView.h"
#include "ui/GameOptions.h"
#include "ui/HelpDialog.h"
#include "ui/HighScoreLine.h"
#include "ui/HighScoreTable.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGraphicsProxyWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>

#include <memory>

namespace {

QSettings* store() {
    return tvt::QtSingleApplication::appSettings();
}

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        store()->clear();
        Engine::createHeadless();
        window = std::make_unique<GameWindow>();
        window->setFixedSize(1024, 768);
        window->show();
        QObject::connect(window.get(), &GameWindow::highScoreTableClosed, [this] { ++tableClosed; });
        QObject::connect(window.get(), &GameWindow::optionsClosed, [this] { ++optionsClosed; });
        settle();
    }
    void TearDown() override {
        window.reset();
        settle();
        Engine::discard();
        sdlq::clearEvents();
        sdlq::releaseAllKeys();
        store()->clear();
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static int queuedKeyDowns() {
        int keys = 0;
        sdlq::Event event;
        while (sdlq::pollEvent(&event))
            keys += event.type == sdlq::KeyDownEvent;
        return keys;
    }
    // Ten low scores so that any game earns a place.
    static void storeLowScores() {
        store()->beginWriteArray("HighScores");
        for (int i = 0; i < 10; ++i) {
            store()->setArrayIndex(i);
            store()->setValue("number", QString::number(i + 1));
            store()->setValue("player", "Low");
            store()->setValue("score", "10");
        }
        store()->endArray();
    }

    std::unique_ptr<GameWindow> window;
    int tableClosed = 0;
    int optionsClosed = 0;
};

TEST_F(Window, RegistersItselfAndKeepsItsActions) {
    EXPECT_EQ(GameWindow::theWindow(), window.get());
    EXPECT_EQ(GameWindow::activeGameWindow(), window.get());
    EXPECT_FALSE(window->menuBar()->isVisible());
    EXPECT_EQ(window->windowTitle(), "MainWindow");
    QStringList shortcuts;
    for (QAction* action : window->actions())
        if (!action->shortcut().isEmpty())
            shortcuts << action->objectName() + "=" + action->shortcut().toString();
    EXPECT_EQ(window->actions().size(), 10);
    EXPECT_EQ(shortcuts, QStringList({"actionNew_Game=Ctrl+N", "actionQuit=Ctrl+Q"}));
    EXPECT_NE(window->getSDLWidget(), nullptr);
    EXPECT_EQ(window->getSDLWidget()->objectName(), "sdlWidget");
}

TEST_F(Window, ClosingMarksACleanExit) {
    store()->setValue("general/Running", 1);
    window.reset();
    EXPECT_EQ(GameWindow::theWindow(), nullptr);
    QSettings disk("Torvik", "Torvik Orbitrax");
    EXPECT_EQ(disk.value("general/Running").toInt(), 0);
}

TEST_F(Window, MenuSitsLowerRightScaledToTheWindow) {
    window->showGameMenu();
    QGraphicsProxyWidget* menu = window->menuProxyWidget();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_NEAR(menu->pos().x(), 0.805 * 1024, 0.5);
    EXPECT_NEAR(menu->pos().y(), 0.665 * 768, 0.5);
    EXPECT_DOUBLE_EQ(menu->transform().m11(), 1024 / 1280.0);
    EXPECT_DOUBLE_EQ(menu->transform().m22(), 768 / 960.0);
    EXPECT_FALSE(window->getSDLWidget()->isGrabbing());
    // Shown again: nothing moves.
    menu->setPos(1, 2);
    window->showGameMenu();
    EXPECT_EQ(menu->pos(), QPointF(1, 2));
    window->hideGameMenu();
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(Window, OptionsPanelCentredThenAtTheTopOnResize) {
    window->showOptions();
    QGraphicsProxyWidget* panel = window->optionsProxyWidget();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_NEAR(panel->pos().x(), 0.5 * (1024 - panel->size().width()), 0.5);
    EXPECT_NEAR(panel->pos().y(), 0.5 * (768 - panel->size().height()), 0.5);
    EXPECT_FALSE(qobject_cast<GameOptions*>(panel->widget())->styleSheet().contains("  "));

    window->setFixedSize(800, 600);
    settle();
    EXPECT_NEAR(panel->pos().x(), 0.5 * (800 - panel->size().width()), 0.5);
    EXPECT_EQ(panel->pos().y(), 0);

    window->hideOptions();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(optionsClosed, 1);
}

TEST_F(Window, ViewingTableClosesOnAnyKey) {
    window->showHighScores();
    HighScoreTable* table = window->highScoreTableWidget();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(table->line(0)->findChild<QLineEdit*>("player")->font().pointSize(), 30);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(table, &key);
    settle();
    settle();
    EXPECT_EQ(window->highScoreTableWidget(), nullptr);
    EXPECT_EQ(tableClosed, 1);
}

TEST_F(Window, LowScoreShowsNoTable) {
    storeLowScores();
    EXPECT_FALSE(window->checkHighScore(5));
    EXPECT_EQ(window->highScoreTableWidget(), nullptr);
    EXPECT_EQ(tableClosed, 0);
}

TEST_F(Window, TypedNameStaysOutOfTheGame) {
    storeLowScores();
    ASSERT_TRUE(window->checkHighScore(500));
    HighScoreTable* table = window->highScoreTableWidget();
    ASSERT_NE(table, nullptr);
    auto* field = table->newScoreLine()->findChild<QLineEdit*>("player");
    field->setFocus();
    sdlq::clearEvents();
    for (const char* letter : {"s", "d", "p"}) {
        const int code = Qt::Key_A + (letter[0] - 'a');
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, letter);
        QCoreApplication::sendEvent(field, &press);
    }
    EXPECT_EQ(queuedKeyDowns(), 0);
    EXPECT_EQ(sdlq::getKeyState()['s'], 0);
    EXPECT_EQ(field->text(), "sdp");
}

TEST_F(Window, EscapeClosesOverlaysQuietly) {
    storeLowScores();
    ASSERT_TRUE(window->checkHighScore(500));
    window->showOptions();
    window->showCredits();
    ASSERT_NE(window->creditsViewWidget(), nullptr);
    int creditsEnded = 0;
    QObject::connect(window->creditsViewWidget(), &CreditsView::notifyFinished, [&] { ++creditsEnded; });
    window->closeOverlays();
    settle();
    EXPECT_EQ(window->highScoreTableWidget(), nullptr);
    EXPECT_FALSE(window->optionsProxyWidget()->isVisible());
    EXPECT_FALSE(window->creditsProxyWidget()->isVisible());
    EXPECT_EQ(window->creditsViewWidget()->animation(), nullptr);
    EXPECT_EQ(tableClosed, 0);
    EXPECT_EQ(optionsClosed, 0);
    EXPECT_EQ(creditsEnded, 0);
    // The unfinished name was not saved.
    QSettings disk("Torvik", "Torvik Orbitrax");
    disk.beginReadArray("HighScores");
    disk.setArrayIndex(0);
    EXPECT_EQ(disk.value("player").toString(), "Low");
    disk.endArray();
}

TEST_F(Window, CreditsFillTheWindow) {
    window->showCredits();
    QGraphicsProxyWidget* proxy = window->creditsProxyWidget();
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->geometry(), QRectF(0, 0, 1024, 768));
    if (QFile::exists(":/productinfo/movie.html")) {
        EXPECT_EQ(window->creditsViewWidget()->textView()->width(), 716);
        EXPECT_NE(window->creditsViewWidget()->animation(), nullptr);
    }
    window->hideCredits();
    EXPECT_FALSE(proxy->isVisible());
}

TEST_F(Window, HelpIsReusedAndCentred) {
    window->showHelp();
    HelpDialog* help = window->helpDialogWidget();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(help->size(), HelpDialog::sizeForScreen(screen.size()));
    help->reject();
    EXPECT_FALSE(help->isVisible());
    window->showHelp();
    EXPECT_EQ(window->helpDialogWidget(), help);
    EXPECT_EQ(help->pos(),
              QPoint((screen.width() - help->width()) / 2, (screen.height() - help->height()) / 2));
    window->hideHelp();
    EXPECT_EQ(window->helpDialogWidget(), nullptr);
}

} // namespace

namespace {

TEST_F(Window, AboutOpensWithoutBlockingAndGoesAwayWhenClosed) {
    QAction* about = window->findChild<QAction*>("actionAbout");
    ASSERT_NE(about, nullptr);
    about->trigger();
    auto* dialog = window->findChild<tvx::AboutDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->close();
    settle();
    EXPECT_EQ(window->findChild<tvx::AboutDialog*>(), nullptr);
}

TEST_F(Window, GameActionsWaitForTheMenu) {
    World* world = World::instance();
    Game game(world);
    window->findChild<QAction*>("actionOptions")->trigger();
    window->findChild<QAction*>("actionShow_High_Scores")->trigger();
    EXPECT_EQ(game.state, Menu);
    EXPECT_EQ(window->highScoreTableWidget(), nullptr);
    EXPECT_EQ(window->optionsProxyWidget(), nullptr);

    window->showGameMenu();
    window->findChild<QAction*>("actionShow_High_Scores")->trigger();
    EXPECT_EQ(game.state, Panel);
    ASSERT_NE(window->highScoreTableWidget(), nullptr);
    EXPECT_FALSE(window->menuProxyWidget()->isVisible());
    // The menu is hidden now: the other actions do nothing.
    window->findChild<QAction*>("actionOptions")->trigger();
    EXPECT_EQ(window->optionsProxyWidget(), nullptr);

    // Closing the table brings the game back to its menu.
    window->hideHighScores();
    EXPECT_EQ(game.state, Menu);
    EXPECT_EQ(tableClosed, 1);
    settle();
    World::discard();
}

} // namespace

namespace {

TEST_F(Window, ConfirmedNameShowsItsLeader) {
    storeLowScores();
    ASSERT_TRUE(window->checkHighScore(500));
    HighScoreTable* table = window->highScoreTableWidget();
    settle();
    auto* field = table->newScoreLine()->findChild<QLineEdit*>("player");
    field->setFocus();
    for (int code : {Qt::Key_A, Qt::Key_D, Qt::Key_A}) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(QChar(code)).toLower());
        QApplication::sendEvent(field, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(field, &enter);
    settle();
    EXPECT_EQ(table->newScoreLine()->player(), "ada");
    EXPECT_GT(field->text().count(QLatin1Char('.')), 5) << field->text().toStdString();
    EXPECT_EQ(field->text(), table->newScoreLine()->playerFieldText());
}

} // namespace
