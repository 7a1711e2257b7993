#include "PlatformTestSupport.h"

#include "platform/GameSurface.h"
#include "platform/SDL_QScene.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QProcess>
#include <QPushButton>
#include <QGraphicsProxyWidget>
#include <QMouseEvent>
#include <QApplication>
#include <QScreen>

#include <GL/gl.h>

#include <gtest/gtest.h>

namespace {

#define REQUIRE_GL()                                                                                         \
    if (!glAvailable())                                                                                      \
    GTEST_SKIP() << "no OpenGL on this display"

// Blue background, a red quad over the upper part of the frame only (so a flipped frame shows).
void drawTestFrame() {
    sdlq::makeGameContextCurrent();
    const sdlq::Surface* surface = sdlq::videoSurface();
    glViewport(0, 0, surface->w, surface->h);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(-0.5f, 0.2f);
    glVertex2f(0.5f, 0.2f);
    glVertex2f(0.5f, 0.9f);
    glVertex2f(-0.5f, 0.9f);
    glEnd();
    sdlq::glSwapBuffers();
}

bool isRed(QColor c) {
    return c.red() > 200 && c.green() < 40 && c.blue() < 40;
}
bool isBlue(QColor c) {
    return c.blue() > 200 && c.red() < 40 && c.green() < 40;
}

class PresentTest : public ::testing::TestWithParam<sdlq::Present> {};

TEST_P(PresentTest, FrameDrawnWithGlAppearsInTheWindowUpright) {
    REQUIRE_GL();
    resetWindow();
    sdlq::setPresentMode(GetParam());
    ASSERT_NE(sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag), nullptr);
    EXPECT_EQ(GetParam() == sdlq::Present::Blit,
              qobject_cast<QOpenGLWidget*>(testWindow()->view->viewport()) != nullptr);
    waitFor([] { return testWindow()->view->viewport()->size() == QSize(320, 240); });
    QImage shot;
    // The first frames may meet a window that is still being made.
    for (int attempt = 0; attempt < 20; ++attempt) {
        drawTestFrame();
        drainEvents();
        shot = grabView();
        if (isRed(meanColor(shot, 0.3, 0.1, 0.7, 0.3)))
            break;
    }
    // ORBITRAX_SHOT_DIR keeps the pictures for a look.
    if (qEnvironmentVariableIsSet("ORBITRAX_SHOT_DIR"))
        shot.save(qEnvironmentVariable("ORBITRAX_SHOT_DIR") +
                  (GetParam() == sdlq::Present::Blit ? "/blit.png" : "/readback.png"));
    ASSERT_EQ(shot.size(), QSize(320, 240));
    EXPECT_TRUE(isRed(meanColor(shot, 0.3, 0.1, 0.7, 0.3)))
        << meanColor(shot, 0.3, 0.1, 0.7, 0.3).name().toStdString();
    EXPECT_TRUE(isBlue(meanColor(shot, 0.3, 0.7, 0.7, 0.95)));
    EXPECT_TRUE(isBlue(meanColor(shot, 0.0, 0.0, 0.1, 0.1)));
    // Each swap shows at once, not one poll late.
    const int before = GameSurface::instance()->paintCount();
    for (int k = 0; k < 10; ++k)
        drawTestFrame();
    EXPECT_GE(GameSurface::instance()->paintCount() - before, 10);
    sdlq::setPresentMode(sdlq::Present::ReadBack);
}

INSTANTIATE_TEST_SUITE_P(BothPresents, PresentTest,
                         ::testing::Values(sdlq::Present::ReadBack, sdlq::Present::Blit),
                         [](const ::testing::TestParamInfo<sdlq::Present>& info) {
                             return std::string(info.param == sdlq::Present::Blit ? "Blit" : "ReadBack");
                         });

