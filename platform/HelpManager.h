#pragma once

#include <QObject>

namespace tvx {

// Help actions of the Help menu; web pages open in the desktop's browser, failures are ignored.
class HelpManager : public QObject {
    Q_OBJECT
public:
    static HelpManager* instance();

    void showAbout();
    void sendFeedback();
    void openWebsite();
    void openSupportWebsite();
    void openProductWebsite();

signals:
    void requestAboutDialog();

private:
    HelpManager();
};

} // namespace tvx
