// The pictures, style sheet, documents and font compiled into the game are all there and of their sizes.
#include <QFile>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace {

QImage load(const QString& path) {
    QImage img(path);
    return img;
}

TEST(EmbeddedResources, MenuHasEveryPictureAtItsSize) {
    const char* names[] = {"play", "highscore", "options", "credits", "help", "quit"};
    struct Set {
        int width, w, h;
    };
    const Set sets[] = {{640, 113, 22}, {800, 140, 27}, {1024, 164, 32}, {1280, 226, 44}};
    int count = 0;
    for (const char* name : names)
        for (const Set& s : sets)
            for (const char* state : {"_", "_on_"}) {
                const QString path = QString(":/menu/%1%2%3.png").arg(name, state).arg(s.width);
                const QImage img = load(path);
                ASSERT_FALSE(img.isNull()) << path.toStdString();
                const bool big = s.width == 800 && QString(state) == "_" && QString(name) == "help";
                EXPECT_EQ(img.width(), big ? 164 : s.w) << path.toStdString();
                EXPECT_EQ(img.height(), big ? 32 : s.h) << path.toStdString();
                ++count;
            }
    EXPECT_EQ(count, 48);
}

TEST(EmbeddedResources, PressedPictureDiffersFromTheNormalOne) {
    EXPECT_NE(load(":/menu/play_1024.png"), load(":/menu/play_on_1024.png"));
}

TEST(EmbeddedResources, PicturesOfTheScreens) {
    struct Pic {
        const char* path;
        int w, h;
    };
    const Pic pics[] = {{":/productinfo/iss.jpg", 1024, 768},
                        {":/productinfo/help.jpg", 640, 447},
                        {":/productinfo/product.png", 256, 256},
                        {":/icons/orbitrax.png", 256, 256},
                        {":/icons/downarrow.png", 16, 16}};
    for (const Pic& p : pics) {
        const QImage img = load(p.path);
        ASSERT_FALSE(img.isNull()) << p.path;
        EXPECT_EQ(img.width(), p.w) << p.path;
        EXPECT_EQ(img.height(), p.h) << p.path;
    }
}

TEST(EmbeddedResources, HighScoreBackdropIsDarkWhereTheRowsAre) {
    const QImage img = load(":/productinfo/iss.jpg");
    ASSERT_FALSE(img.isNull());
    double sum = 0;
    int n = 0;
    for (int y = 0; y < img.height(); y += 8)
        for (int x = 0; x < img.width() * 2 / 3; x += 8) {
            sum += qGray(img.pixel(x, y));
            ++n;
        }
    EXPECT_LT(sum / n, 70);
}

TEST(EmbeddedResources, HelpPictureKeepsTheButtonBandCalm) {
    const QImage img = load(":/productinfo/help.jpg");
    ASSERT_FALSE(img.isNull());
    int lo = 255, hi = 0;
    for (int y = img.height() - 36; y < img.height() - 4; ++y)
        for (int x = 0; x < img.width(); x += 4) {
            lo = std::min(lo, qGray(img.pixel(x, y)));
            hi = std::max(hi, qGray(img.pixel(x, y)));
        }
    EXPECT_LT(hi - lo, 24);
}

TEST(EmbeddedResources, DocumentsAndStyleSheet) {
    for (const char* path :
         {":/productinfo/movie.html", ":/productinfo/credits.html", ":/styles/style.css"}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path;
        EXPECT_GT(f.size(), 500) << path;
    }
    QFile css(":/styles/style.css");
    ASSERT_TRUE(css.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(css.readAll());
    EXPECT_EQ(text.count('{'), text.count('}'));
    for (const char* rule : {"QFrame", "QPushButton:hover", "QPushButton:disabled", "QLabel",
                             "QGroupBox::title", "QComboBox::drop-down", "url(:/icons/downarrow.png)",
                             "QComboBox QAbstractItemView", "QLineEdit", "QHeaderView::section",
                             "QScrollBar:vertical", "QRadioButton", "QCheckBox", "QTextEdit", "QTableWidget"})
        EXPECT_TRUE(text.contains(rule)) << rule;
    QFile movie(":/productinfo/movie.html");
    ASSERT_TRUE(movie.open(QIODevice::ReadOnly));
    const QString credits = QString::fromUtf8(movie.readAll());
    EXPECT_TRUE(credits.contains("ORBITRAX"));
    EXPECT_TRUE(credits.contains("TORVIK"));
}

TEST(EmbeddedResources, ScoreFontIsATrueTypeFile) {
    QFile f(":/fonts/ScoreFont.ttf");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(4);
    EXPECT_EQ(head, QByteArray("\x00\x01\x00\x00", 4));
    EXPECT_GT(f.size(), 100000);
}

} // namespace