TEST(GameView, FullScreenFrameOfAnotherShapeIsScaledBetweenBlackBars) {
    REQUIRE_GL();
    resetWindow();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    ASSERT_NE(sdlq::setVideoMode(640, 480, 0, sdlq::OpenGLFlag | sdlq::FullScreenFlag), nullptr);
    ASSERT_TRUE(waitFor([screen] { return testWindow()->view->viewport()->size() == screen; }));
    QImage shot;
    for (int attempt = 0; attempt < 20; ++attempt) {
        drawTestFrame();
        drainEvents();
        shot = grabView();
        if (shot.size() == screen && isBlue(meanColor(shot, 0.4, 0.9, 0.6, 0.92)))
            break;
    }
    // The 4:3 frame fills the width; what is left above and below stays black.
    const QSize shown = QSize(640, 480).scaled(screen, Qt::KeepAspectRatio);
    const double bar = (screen.height() - shown.height()) / 2.0 / screen.height();
    EXPECT_TRUE(isBlue(meanColor(shot, 0.0, bar + 0.02, 0.1, 0.5)));
    EXPECT_TRUE(isRed(meanColor(shot, 0.3, bar + 0.1 * (1 - 2 * bar), 0.7, bar + 0.3 * (1 - 2 * bar))));
    if (bar > 0.01) {
        const QColor top = meanColor(shot, 0.0, 0.0, 1.0, bar * 0.8);
        EXPECT_LT(top.red() + top.green() + top.blue(), 10);
    }
    sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag);
    drainEvents();
}

TEST(GameView, MultisampledFrameInTheBlitPresent) {
    REQUIRE_GL();
    resetWindow();
    QSurfaceFormat format = testWindow()->view->sdlScene()->format();
    QSurfaceFormat sampled = format;
    sampled.setSamples(4);
    testWindow()->view->sdlScene()->setFormat(sampled);
    sdlq::setPresentMode(sdlq::Present::Blit);
    ASSERT_NE(sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag), nullptr);
    EXPECT_GT(GameSurface::instance()->frameSamples(), 1);
    EXPECT_GE(sdlq::depthBits(), 24);
    EXPECT_GE(sdlq::stencilBits(), 8);
    QImage shot;
    for (int attempt = 0; attempt < 20; ++attempt) {
        drawTestFrame();
        drainEvents();
        shot = grabView();
        if (isRed(meanColor(shot, 0.3, 0.1, 0.7, 0.3)))
            break;
    }
    EXPECT_TRUE(isRed(meanColor(shot, 0.3, 0.1, 0.7, 0.3)));
    EXPECT_TRUE(isBlue(meanColor(shot, 0.3, 0.7, 0.7, 0.95)));
    testWindow()->view->sdlScene()->setFormat(format);
    sdlq::setPresentMode(sdlq::Present::ReadBack);
    sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag);
    // The read-back present draws single-sampled, whatever the scene asks.
    testWindow()->view->sdlScene()->setFormat(sampled);
    sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag);
    EXPECT_EQ(GameSurface::instance()->frameSamples(), 0);
    testWindow()->view->sdlScene()->setFormat(format);
}

TEST(GameView, PresentChosenByRendererUnlessTheEnvironmentSays) {
    REQUIRE_GL();
    const bool software = QString::fromUtf8(sdlq::rendererName()).contains("llvmpipe") ||
                          QString::fromUtf8(sdlq::rendererName()).contains("softpipe");
    const struct {
        const char* chosen;
        const char* expected;
    } cases[] = {{"", software ? "present readback" : "present blit"},
                 {"blit", "present blit"},
                 {"readback", "present readback"},
                 {"nonsense", software ? "present readback" : "present blit"}};
    for (const auto& c : cases) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ORBITRAX_TEST_ROLE", "present");
        env.insert("ORBITRAX_PRESENT", c.chosen);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        ASSERT_TRUE(child.waitForFinished(20000));
        EXPECT_EQ(QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed(), QString(c.expected))
            << "ORBITRAX_PRESENT=" << c.chosen;
    }
}

