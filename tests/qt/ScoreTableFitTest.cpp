#include "QtHarness.h"

#include "app/GameApp.h"
#include "ui/HighScoreLine.h"
#include "ui/HighScoreTable.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>

#include <gtest/gtest.h>

// The end-of-game table asking for a name in a window of each size: every row and Close inside the window,
// no text wider or taller than its label or field; at the designed size the designed face (0: any).
TEST(ScoreTableFit, RowsAndCloseFitTheWindow) {
    GameApp::registerFonts(); // the game's own face, as wide as the player sees it
    const int sizes[][3] = {{640, 480, 0}, {800, 600, 0}, {1280, 1024, 32}};
    for (const auto& [width, height, points] : sizes) {
        SCOPED_TRACE(width);
        QWidget window;
        window.resize(width, height);
        auto* table = new HighScoreTable(&window);
        table->setGeometry(0, 0, width, height);
        ASSERT_TRUE(table->insertScore(1000000));
        table->resizeForScreen(width, height);
        window.show();
        table->layout()->activate();
        for (QWidget* part : table->findChildren<QWidget*>()) {
            const QRect place(part->mapTo(&window, QPoint(0, 0)), part->size());
            // Inside the window, and not cut by the row that holds it.
            EXPECT_TRUE(window.rect().contains(place) &&
                        part->parentWidget()->rect().contains(part->geometry()))
                << part->objectName().toStdString() << " at " << place.y();
            const auto* label = qobject_cast<QLabel*>(part);
            const QFontMetrics metrics(part->font());
            if (label)
                EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                    << label->text().toStdString();
            if (label || qobject_cast<QLineEdit*>(part))
                EXPECT_LE(metrics.height(), part->contentsRect().height())
                    << part->objectName().toStdString();
        }
        for (int i = 0; points && i < HighScoreTable::Rows; ++i)
            EXPECT_EQ(table->line(i)->findChild<QLineEdit*>()->font().pointSize(), points) << i;
    }
}
