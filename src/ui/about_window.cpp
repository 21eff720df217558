#include "ui/about_window.h"

#include "ui/window_services.h"
#include "ui/window_texts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace lintora {

QString versionLine() {
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
        .arg(LINTORA_VERSION_MAJOR)
        .arg(LINTORA_VERSION_MINOR)
        .arg(LINTORA_VERSION_PATCH);
}

QStringList systemInformation() {
    const QString os = QSysInfo::prettyProductName();
    const QString kernel = QSysInfo::kernelType() + ' ' + QSysInfo::kernelVersion();
    const QString cpu = QSysInfo::currentCpuArchitecture();
    if (os.isEmpty() && QSysInfo::kernelType().isEmpty() && cpu.isEmpty())
        return {};
    return {QStringLiteral("オペレーティングシステム: ") + os,
            QStringLiteral("カーネル: ") + kernel.trimmed(),
            QStringLiteral("プロセッサアーキテクチャ: ") + cpu,
            QStringLiteral("Qt バージョン: ") + QString::fromLatin1(qVersion())};
}

AboutWindow::AboutWindow(WindowServices& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(texts::kAppTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    setModal(false);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel(texts::kAppTitle, this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    title->setFont(titleFont);

    auto* version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* disclaimer = new QLabel(texts::kDisclaimer, this);
    disclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimer->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::onSystemInformation);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(disclaimer, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    resize(480, 240);
}

void AboutWindow::onSystemInformation() {
    const QStringList lines = systemInformation();
    if (lines.isEmpty()) {
        m_services.showMessage(this, texts::kNoSystemInformation);
        return;
    }
    if (m_sysInfo == nullptr) {
        m_sysInfo = new QDialog(this);
        m_sysInfo->setObjectName(QStringLiteral("systemInformation"));
        m_sysInfo->setWindowTitle(QStringLiteral("ｼｽﾃﾑ情報"));
        auto* label = new QLabel(lines.join('\n'), m_sysInfo);
        label->setObjectName(QStringLiteral("systemInformationText"));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, m_sysInfo);
        connect(box, &QDialogButtonBox::accepted, m_sysInfo, &QDialog::accept);
        auto* layout = new QVBoxLayout(m_sysInfo);
        layout->addWidget(label);
        layout->addWidget(box);
    }
    m_sysInfo->show();
    m_sysInfo->raise();
    m_sysInfo->activateWindow();
}

} // namespace lintora
