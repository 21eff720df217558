#include "ui/shared_file_dialog.h"

#include "ui/window_services.h"

namespace lintora {

QString SharedFileDialog::filterText(Filter filter) {
    switch (filter) {
    case Filter::Netlist:
        return QStringLiteral("ネットファイル (*.NET *.WRL *.CCF *.ALT *.SMP *.NPL);;"
                              "全てのファイル (*)");
    case Filter::SwapFile:
        return QStringLiteral("ネットファイル (*.SWP *.TXT);;全てのファイル (*)");
    case Filter::NetlistMenu:
        return QStringLiteral("ネットファイル (*.NET *.WRL *.ALT *.SMP)");
    }
    return {};
}

std::optional<QString> SharedFileDialog::choose(QWidget* parent, Filter filter) {
    const QString start = m_lastFile.isEmpty() ? m_startDir : m_lastFile;
    auto chosen = m_services.chooseOpenFile(parent, filterText(filter), start);
    if (chosen)
        m_lastFile = *chosen;
    return chosen;
}

} // namespace lintora