TEST(GameView, FrameBufferHasDepthAndWorkingStencil) {
    REQUIRE_GL();
    resetWindow();
    EXPECT_GE(sdlq::depthBits(), 24);
    EXPECT_GE(sdlq::stencilBits(), 8);
    sdlq::makeGameContextCurrent();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    // Mark the left half in the stencil only, then fill where marked.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_ALWAYS, 1, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glRectf(-1, -1, 0, 1);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColor3f(0, 1, 0);
    glRectf(-1, -1, 1, 1);
    glDisable(GL_STENCIL_TEST);
    unsigned char left[4] = {}, right[4] = {};
    glReadPixels(40, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left);
    glReadPixels(280, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right);
    EXPECT_EQ(left[1], 255);
    EXPECT_EQ(right[1], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GameView, GameContextAndFrameBufferAreBackAfterQtPainted) {
    REQUIRE_GL();
    for (sdlq::Present present : {sdlq::Present::Blit, sdlq::Present::ReadBack}) {
        resetWindow();
        sdlq::setPresentMode(present);
        drawTestFrame();
        testWindow()->view->viewport()->repaint();
        drainEvents();
        QOpenGLContext* current = QOpenGLContext::currentContext();
        ASSERT_NE(current, nullptr);
        EXPECT_NE(current, QOpenGLContext::globalShareContext());
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_NE(bound, 0);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 320);
        if (auto* glView = qobject_cast<QOpenGLWidget*>(testWindow()->view->viewport())) {
            EXPECT_NE(current, glView->context());
        }
    }
}

TEST(GameView, SlotsRunByClicksFindTheGameContextCurrent) {
    REQUIRE_GL();
    resetWindow();
    sdlq::setPresentMode(sdlq::Present::Blit);
    SDL_QWidget* view = testWindow()->view;
    auto* button = new QPushButton(QStringLiteral("Play"));
    button->resize(100, 40);
    QOpenGLContext* inSlot = nullptr;
    QObject::connect(button, &QPushButton::clicked, [&inSlot] { inSlot = QOpenGLContext::currentContext(); });
    QGraphicsProxyWidget* proxy = view->addWidget(button);
    proxy->setPos(20, 20);
    proxy->show();
    view->enableGrabbing(false);
    drawTestFrame();
    QOpenGLContext* game = QOpenGLContext::currentContext();
    // As if Qt had left the view's own context current after painting.
    auto* glView = qobject_cast<QOpenGLWidget*>(view->viewport());
    ASSERT_NE(glView, nullptr);
    glView->makeCurrent();
    ASSERT_NE(QOpenGLContext::currentContext(), game);
    const QPoint at(70, 40);
    QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &release);
    EXPECT_EQ(inSlot, game);
    delete button;
    sdlq::setPresentMode(sdlq::Present::ReadBack);
}

TEST(GameView, StateSetOnceSurvivesPresents) {
    REQUIRE_GL();
    resetWindow();
    sdlq::makeGameContextCurrent();
    glEnable(GL_FOG);
    glEnable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0.25f, 0.5f, 0.75f, 1);
    for (int k = 0; k < 3; ++k) {
        sdlq::glSwapBuffers();
        drainEvents();
    }
    // A resize of the window makes a new frame buffer, in the same context.
    testWindow()->setFixedSize(300, 200);
    waitFor([] {
        drainEvents();
        return sdlq::videoSurface()->w == 300;
    });
    EXPECT_EQ(sdlq::videoSurface()->w, 300);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[2], 0.75f);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);
    glClearColor(0, 0, 0, 1);
}

TEST(GameView, ContextExistsBeforeTheFirstVideoMode) {
    REQUIRE_GL();
    // The engine asks the renderer's limits before any video mode is set.
    sdlq::makeGameContextCurrent();
    ASSERT_NE(QOpenGLContext::currentContext(), nullptr);
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
    EXPECT_STRNE(sdlq::rendererName(), "");
}

TEST(GameView, SetVideoModeFixesTheWindowAndFullScreenCoversTheScreen) {
    REQUIRE_GL();
    resetWindow();
    TestWindow* window = testWindow();
    sdlq::Surface* surface = sdlq::setVideoMode(400, 300, 0, sdlq::OpenGLFlag);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->w, 400);
    EXPECT_FALSE(surface->fullScreen);
    EXPECT_TRUE(waitFor([window] { return window->size() == QSize(400, 300); }));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    surface = sdlq::setVideoMode(640, 480, 0, sdlq::OpenGLFlag | sdlq::FullScreenFlag);
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->fullScreen);
    EXPECT_EQ(surface->w, 640);
    EXPECT_TRUE(waitFor([window, screen] { return window->geometry() == screen; }))
        << window->geometry().width() << "x" << window->geometry().height();
    // A full-screen frame of another size is shown scaled, and the game hears of no resize.
    drawTestFrame();
    EXPECT_TRUE(drainEvents().empty());
    EXPECT_EQ(sdlq::videoSurface()->w, 640);

    surface = sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag);
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(waitFor([window] { return window->size() == QSize(320, 240) && !window->isFullScreen(); }));
    drainEvents();
}

