// The game view: frames drawn with the game's own context reach the window, in both presents, at any size.
#include "QtHarness.h"

#include "platform/GameSurface.h"
#include "platform/SDL_QScene.h"

#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QScreen>

#include <GL/gl.h>

namespace {

// The colour at a point given in fractions of the picture's size: 'r' red, 'b' blue, 'k' black, '?' other.
char colour(const QImage& image, double x, double y) {
    const QColor c = image.pixelColor(int(x * image.width()), int(y * image.height()));
    const auto is = [&c](int r, int b) {
        return qAbs(c.red() - r) < 40 && c.green() < 40 && qAbs(c.blue() - b) < 40;
    };
    return is(255, 0) ? 'r' : is(0, 255) ? 'b' : is(0, 0) ? 'k' : '?';
}

// Presents frames (blue, a red block in the upper middle) until the view shows the wanted picture.
QImage showTestFrame(const std::function<bool(const QImage&)>& wanted) {
    QImage shot;
    waitFor([&] {
        sdlq::makeGameContextCurrent();
        glViewport(0, 0, sdlq::videoSurface()->w, sdlq::videoSurface()->h);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 0, 0);
        glRectf(-0.5f, 0.2f, 0.5f, 0.9f);
        sdlq::glSwapBuffers();
        drainEvents();
        QWidget* view = SDL_QWidget::current()->viewport();
        const QPoint at = view->mapToGlobal(QPoint(0, 0));
        shot = QGuiApplication::primaryScreen()
                   ->grabWindow(0, at.x(), at.y(), view->width(), view->height())
                   .toImage();
        return wanted(shot);
    });
    return shot;
}

bool upright(const QImage& shot) {
    return shot.size() == QSize(320, 240) && colour(shot, 0.5, 0.2) == 'r' && colour(shot, 0.5, 0.8) == 'b' &&
           colour(shot, 0.05, 0.05) == 'b';
}

// Read back, blitted, blitted from a multisampled frame (the read-back present never multisamples).
class Presents : public ::testing::TestWithParam<int> {};

TEST_P(Presents, FramesShowUprightAtOnceAndLeaveTheGameContextCurrent) {
    ASSERT_TRUE(glAvailable()) << "no OpenGL on this display";
    sdlq::makeGameContextCurrent();
    EXPECT_TRUE(QOpenGLContext::currentContext() && *sdlq::rendererName());
    SDL_QWidget* view = resetWindow()->view;
    QSurfaceFormat format = view->sdlScene()->format();
    format.setSamples(GetParam() == 1 ? 0 : 4);
    view->sdlScene()->setFormat(format);
    sdlq::setPresentMode(GetParam() ? sdlq::Present::Blit : sdlq::Present::ReadBack);
    ASSERT_NE(sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag), nullptr);
    EXPECT_TRUE(sdlq::depthBits() >= 24 && sdlq::stencilBits() >= 8);
    EXPECT_EQ(GameSurface::instance()->frameSamples() > 1, GetParam() == 2);
    auto* glView = qobject_cast<QOpenGLWidget*>(view->viewport());
    EXPECT_EQ(glView != nullptr, GetParam() > 0);
    EXPECT_TRUE(upright(showTestFrame(upright)));
    // Each swap shows at once, not one poll late.
    const int before = GameSurface::instance()->paintCount();
    for (int k = 0; k < 10; ++k)
        sdlq::glSwapBuffers();
    EXPECT_GE(GameSurface::instance()->paintCount() - before, 10);
    // Qt paints with its own context; the game's context and frame buffer are back once the game polls.
    view->viewport()->repaint();
    drainEvents();
    QOpenGLContext* game = QOpenGLContext::currentContext();
    EXPECT_TRUE(game && game != QOpenGLContext::globalShareContext() &&
                (!glView || game != glView->context()));
    GLint bound = 0, box[4] = {};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_VIEWPORT, box);
    EXPECT_TRUE(bound != 0 && box[2] == 320);
    // So they are for a slot that a click runs after Qt left the view's own context current.
    QPushButton button("Play");
    QOpenGLContext* inSlot = nullptr;
    QObject::connect(&button, &QPushButton::clicked,
                     [&inSlot] { inSlot = QOpenGLContext::currentContext(); });
    view->addWidget(&button)->show();
    click(view->viewport(), QPoint(10, 10)); // while the game grabs, a click is its own
    EXPECT_EQ(inSlot, nullptr);
    view->enableGrabbing(false);
    if (glView)
        glView->makeCurrent();
    click(view->viewport(), QPoint(10, 10));
    EXPECT_EQ(inSlot, game);
}

