#pragma once

#include <QDialog>

class QLabel;
class QTextBrowser;

namespace tvx {

// The About box: product name, version, picture and credits document.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    void setFullProductName(const QString& name);
    void setProductVersion(const QString& version);
    void setProductPicture(const QPixmap& picture);
    void setCreditsPath(const QString& path);
    void setAcknowledgementsFile(const QString& fileName);

private:
    QLabel* pictureLabel = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QTextBrowser* credits = nullptr;
    QLabel* acknowledgementsLabel = nullptr;
};

} // namespace tvx
