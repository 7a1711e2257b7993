#include "ui/CreditsView.h"
#include "ui/GameMenu.h"
#include "ui/HelpDialog.h"
#include "ui/MenuPushButton.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QScrollBar>

#include <cmath>

namespace {

const char* const ButtonNames[] = {"play", "highscore", "options", "credits", "help", "quit"};

// Mean difference per channel between a face and a picture file brought to the face's size.
double difference(const QPixmap& face, const QString& file) {
    const QImage a = face.toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage(file)
                         .scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_ARGB32);
    if (a.isNull() || b.isNull())
        return 1e9;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
}

// The face is the expected picture, not its pressed twin nor another set's.
bool samePicture(const QPixmap& face, const QString& base, const QString& expected) {
    const double own = difference(face, expected);
    for (const char* middle : {"_", "_on_"})
        for (int width : {640, 800, 1024, 1280}) {
            const QString other = base + middle + QString::number(width) + ".png";
            // Sets may share a picture (the 800 help face is drawn like the 1024 one).
            if (other == expected || difference(QPixmap(expected), other) < 1.0)
                continue;
            if (difference(face, other) <= own)
                return false;
        }
    return own < 8.0;
}

TEST(Menu, PictureSetFollowsTheWidth) {
    const int cases[][2] = {{640, 640}, {800, 800}, {1024, 1024}, {1280, 1280}, {1152, 1280}, {1920, 1280}};
    for (const auto& c : cases)
        EXPECT_EQ(GameMenu::pictureWidth(c[0]), c[1]);

    if (!QFile::exists(":/menu/play_800.png"))
        GTEST_SKIP() << "menu pictures not built in";
    GameMenu menu;
    menu.resize(210, 280);
    menu.layout()->activate();
    for (int width : {800, 1152, 640}) {
        menu.resizeForScreen(width, 600);
        const QString digits = QString::number(GameMenu::pictureWidth(width));
        for (const char* name : ButtonNames) {
            auto* button = qobject_cast<MenuPushButton*>(menu.button(name));
            ASSERT_NE(button, nullptr);
            const QString base = QStringLiteral(":/menu/") + name;
            EXPECT_TRUE(samePicture(button->face(), base, base + "_" + digits + ".png")) << name << width;
            button->setDown(true);
            EXPECT_TRUE(samePicture(button->face(), base, base + "_on_" + digits + ".png")) << name << width;
            button->setDown(false);
        }
    }
}

TEST(Menu, FormAndExclusiveButtons) {
    GameMenu menu;
    EXPECT_EQ(menu.size(), QSize(210, 280));
    EXPECT_EQ(menu.pos(), QPoint(50, 50));
    for (const char* name : ButtonNames) {
        QPushButton* button = menu.button(name);
        ASSERT_NE(qobject_cast<MenuPushButton*>(button), nullptr) << name;
        EXPECT_TRUE(button->isFlat());
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_EQ(button->iconSize(), QSize(164, 32));
    }
    EXPECT_FALSE(menu.button("play")->isCheckable());
    EXPECT_FALSE(menu.button("help")->isCheckable());
    // Without a game the buttons do nothing, but the checks are exclusive.
    menu.button("highscore")->click();
    EXPECT_TRUE(menu.button("highscore")->isChecked());
    menu.button("options")->click();
    EXPECT_TRUE(menu.button("options")->isChecked());
    EXPECT_FALSE(menu.button("highscore")->isChecked());
}

struct Credits : ::testing::Test {
    void SetUp() override {
        view.resize(1024, 768);
        view.show();
        connect();
    }
    void connect() {
        QObject::connect(&view, &CreditsView::notifyFinished, [this] { ++finished; });
    }
    static QString document() {
        QString html = "<html><body>";
        for (int i = 0; i < 200; ++i)
            html += QStringLiteral("<p>Credit line %1</p>").arg(i);
        return html + "</body></html>";
    }
    CreditsView view;
    int finished = 0;
};

TEST_F(Credits, ColumnWidthAndScrollRange) {
    view.setCredits(document());
    EXPECT_EQ(view.textView()->width(), 716);
    QPropertyAnimation* animation = view.animation();
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->duration(), 90000);
    EXPECT_EQ(animation->startValue().toInt(), 100);
    QScrollBar* bar = view.scrollBar();
    EXPECT_GT(bar->maximum(), 1000);
    EXPECT_EQ(animation->endValue().toInt(), bar->maximum() + 2 * 768);

    animation->setCurrentTime(0);
    EXPECT_EQ(bar->value(), 100);
    animation->setCurrentTime(30000);
    const int third = 100 + (animation->endValue().toInt() - 100) / 3;
    EXPECT_NEAR(bar->value(), qMin(third, bar->maximum()), 2);
    EXPECT_EQ(finished, 0);

    // A new document keeps the running scroll.
    view.setCredits(document());
    EXPECT_EQ(view.animation(), animation);

    // Running out ends the credits once.
    animation->setCurrentTime(90000);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(view.animation(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Shown again, the scroll starts over from 100.
    view.setCredits(document());
    ASSERT_NE(view.animation(), nullptr);
    EXPECT_EQ(view.animation()->startValue().toInt(), 100);
    EXPECT_EQ(bar->value(), 100);
}

TEST_F(Credits, KeyOrClickEndsTheCredits) {
    view.setCredits(document());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&view, &key);
    // The scroll stops at once; the end is announced once the key has gone its way.
    EXPECT_EQ(view.animation(), nullptr);
    EXPECT_EQ(finished, 0);
    QCoreApplication::sendEvent(&view, &key);
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 1);
    const int stoppedAt = view.scrollBar()->value();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.scrollBar()->value(), stoppedAt);

    view.setCredits(document());
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &click);
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(view.animation(), nullptr);

    // Idle, a key still ends the credits.
    QCoreApplication::sendEvent(&view, &key);
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 3);

    // Once the screen is gone (Escape through the game), a late key announces nothing.
    QCoreApplication::sendEvent(&view, &key);
    view.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 3);
    view.show();

    // Stopping quietly announces nothing.
    view.setCredits(document());
    view.stopScroll();
    EXPECT_EQ(view.animation(), nullptr);
    EXPECT_EQ(finished, 3);
}

TEST(Help, SizeLeavesAMarginOnSmallScreens) {
    EXPECT_EQ(HelpDialog::sizeForScreen({1280, 1024}), QSize(640, 447));
    EXPECT_EQ(HelpDialog::sizeForScreen({690, 497}), QSize(640, 447));
    EXPECT_EQ(HelpDialog::sizeForScreen({640, 480}), QSize(590, 430));
    EXPECT_EQ(HelpDialog::sizeForScreen({320, 200}), QSize(270, 150));
    EXPECT_EQ(HelpDialog::sizeForScreen({10, 10}), QSize(1, 1));
    HelpDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Orbitrax Help");
    EXPECT_EQ(dialog.size(), QSize(640, 447));
}

} // namespace
