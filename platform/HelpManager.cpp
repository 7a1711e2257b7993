#include "platform/HelpManager.h"

#include <QDesktopServices>
#include <QUrl>

namespace tvx {
namespace {

// Without a desktop to open them in, the actions quietly do nothing.
void open(const char* address) {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}

} // namespace

HelpManager* HelpManager::instance() {
    static HelpManager manager;
    return &manager;
}

HelpManager::HelpManager() = default;

void HelpManager::showAbout() {
    emit requestAboutDialog();
}

void HelpManager::sendFeedback() {
    open("mailto:feedback@torvik.example?subject=Orbitrax%20feedback");
}

void HelpManager::openWebsite() {
    open("https://torvik.example/");
}

void HelpManager::openSupportWebsite() {
    open("https://torvik.example/support/");
}

void HelpManager::openProductWebsite() {
    open("https://torvik.example/orbitrax/");
}

} // namespace tvx
