#include "PlatformTestSupport.h"

#include "platform/AboutDialog.h"
#include "platform/FileUtils.h"
#include "platform/HelpManager.h"
#include "platform/InstanceLock.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QOpenGLContext>
#include <QProcess>
#include <QSettings>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Runs this test program again in a child role, with its runtime folder in `runtime`.
QProcess* startRole(const char* role, const QString& runtime, QObject* parent,
                    const QString& configHome = QString()) {
    auto* child = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORBITRAX_TEST_ROLE", role);
    env.insert("XDG_RUNTIME_DIR", runtime);
    if (!configHome.isEmpty())
        env.insert("XDG_CONFIG_HOME", configHome);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child->setProcessEnvironment(env);
    child->setProcessChannelMode(QProcess::MergedChannels);
    child->start(QCoreApplication::applicationFilePath(), {});
    return child;
}

QString probe(const QString& runtime, const QString& configHome = QString()) {
    QObject owner;
    QProcess* child = startRole("probe", runtime, &owner, configHome);
    child->waitForFinished(20000);
    return QString::fromLocal8Bit(child->readAll()).trimmed();
}

TEST(SingleInstance, SecondInstanceSeesTheFirstAndTakesOverAStaleLock) {
    QTemporaryDir runtime;
    QObject owner;
    QProcess* first = startRole("hold", runtime.path(), &owner);
    ASSERT_TRUE(first->waitForReadyRead(20000));
    EXPECT_EQ(QString::fromLocal8Bit(first->readAll()).trimmed(), QStringLiteral("holding 1"));
    EXPECT_EQ(probe(runtime.path()), QStringLiteral("running 1"));
    // Killed without a chance to clean up: its lock stays behind and must not block the next start.
    first->kill();
    first->waitForFinished(5000);
    EXPECT_TRUE(QFile::exists(runtime.filePath("torvik-orbitrax.lock")));
    EXPECT_EQ(probe(runtime.path()), QStringLiteral("running 0"));
}

TEST(SingleInstance, ThisProcessIsTheOnlyInstance) {
    auto* app = static_cast<TestApp*>(qApp);
    EXPECT_FALSE(app->isRunning());
    // A second attempt on the same lock fails while this process holds it.
    tvt::InstanceLock again(tvt::InstanceLock::defaultPath());
    EXPECT_FALSE(again.acquire());
    EXPECT_TRUE(again.heldByOther());
}

TEST(SingleInstance, UnwritableRuntimeFolderDoesNotBlockTheGame) {
    tvt::InstanceLock lock(QStringLiteral("/proc/no-such-folder/torvik-orbitrax.lock"));
    EXPECT_FALSE(lock.acquire());
    EXPECT_FALSE(lock.heldByOther());
}

TEST(Settings, OneStoreUnderTheOrganisationAndApplicationNames) {
    auto* app = static_cast<TestApp*>(qApp);
    QSettings* store = app->settings();
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store, app->settings());
    EXPECT_EQ(store, tvt::QtSingleApplication::appSettings());
    EXPECT_EQ(store->organizationName(), QStringLiteral("Torvik"));
    EXPECT_EQ(store->applicationName(), QStringLiteral("Torvik Orbitrax"));
    EXPECT_EQ(store->fileName(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Torvik/Torvik Orbitrax.conf");
    store->setValue("Graphic/Width", 1024);
    store->sync();
    EXPECT_EQ(store->status(), QSettings::NoError);
    EXPECT_TRUE(QFile::exists(store->fileName()));
}

TEST(Settings, ValuesSurviveARestartUnderTheirOwnNames) {
    QTemporaryDir folder;
    const QString config = folder.filePath("config");
    QObject owner;
    for (int run = 0; run < 2; ++run) {
        QProcess* writer = startRole("write", folder.path(), &owner, config);
        ASSERT_TRUE(writer->waitForFinished(20000));
        QProcess* reader = startRole("read", folder.path(), &owner, config);
        ASSERT_TRUE(reader->waitForFinished(20000));
        // The clean-exit mark and the force-feedback choice are in the "general" group.
        EXPECT_EQ(QString::fromLocal8Bit(reader->readAll()).trimmed(), QStringLiteral("0 0 800"))
            << "run " << run;
    }
    QFile file(config + "/Torvik/Torvik Orbitrax.conf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).count("General]"), 1);
}

TEST(Settings, UnwritableSettingsFolderIsSurvived) {
    QTemporaryDir runtime;
    // A plain file where the settings folder should be: nothing can be created below it.
    QFile blocker(runtime.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QObject owner;
    QProcess* child = startRole("settings", runtime.path(), &owner, blocker.fileName() + "/config");
    ASSERT_TRUE(child->waitForFinished(20000));
    EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child->exitCode(), 0);
    EXPECT_EQ(QString::fromLocal8Bit(child->readAll()).trimmed(),
              QStringLiteral("status %1").arg(int(QSettings::AccessError)));
}

TEST(Application, OpenGlDefaultsAreSetBeforeTheApplication) {
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
    const QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    EXPECT_EQ(format.depthBufferSize(), 24);
    EXPECT_EQ(format.stencilBufferSize(), 8);
    EXPECT_EQ(format.swapInterval(), 0);
    EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
}

TEST(Application, NewMainWindowIsShownAndActive) {
    TestWindow* window = testWindow();
    EXPECT_TRUE(window->isVisible());
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        EXPECT_TRUE(window->isActiveWindow());
    }
    EXPECT_EQ(window->getSDLWidget(), window->view);
    EXPECT_EQ(SDL_QWidget::current(), window->view);
}

