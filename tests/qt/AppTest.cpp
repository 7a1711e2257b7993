// The application: its lock, its command line, and the installed game.
#include "QtHarness.h"

#include "platform/CommandLine.h"
#include "platform/InstanceLock.h"

#include <QStandardPaths>

namespace {

TEST(Application, NeitherAStaleLockNorNowhereToWriteItBlocksAStart) {
    tvt::InstanceLock nowhere("/proc/none/torvik-orbitrax.lock");
    EXPECT_TRUE(!nowhere.acquire() && !nowhere.heldByOther());
    QTemporaryDir runtime;
    const QString folder = "XDG_RUNTIME_DIR=" + runtime.path();
    EXPECT_EQ(runRole("instance", {folder, "ORBITRAX_TEST_CRASH=1"}).out, "running 0");
    EXPECT_TRUE(QFileInfo::exists(runtime.filePath("torvik-orbitrax.lock")));
    EXPECT_EQ(runRole("instance", {folder}).out, "running 0");
}

TEST(Application, HelpAndVersionAreAnsweredOtherArgumentsGoOn) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--version"}, "Orbitrax " ORBITRAX_VERSION "\n"},
        {{"-h"}, "Usage: orbitrax"},
        {{"-platform", "offscreen", "--help"}, "Usage: orbitrax"},
        {{"--", "--version"}, nullptr},
        {{"--versions"}, nullptr}};
    for (auto [args, answer] : cases) {
        args.insert(args.begin(), "orbitrax");
        char buffer[2048] = {};
        std::FILE* out = fmemopen(buffer, sizeof buffer - 1, "w");
        EXPECT_EQ(CommandLine::answer(int(args.size()), const_cast<char**>(args.data()), out),
                  answer ? 0 : -1)
            << args.back();
        std::fclose(out);
        EXPECT_EQ(std::string(buffer).rfind(answer ? answer : "", 0), 0u) << args.back() << ": " << buffer;
    }
}

// Staged below DESTDIR as a package build does.
TEST(Application, StagedInstallationRunsFromAnyFolder) {
    QTemporaryDir stage, home;
    const QString prefix = stage.path() + "/opt/orbitrax/";
    const Outcome install =
        runProgram(QStandardPaths::findExecutable("cmake"),
                   {"--install", QFileInfo(ORBITRAX_TEST_BINARY).absolutePath(), "--prefix", "/opt/orbitrax"},
                   {"DESTDIR=" + stage.path()});
    ASSERT_EQ(install.code, 0) << install.out.toStdString() << install.err.toStdString();
    for (const char* path :
         {"share/orbitrax/Resources/textures/chars.png", "share/orbitrax/Resources/samples/tir.aiff",
          "share/applications/net.torvik.Orbitrax.desktop", "share/metainfo/net.torvik.Orbitrax.metainfo.xml",
          "share/man/man6/orbitrax.6.gz", "share/icons/hicolor/256x256/apps/net.torvik.Orbitrax.png",
          "share/icons/hicolor/scalable/apps/net.torvik.Orbitrax.svg"})
        EXPECT_TRUE(QFileInfo::exists(prefix + path)) << path;
    const QStringList env = {"HOME=" + home.path(), "XDG_CONFIG_HOME=" + home.path(),
                             "XDG_RUNTIME_DIR=" + home.path(), "ORBITRAX_RESOURCE_DIR="};
    EXPECT_EQ(runProgram(prefix + "bin/orbitrax", {"--version"}, env + QStringList{"DISPLAY="}, "/").out,
              "Orbitrax " ORBITRAX_VERSION);
    // Started for real it finds its data beside itself: a missing texture would end it with code 12 before
    // its first frame names the window. An X server of its own keeps its window from taking the tests' focus.
    const QString play =
        "\"$0\" & until xdotool search --name '^FPS:' >/dev/null; do kill -0 $! 2>/dev/null || "
        "{ wait $!; exit $?; }; sleep 0.1; done; echo playing; kill $!";
    const Outcome game =
        runProgram(QStandardPaths::findExecutable("xvfb-run"),
                   {"-a", "-s", "-screen 0 800x600x24", "sh", "-c", play, prefix + "bin/orbitrax"}, env,
                   home.path(), 120000);
    EXPECT_TRUE(game.code == 0 && game.out.endsWith("playing"))
        << game.out.toStdString() << game.err.toStdString();
}

} // namespace
