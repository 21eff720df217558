#include "ui/progress_window.h"

#include "ui/window_texts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lintora {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(texts::kAppTitle + QStringLiteral("の処理状況"));

    auto* title = new QLabel(texts::kAppTitle, this);
    title->setObjectName(QStringLiteral("Label2"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    m_step = new QLabel(this);
    m_step->setObjectName(QStringLiteral("Label1"));
    m_step->setMinimumWidth(300);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setEnabled(false);
    m_ok->setAutoDefault(true); // Enter presses it once it has the focus
    connect(m_ok, &QPushButton::clicked, this, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    layout->addWidget(m_ok, 0, Qt::AlignRight);
    setFixedSize(sizeHint());
}

void ProgressWindow::reset() {
    m_ok->setEnabled(false);
    m_bar->setValue(0);
    m_step->clear();
}

void ProgressWindow::setStep(int value, const QString& caption) {
    m_bar->setValue(value);
    m_step->setText(caption);
}

void ProgressWindow::enableOk() {
    m_ok->setEnabled(true);
    m_ok->setFocus(); // Enter closes the window
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (m_ok->isEnabled())
        event->accept();
    else
        event->ignore(); // the run is still working
}

} // namespace lintora