TEST(FileUtils, ResourceFolderFromEnvironmentBuildTreeOrInstall) {
    const QByteArray saved = qgetenv("ORBITRAX_RESOURCE_DIR");
    qputenv("ORBITRAX_RESOURCE_DIR", "/opt/orbitrax-data");
    EXPECT_EQ(tvx::FileUtils::applicationResourceFolder(), QStringLiteral("/opt/orbitrax-data"));
    qunsetenv("ORBITRAX_RESOURCE_DIR");
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const bool hadResources = exeDir.exists("Resources");
    if (!hadResources) {
        EXPECT_EQ(tvx::FileUtils::applicationResourceFolder(),
                  QDir::cleanPath(exeDir.path() + "/../share/orbitrax"));
    }
    if (hadResources || exeDir.mkdir("Resources")) {
        EXPECT_EQ(tvx::FileUtils::applicationResourceFolder(), exeDir.path());
        if (!hadResources)
            exeDir.rmdir("Resources");
    }
    if (!saved.isEmpty())
        qputenv("ORBITRAX_RESOURCE_DIR", saved);
}

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

TEST(HelpManager, ActionsOpenTheSitesAndTheFeedbackMail) {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    QDesktopServices::setUrlHandler("mailto", &recorder, "open");
    tvx::HelpManager* help = tvx::HelpManager::instance();
    EXPECT_EQ(help, tvx::HelpManager::instance());
    help->openProductWebsite();
    help->openWebsite();
    help->openSupportWebsite();
    help->sendFeedback();
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("mailto");
    ASSERT_EQ(recorder.urls.size(), 4);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(recorder.urls[k].scheme(), QStringLiteral("https"));
        EXPECT_EQ(recorder.urls[k].host(), QStringLiteral("torvik.example"));
    }
    EXPECT_NE(recorder.urls[0], recorder.urls[1]);
    EXPECT_NE(recorder.urls[1], recorder.urls[2]);
    EXPECT_EQ(recorder.urls[3].scheme(), QStringLiteral("mailto"));

    int requests = 0;
    QObject::connect(help, &tvx::HelpManager::requestAboutDialog, &recorder, [&requests] { ++requests; });
    help->showAbout();
    EXPECT_EQ(requests, 1);
}

TEST(AboutDialog, ShowsWhatItWasGiven) {
    QTemporaryDir folder;
    QFile credits(folder.filePath("credits.html"));
    ASSERT_TRUE(credits.open(QIODevice::WriteOnly));
    credits.write("<html><body><h1>Made by</h1><p>The Orbitrax crew</p></body></html>");
    credits.close();
    tvx::AboutDialog dialog;
    dialog.setFullProductName("Torvik Orbitrax");
    dialog.setProductVersion("1.0.0");
    QPixmap picture(64, 64);
    picture.fill(Qt::darkCyan);
    dialog.setProductPicture(picture);
    dialog.setCreditsPath(credits.fileName());
    dialog.setAcknowledgementsFile("Acknowledgements.pdf");
    EXPECT_EQ(dialog.findChild<QLabel*>("productName")->text(), QStringLiteral("Torvik Orbitrax"));
    EXPECT_TRUE(dialog.findChild<QLabel*>("productVersion")->text().contains("1.0.0"));
    EXPECT_FALSE(dialog.findChild<QLabel*>("picture")->pixmap().isNull());
    EXPECT_TRUE(dialog.findChild<QTextBrowser*>("credits")->toPlainText().contains("The Orbitrax crew"));
    EXPECT_TRUE(dialog.findChild<QLabel*>("acknowledgements")->text().contains("Acknowledgements.pdf"));
    // A missing credits document is said so, not a crash or an empty box.
    dialog.setCreditsPath(folder.filePath("missing.html"));
    EXPECT_TRUE(dialog.findChild<QTextBrowser*>("credits")->toPlainText().contains("missing.html"));
}

} // namespace

#include "ApplicationTest.moc"
