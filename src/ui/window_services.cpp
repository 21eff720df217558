#include "ui/window_services.h"

#include "ui/window_texts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace lintora {

void DesktopServices::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::kAppTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

bool DesktopServices::askYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, texts::kAppTitle, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

std::optional<QString> DesktopServices::chooseOpenFile(QWidget* parent, const QString& filters,
                                                       const QString& startFile) {
    // Qt's own dialog matches the filters without regard to case (netlists come as .NET and
    // .net alike); a desktop's native one may not.
    const QString chosen = QFileDialog::getOpenFileName(
        parent, texts::kAppTitle, startFile, filters, nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

bool DesktopServices::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopServices::openInDesktop(const QString& path) {
    // The desktop's handler for the file's type; no shell ever sees the name.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopServices::quitApplication() {
    QCoreApplication::quit();
}

} // namespace lintora
