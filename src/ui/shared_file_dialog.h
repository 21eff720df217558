#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace lintora {

class WindowServices;

// The one file-open dialog the three browse buttons and the two menu entries share. It
// remembers the file chosen last, whichever action chose it, and opens there next time.
class SharedFileDialog {
public:
    enum class Filter {
        Netlist,     // the browse buttons of both sides
        SwapFile,    // the swap file's browse button
        NetlistMenu, // the menu entries: netlists only, no all-files entry
    };

    SharedFileDialog(WindowServices& services, QString startDir)
        : m_services(services), m_startDir(std::move(startDir)) {}

    // Shows the dialog; the chosen path, or nothing when the user cancelled (the file
    // chosen last is then kept for the next use).
    std::optional<QString> choose(QWidget* parent, Filter filter);

    const QString& lastFile() const { return m_lastFile; }

    static QString filterText(Filter filter);

private:
    WindowServices& m_services;
    QString m_startDir;
    QString m_lastFile;
};

} // namespace lintora
