// The installed game: desktop entry and metainfo that the validators accept, a prefix or a staged
// DESTDIR that runs from any folder, and the arguments the program answers itself.
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

QString sourceDir() {
    const QByteArray chosen = qgetenv("ORBITRAX_SOURCE_DIR");
    return chosen.isEmpty() ? QStringLiteral(ORBITRAX_TEST_SOURCE_DIR) : QString::fromLocal8Bit(chosen);
}

QString binary() {
    const QByteArray chosen = qgetenv("ORBITRAX_BINARY");
    return chosen.isEmpty() ? QStringLiteral(ORBITRAX_TEST_BINARY) : QString::fromLocal8Bit(chosen);
}

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& args, const QString& folder = QString(),
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int ms = 120000) {
    QProcess process;
    process.setProcessEnvironment(env);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, args);
    Outcome result;
    if (!process.waitForStarted(10000))
        return result;
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished(5000);
        result.code = 124;
    } else {
        result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// An environment of its own: settings, lock and mapping file in a throw-away home.
QProcessEnvironment isolated(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("ORBITRAX_RESOURCE_DIR");
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_RUNTIME_DIR", home);
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("LIBGL_ALWAYS_SOFTWARE", "1");
    return env;
}

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        if (sourceDir().isEmpty() || binary().isEmpty())
            GTEST_SKIP() << "run through ctest: ORBITRAX_SOURCE_DIR and ORBITRAX_BINARY name the tree";
    }
    // Installs the build into prefix (staged below destdir when that is given).
    void install(const QString& prefix, const QString& destdir = QString()) {
        const QString cmake = QStandardPaths::findExecutable("cmake");
        if (cmake.isEmpty())
            GTEST_SKIP() << "cmake is not on the PATH";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!destdir.isEmpty())
            env.insert("DESTDIR", destdir);
        const QString build = QFileInfo(binary()).absolutePath();
        const Outcome result = run(cmake, {"--install", build, "--prefix", prefix}, QString(), env);
        ASSERT_EQ(result.code, 0) << result.out.toStdString() << result.err.toStdString();
    }
};

TEST_F(Install, DesktopEntryPassesTheValidator) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    const Outcome result = run(validator, {sourceDir() + "/resources/linux/net.torvik.Orbitrax.desktop"});
    EXPECT_EQ(result.code, 0) << result.out.toStdString() << result.err.toStdString();
    EXPECT_TRUE(result.out.trimmed().isEmpty()) << "hints: " << result.out.toStdString();
}

TEST_F(Install, MetainfoPassesTheValidatorAndItsScreenshotsAreInTheTree) {
    const QString validator = QStandardPaths::findExecutable("appstreamcli");
    if (validator.isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed (package appstream)";
    const QString metainfo = sourceDir() + "/resources/linux/net.torvik.Orbitrax.metainfo.xml";
    const Outcome result = run(validator, {"validate", "--no-net", metainfo});
    EXPECT_EQ(result.code, 0) << result.out.toStdString() << result.err.toStdString();

    // Each screenshot named there is one of ours, small enough for a software centre.
    QFile file(metainfo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* name : {"menu.png", "play.png", "highscores.png"}) {
        EXPECT_TRUE(text.contains(QString("/screenshots/") + name)) << name;
        const QFileInfo shot(sourceDir() + "/docs/screenshots/" + name);
        EXPECT_TRUE(shot.isFile()) << name;
        EXPECT_LT(shot.size(), 400 * 1024) << name;
    }
}

TEST_F(Install, PrefixRunsFromAnyFolder) {
    QTemporaryDir root;
    const QString prefix = root.path() + "/usr";
    install(prefix);
    if (HasFatalFailure() || IsSkipped())
        return;
    for (const char* path :
         {"bin/orbitrax", "share/orbitrax/Resources/textures/chars.png",
          "share/applications/net.torvik.Orbitrax.desktop", "share/metainfo/net.torvik.Orbitrax.metainfo.xml",
          "share/man/man6/orbitrax.6", "share/icons/hicolor/256x256/apps/net.torvik.Orbitrax.png",
          "share/icons/hicolor/scalable/apps/net.torvik.Orbitrax.svg"})
        EXPECT_TRUE(QFileInfo::exists(prefix + "/" + path)) << path;

    QTemporaryDir home;
    const QProcessEnvironment env = isolated(home.path());
    Outcome version = run(prefix + "/bin/orbitrax", {"--version"}, QDir::rootPath(), env, 20000);
    EXPECT_EQ(version.code, 0) << version.err.toStdString();
    EXPECT_EQ(version.out.toStdString(), "Orbitrax " ORBITRAX_VERSION "\n");

    // Started for real from another folder it finds its data beside itself: a missing texture would
    // end it at once with code 12; running on until stopped means it got past loading. It gets an X
    // server of its own so that its window takes no focus from other tests.
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed: the installed game was not started";
    const Outcome game =
        run(xvfbRun, {"-a", "-s", "-screen 0 800x600x24", "timeout", "8", prefix + "/bin/orbitrax"},
            home.path(), env, 90000);
    EXPECT_EQ(game.code, 124) << "exit " << game.code << ": " << game.out.toStdString()
                              << game.err.toStdString();
    EXPECT_TRUE(game.out.contains("Depth buffer depth")) << game.out.toStdString();
    EXPECT_FALSE(game.err.contains("Error while loading")) << game.err.toStdString();
}

TEST_F(Install, StagedDestdirKeepsThePrefixLayout) {
    QTemporaryDir stage;
    install("/opt/orbitrax", stage.path());
    if (HasFatalFailure() || IsSkipped())
        return;
    const QString bin = stage.path() + "/opt/orbitrax/bin/orbitrax";
    ASSERT_TRUE(QFileInfo(bin).isExecutable());
    EXPECT_TRUE(QFileInfo::exists(stage.path() + "/opt/orbitrax/share/orbitrax/Resources/samples/tir.aiff") ||
                QDir(stage.path() + "/opt/orbitrax/share/orbitrax/Resources").count() > 2);
    QTemporaryDir home;
    const Outcome help = run(bin, {"--help"}, home.path(), isolated(home.path()), 20000);
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: orbitrax")) << help.out.toStdString();
}

TEST(CommandLineArguments, HelpAndVersionAnswerOthersGoOn) {
    struct Case {
        std::vector<const char*> args;
        int code;
        const char* startsWith;
    };
    const Case cases[] = {
        {{"orbitrax"}, -1, ""},
        {{"orbitrax", "-platform", "xcb"}, -1, ""},
        {{"orbitrax", "--version"}, 0, "Orbitrax " ORBITRAX_VERSION "\n"},
        {{"orbitrax", "-platform", "offscreen", "--help"}, 0, "Usage: orbitrax"},
        {{"orbitrax", "-h"}, 0, "Usage: orbitrax"},
        {{"orbitrax", "--", "--version"}, -1, ""},
        {{"orbitrax", "--versions"}, -1, ""},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const char* arg : c.args)
            argv.push_back(const_cast<char*>(arg));
        argv.push_back(nullptr);
        char buffer[2048] = {};
        std::FILE* out = fmemopen(buffer, sizeof buffer - 1, "w");
        ASSERT_NE(out, nullptr);
        const int code = CommandLine::answer(static_cast<int>(c.args.size()), argv.data(), out);
        std::fclose(out);
        EXPECT_EQ(code, c.code) << c.args.back();
        EXPECT_EQ(std::string(buffer).rfind(c.startsWith, 0), 0u) << c.args.back() << ": " << buffer;
    }
}

} // namespace
