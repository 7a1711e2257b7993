#include "ui/HelpDialog.h"

#include "ui_HelpDialog.h"

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent), ui(new Ui::HelpDialog) {
    ui->setupUi(this);
}

HelpDialog::~HelpDialog() {
    delete ui;
}

QSize HelpDialog::sizeForScreen(const QSize& screen) {
    const int w = qMin(DesignedWidth, screen.width() - ScreenMargin);
    const int h = qMin(DesignedHeight, screen.height() - ScreenMargin);
    return QSize(qMax(1, w), qMax(1, h));
}

void HelpDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        setWindowTitle(tr("Orbitrax Help"));
}
