#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace lintora {

// Where the help contents come from: a "lintora.html" in the start directory, so a site can
// supply its own manual, else the manual built into the program.
QUrl helpSource(const QString& startDir);

// The help window: the manual in a browser, opened at its contents.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showContents(const QUrl& source);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

} // namespace lintora
