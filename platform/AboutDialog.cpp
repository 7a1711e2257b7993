#include "platform/AboutDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tvx {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("About"));
    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("picture"));
    pictureLabel->setAlignment(Qt::AlignCenter);
    nameLabel = new QLabel(this);
    nameLabel->setObjectName(QStringLiteral("productName"));
    QFont large = nameLabel->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    nameLabel->setFont(large);
    versionLabel = new QLabel(this);
    versionLabel->setObjectName(QStringLiteral("productVersion"));
    credits = new QTextBrowser(this);
    credits->setObjectName(QStringLiteral("credits"));
    credits->setOpenExternalLinks(true);
    acknowledgementsLabel = new QLabel(this);
    acknowledgementsLabel->setObjectName(QStringLiteral("acknowledgements"));
    acknowledgementsLabel->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

    auto* heading = new QVBoxLayout();
    heading->addWidget(nameLabel);
    heading->addWidget(versionLabel);
    heading->addStretch();
    auto* top = new QHBoxLayout();
    top->addWidget(pictureLabel);
    top->addLayout(heading, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(credits, 1);
    layout->addWidget(acknowledgementsLabel);
    layout->addWidget(buttons);
    resize(480, 420);
}

void AboutDialog::setFullProductName(const QString& name) {
    nameLabel->setText(name);
    setWindowTitle(tr("About %1").arg(name));
}

void AboutDialog::setProductVersion(const QString& version) {
    versionLabel->setText(tr("Version %1").arg(version));
}

void AboutDialog::setProductPicture(const QPixmap& picture) {
    pictureLabel->setPixmap(picture.height() > 160 ? picture.scaledToHeight(160, Qt::SmoothTransformation)
                                                   : picture);
}

void AboutDialog::setCreditsPath(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        credits->setPlainText(tr("The credits could not be read from %1.").arg(path));
        return;
    }
    credits->setHtml(QString::fromUtf8(file.readAll()));
}

void AboutDialog::setAcknowledgementsFile(const QString& fileName) {
    acknowledgementsLabel->setText(tr("Acknowledgements: %1").arg(fileName));
}

} // namespace tvx
