// The pictures, style sheet, documents and font compiled into the game are all there, of their sizes and
// fit for where they are shown.
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(EmbeddedResources, MenuHasEveryWordAtEachScreenSize) {
    struct Set {
        int screenWidth, w, h;
    };
    for (const char* word : {"play", "highscore", "options", "credits", "help", "quit"})
        for (const Set s : {Set{640, 113, 22}, Set{800, 140, 27}, Set{1024, 164, 32}, Set{1280, 226, 44}})
            for (const char* state : {"_", "_on_"}) {
                const QString path = QString(":/menu/%1%2%3.png").arg(word, state).arg(s.screenWidth);
                // The one exception: the plain "help" of the 800 set is the 1024 picture.
                const bool big = s.screenWidth == 800 && QString(state) == "_" && QString(word) == "help";
                EXPECT_EQ(QImage(path).size(), big ? QSize(164, 32) : QSize(s.w, s.h)) << path.toStdString();
            }
    EXPECT_NE(QImage(":/menu/play_1024.png"), QImage(":/menu/play_on_1024.png"));
}

TEST(EmbeddedResources, ScreenPicturesFitWhereTheyAreShown) {
    struct Picture {
        const char* path;
        QSize size;
    };
    for (const Picture p :
         {Picture{":/productinfo/iss.jpg", {1024, 768}}, Picture{":/productinfo/help.jpg", {640, 447}},
          Picture{":/productinfo/product.png", {256, 256}}, Picture{":/icons/orbitrax.png", {256, 256}},
          Picture{":/icons/downarrow.png", {16, 16}}})
        EXPECT_EQ(QImage(p.path).size(), p.size) << p.path;
    // The high-score backdrop is dark where the rows are.
    const QImage backdrop(":/productinfo/iss.jpg");
    double sum = 0;
    int n = 0;
    for (int y = 0; y < backdrop.height(); y += 8)
        for (int x = 0; x < backdrop.width() * 2 / 3; x += 8, ++n)
            sum += qGray(backdrop.pixel(x, y));
    EXPECT_LT(sum / n, 70);
    // The help picture keeps the band of the buttons calm.
    const QImage help(":/productinfo/help.jpg");
    int lo = 255, hi = 0;
    for (int y = help.height() - 36; y < help.height() - 4; ++y)
        for (int x = 0; x < help.width(); x += 4)
            lo = std::min(lo, qGray(help.pixel(x, y))), hi = std::max(hi, qGray(help.pixel(x, y)));
    EXPECT_LT(hi - lo, 24);
}

QString text(const char* path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(EmbeddedResources, DocumentsStyleSheetAndScoreFont) {
    for (const char* path : {":/productinfo/movie.html", ":/productinfo/credits.html", ":/styles/style.css"})
        EXPECT_GT(text(path).size(), 500) << path;
    const QString css = text(":/styles/style.css");
    EXPECT_EQ(css.count('{'), css.count('}'));
    for (const char* rule : {"QFrame", "QPushButton:hover", "QPushButton:disabled", "QLabel",
                             "QGroupBox::title", "QComboBox::drop-down", "url(:/icons/downarrow.png)",
                             "QComboBox QAbstractItemView", "QLineEdit", "QHeaderView::section",
                             "QScrollBar:vertical", "QRadioButton", "QCheckBox", "QTextEdit", "QTableWidget"})
        EXPECT_TRUE(css.contains(rule)) << rule;
    EXPECT_TRUE(text(":/productinfo/movie.html").contains("ORBITRAX"));
    EXPECT_TRUE(text(":/productinfo/movie.html").contains("TORVIK"));
    QFile font(":/fonts/ScoreFont.ttf");
    ASSERT_TRUE(font.open(QIODevice::ReadOnly));
    EXPECT_EQ(font.read(4), QByteArray("\x00\x01\x00\x00", 4)); // TrueType
    EXPECT_GT(font.size(), 100000);
}

} // namespace