TEST(GameView, ViewResizeReachesTheGameAsAResizeEvent) {
    REQUIRE_GL();
    resetWindow();
    TestWindow* window = testWindow();
    window->setFixedSize(360, 270);
    std::vector<sdlq::Event> seen;
    waitFor([&seen] {
        for (const sdlq::Event& e : drainEvents())
            seen.push_back(e);
        return !seen.empty();
    });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().type, sdlq::VideoResizeEvent);
    EXPECT_EQ(seen.back().width, 360);
    EXPECT_EQ(seen.back().height, 270);
    // The frame follows, so the game draws at the size it was told.
    EXPECT_EQ(sdlq::videoSurface()->w, 360);
    EXPECT_EQ(GameSurface::instance()->frameSize(), QSize(360, 270));
}

TEST(GameView, BadVideoModeFailsWithAReason) {
    REQUIRE_GL();
    EXPECT_EQ(sdlq::setVideoMode(0, 480, 0, sdlq::OpenGLFlag), nullptr);
    EXPECT_NE(std::string(SDL_GetError()).find("0x480"), std::string::npos) << SDL_GetError();
    EXPECT_EQ(sdlq::setVideoMode(100000, 480, 0, sdlq::OpenGLFlag), nullptr);
}

TEST(GameView, CaptionIsTheWindowTitle) {
    testWindow();
    sdlq::setCaption("FPS: 83", "vornium");
    EXPECT_STREQ(sdlq::caption(), "FPS: 83");
    EXPECT_EQ(testWindow()->windowTitle(), QStringLiteral("FPS: 83"));
}

TEST(VideoModes, FallbackListsStandardSizesThatFitTheScreen) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    std::vector<QSize> modes;
    const bool listed = sdlq::listModes(&modes);
    unsetenv("SDL_VIDEODRIVER");
    ASSERT_TRUE(listed);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(modes.front(), screen);
    for (size_t k = 0; k < modes.size(); ++k) {
        EXPECT_LE(modes[k].width(), screen.width());
        EXPECT_LE(modes[k].height(), screen.height());
        if (k > 0) {
            EXPECT_TRUE(
                modes[k - 1].width() > modes[k].width() ||
                (modes[k - 1].width() == modes[k].width() && modes[k - 1].height() > modes[k].height()));
        }
    }
    EXPECT_NE(std::find(modes.begin(), modes.end(), QSize(640, 480)), modes.end());
    if (screen.width() >= 1024 && screen.height() >= 768) {
        EXPECT_NE(std::find(modes.begin(), modes.end(), QSize(1024, 768)), modes.end());
    }
    if (screen.width() >= 1280 && screen.height() >= 1024) {
        EXPECT_NE(std::find(modes.begin(), modes.end(), QSize(1280, 1024)), modes.end());
    }
    EXPECT_EQ(std::find(modes.begin(), modes.end(), QSize(3840, 2160)) != modes.end(),
              screen.width() >= 3840 && screen.height() >= 2160);
}

TEST(VideoModes, SdlListsTheDisplayModesLargestFirst) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    std::vector<QSize> modes;
    ASSERT_TRUE(sdlq::listModes(&modes));
    ASSERT_FALSE(modes.empty());
    for (size_t k = 1; k < modes.size(); ++k)
        EXPECT_NE(modes[k - 1], modes[k]);
}

Uint32 fakeClock() {
    return 4242;
}

TEST(Clock, TicksSourceCanBeReplaced) {
    sdlq::setTicksSource(&fakeClock);
    EXPECT_EQ(sdlq::getTicks(), 4242u);
    sdlq::setTicksSource(nullptr);
    const Uint32 start = sdlq::getTicks();
    sdlq::delay(20);
    EXPECT_GE(sdlq::getTicks() - start, 19u);
}

} // namespace
