#include "ui/help_window.h"

#include "ui/window_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace lintora {

QUrl helpSource(const QString& startDir) {
    const QFileInfo local(QDir(startDir).filePath(QStringLiteral("lintora.html")));
    if (local.isFile() && local.isReadable())
        return QUrl::fromLocalFile(local.absoluteFilePath());
    return QUrl(QStringLiteral("qrc:/help/lintora.html"));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(texts::kAppTitle + QStringLiteral(" ヘルプ"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(760, 640);
}

void HelpWindow::showContents(const QUrl& source) {
    m_browser->setSource(source);
    m_browser->scrollToAnchor(QStringLiteral("contents"));
}

} // namespace lintora
