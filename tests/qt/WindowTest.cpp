// The game window: its actions, and the front-end screens it lays over the game.
#include "QtHarness.h"

#include "app/GameWindow.h"
#include "core/Engine.h"
#include "core/Game.h"
#include "core/World.h"
#include "platform/AboutDialog.h"
#include "ui/CreditsView.h"
#include "ui/GameOptions.h"
#include "ui/HelpDialog.h"
#include "ui/HighScoreTable.h"

#include <QAction>
#include <QLabel>
#include <QLineF>
#include <QScreen>
#include <QTextBrowser>

namespace {

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        store()->clear();
        Engine::createHeadless();
        window.setFixedSize(1024, 768);
        window.show();
        window.activateWindow(); // a name field only loses its focus in an active window
        EXPECT_TRUE(waitFor([this] { return window.isActiveWindow(); }));
        QObject::connect(&window, &GameWindow::highScoreTableClosed, [this] { closed << "table"; });
        QObject::connect(&window, &GameWindow::optionsClosed, [this] { closed << "options"; });
        settle();
    }
    void TearDown() override { sdlq::clearEvents(); }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Ten low scores, so that any game earns a place.
    static void storeLowScores() {
        for (int i = 1; i <= 10; ++i)
            store()->setValue(QString("HighScores/%1/score").arg(i), 10);
        store()->setValue("HighScores/size", 10);
    }
    void trigger(const char* action) { window.findChild<QAction*>(action)->trigger(); }
    // The screens that show, and whether the game grabs the input.
    QString shown() {
        QStringList seen;
        const auto visible = [](QGraphicsProxyWidget* proxy) { return proxy && proxy->isVisible(); };
        const std::pair<const char*, bool> screens[] = {
            {"menu", visible(window.menuProxyWidget())},
            {"table", window.highScoreTableWidget()},
            {"options", visible(window.optionsProxyWidget())},
            {"credits", visible(window.creditsProxyWidget())},
            {"help", window.helpDialogWidget() && window.helpDialogWidget()->isVisible()},
            {"about", window.findChild<tvx::AboutDialog*>()},
            {"grab", window.getSDLWidget()->isGrabbing()}};
        for (const auto& [name, on] : screens)
            if (on)
                seen << name;
        return seen.join(' ');
    }

    GameWindow window;
    QStringList closed;
};

TEST_F(Window, GameActionsWaitForTheMenuEveryScreenTakesTheInputAndAboutShowsTheVersion) {
    QCoreApplication::setApplicationVersion("1.2.3");
    Game game(World::instance());
    window.setFixedSize(800, 600); // not the size of the table's picture
    trigger("actionOptions");
    trigger("actionShow_High_Scores");
    EXPECT_EQ(shown() + " " + QString::number(game.state), "grab " + QString::number(Menu));
    window.showGameMenu();
    EXPECT_EQ(shown(), "menu");
    trigger("actionShow_High_Scores");
    EXPECT_EQ(window.highScoreTableWidget()->geometry(), window.rect());
    trigger("actionOptions"); // the menu is hidden now
    EXPECT_EQ(shown() + " " + QString::number(game.state), "table " + QString::number(Panel));
    window.hideHighScores();
    EXPECT_EQ(game.state, Menu) << "closing the table brings the game back to its menu";
    EXPECT_EQ(closed, QStringList{"table"});
    settle();
    storeLowScores();
    const std::pair<const char*, std::function<void()>> screens[] = {
        {"table", [&] { window.checkHighScore(500); }},
        {"options", [&] { window.showOptions(); }},
        {"help", [&] { window.showHelp(); }},
        {"about", [&] { trigger("actionAbout"); }}};
    for (const auto& [name, show] : screens) {
        window.enableGrabbing(true);
        show();
        EXPECT_TRUE(shown().contains(name) && !shown().contains("grab"))
            << name << ": " << shown().toStdString();
    }
    World::discard();
    auto* about = window.findChild<tvx::AboutDialog*>();
    EXPECT_TRUE(about->findChild<QLabel*>("productVersion")->text().contains("1.2.3"));
    auto* credits = about->findChild<QTextBrowser*>("credits");
    EXPECT_FALSE(credits->toPlainText().isEmpty());
    about->setCreditsPath("/no/such/credits.html");
    EXPECT_TRUE(credits->toPlainText().contains("/no/such/credits.html")) << "a missing document is said so";
    about->close();
    settle();
    EXPECT_EQ(window.findChild<tvx::AboutDialog*>(), nullptr);
}

TEST_F(Window, ScreensKeepTheirPlaceAsTheWindowChanges) {
    window.showGameMenu();
    window.showOptions();
    QGraphicsProxyWidget* panel = window.optionsProxyWidget();
    EXPECT_FALSE(qobject_cast<GameOptions*>(panel->widget())->styleSheet().isEmpty());
    EXPECT_LT(QLineF(panel->sceneBoundingRect().center(), QPointF(512, 384)).length(), 1);
    window.setFixedSize(800, 600);
    settle();
    EXPECT_TRUE(std::abs(panel->sceneBoundingRect().center().x() - 400) < 1 && panel->pos().y() == 0)
        << "top middle";
    window.hideOptions();
    EXPECT_EQ(shown() + " " + closed.join(' '), "menu options");
    window.showHelp();
    HelpDialog* help = window.helpDialogWidget();
    help->reject();
    window.showHelp();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(window.helpDialogWidget() == help &&
                help->size() == HelpDialog::sizeForScreen(screen.size()) &&
                QRect(help->pos(), help->size()).center() == screen.center());
    window.hideHelp();
    EXPECT_EQ(window.helpDialogWidget(), nullptr);
}

TEST_F(Window, EscapeClosesEveryScreenQuietlyAndKeepsTheNewScore) {
    storeLowScores();
    EXPECT_FALSE(window.checkHighScore(5)) << "a score too low for the table shows none";
    ASSERT_TRUE(window.checkHighScore(500));
    window.showOptions();
    window.showCredits();
    CreditsView* credits = window.creditsViewWidget();
    EXPECT_EQ(window.creditsProxyWidget()->sceneBoundingRect(), QRectF(window.rect()));
    ASSERT_NE(credits->animation(), nullptr);
    QObject::connect(credits, &CreditsView::notifyFinished, [this] { closed << "credits"; });
    EXPECT_EQ(shown(), "table options credits");
    window.closeOverlays();
    settle();
    EXPECT_EQ(shown() + closed.join(' '), "");
    EXPECT_EQ(credits->animation(), nullptr);
    EXPECT_EQ(QSettings("Torvik", "Torvik Orbitrax").value("HighScores/1/player"), "Player 1");
}

} // namespace
