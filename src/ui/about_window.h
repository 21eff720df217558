#pragma once

#include <QDialog>
#include <QString>

namespace lintora {

class WindowServices;

// "ﾊﾞｰｼﾞｮﾝ " and the version as major.minor.revision.
QString versionLine();

// What the system-information dialog lists: operating system, kernel, processor
// architecture and Qt version, one "name: value" line each. Empty when the system tells
// nothing.
QStringList systemInformation();

// The version window: title, version, a warning, the program's icon, OK and the
// system-information button. Shown modeless.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(WindowServices& services, QWidget* parent = nullptr);

    // The system-information dialog, once it has been opened.
    QDialog* systemInformationDialog() const { return m_sysInfo; }

private slots:
    void onSystemInformation();

private:
    WindowServices& m_services;
    QDialog* m_sysInfo = nullptr;
};

} // namespace lintora
