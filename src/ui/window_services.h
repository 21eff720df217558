#pragma once

#include <QString>

#include <optional>

class QPrinter;
class QWidget;

namespace lintora {

// Everything the window does that waits on the user or reaches outside the program: modal
// dialogs and launching other programs. The window reaches them only through this seam, so
// the tests replace them and never block on a modal window.
class WindowServices {
public:
    virtual ~WindowServices() = default;
    // A message box with the application's title and an OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // A Yes/No question with the question icon; true means Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // The file-open dialog: `filters` in Qt's form ("Name (*.a *.b);;Other (*)"), opening
    // at `startFile`. Nothing when cancelled.
    virtual std::optional<QString> chooseOpenFile(QWidget* parent, const QString& filters,
                                                  const QString& startFile) = 0;
    // The printer dialog on `printer`; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Opens a file in the desktop's default application for it, without waiting. False
    // when nothing could be started.
    virtual bool openInDesktop(const QString& path) = 0;
    // Ends the program.
    virtual void quitApplication() = 0;
};

// The real dialogs and the desktop's launcher.
class DesktopServices : public WindowServices {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& filters,
                                          const QString& startFile) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    bool openInDesktop(const QString& path) override;
    void quitApplication() override;
};

} // namespace lintora