INSTANTIATE_TEST_SUITE_P(Three, Presents, ::testing::Values(0, 1, 2));

TEST(GameView, ModesFixTheWindowAndFullScreenScalesBetweenBlackBars) {
    ASSERT_TRUE(glAvailable()) << "no OpenGL on this display";
    TestWindow* window = resetWindow();
    ASSERT_NE(sdlq::setVideoMode(400, 300, 0, sdlq::OpenGLFlag), nullptr);
    EXPECT_TRUE(waitFor([window] { return window->size() == QSize(400, 300); }));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(sdlq::setVideoMode(640, 480, 0, sdlq::OpenGLFlag | sdlq::FullScreenFlag)->fullScreen);
    ASSERT_TRUE(waitFor([&] { return window->view->viewport()->geometry() == screen; }));
    // The 4:3 frame fills a narrower screen's width, between black bars; the game hears of no resize.
    const double bar =
        (1 - QSizeF(640, 480).scaled(screen.size(), Qt::KeepAspectRatio).height() / screen.height()) / 2;
    const auto shows = [bar](const QImage& s) {
        return colour(s, 0.5, bar + 0.2) == 'r' && colour(s, 0.05, 0.5) == 'b' &&
               (bar < 0.01 || (colour(s, 0.5, bar / 2) == 'k' && colour(s, 0.5, 1 - bar / 2) == 'k'));
    };
    EXPECT_TRUE(shows(showTestFrame(shows)));
    EXPECT_TRUE(drainEvents().empty() && sdlq::videoSurface()->w == 640);
    ASSERT_NE(sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag), nullptr);
    EXPECT_TRUE(waitFor([window] { return window->size() == QSize(320, 240) && !window->isFullScreen(); }));
}

TEST(GameView, WindowResizeReachesTheGameWithItsStateKept) {
    ASSERT_TRUE(glAvailable()) << "no OpenGL on this display";
    resetWindow()->setFixedSize(360, 270);
    glClearColor(0.25f, 0.5f, 0.75f, 1);
    std::vector<sdlq::Event> seen;
    ASSERT_TRUE(waitFor([&seen] { return !(seen = drainEvents()).empty(); }));
    EXPECT_TRUE(seen.back().type == sdlq::VideoResizeEvent && seen.back().width == 360 &&
                seen.back().height == 270);
    // The frame follows in the same context, so the game draws at the size it was told, as it set it up.
    EXPECT_TRUE(GameSurface::instance()->frameSize() == QSize(360, 270) && sdlq::videoSurface()->w == 360);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[2], 0.75f);
}

TEST(GameView, SidesUpTo16384AreTakenAndBadSizesRefusedWithAReason) {
    ASSERT_TRUE(glAvailable()) << "no OpenGL on this display";
    TestWindow* window = resetWindow();
    const int cases[][3] = {
        {16384, 8, true}, {16385, 8, false}, {8, 16385, false}, {0, 480, false}, {640, 0, false}};
    for (const auto& [width, height, taken] : cases) {
        sdlq::pushEvent(sdlq::Event{sdlq::VideoResizeEvent, 0, width, height});
        drainEvents();
        EXPECT_EQ(GameSurface::instance()->frameSize(), taken ? QSize(width, height) : QSize(320, 240))
            << width;
        EXPECT_EQ(sdlq::setVideoMode(width, height, 0, sdlq::OpenGLFlag) != nullptr, bool(taken)) << width;
        EXPECT_TRUE(taken || QString(SDL_GetError()).contains(QString("%1x%2").arg(width).arg(height)));
        ASSERT_NE(sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag), nullptr);
        ASSERT_TRUE(waitFor([window] { return window->view->viewport()->size() == QSize(320, 240); }));
        drainEvents();
    }
}

} // namespace
