#include "ui/window_observer.h"

#include <QMetaObject>
#include <QString>
#include <QThread>

namespace lintora {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

template <typename Call> void WindowObserver::runAndWait(Call&& call) {
    if (QThread::currentThread() == m_context->thread())
        call(); // already on the GUI thread: a blocking queued call would wait for itself
    else
        QMetaObject::invokeMethod(m_context, std::forward<Call>(call),
                                  Qt::BlockingQueuedConnection);
}

void WindowObserver::message(std::string_view text) {
    const QString shown = toQString(text);
    runAndWait([this, &shown] { m_target.showRunMessage(shown); });
}

bool WindowObserver::question(std::string_view text) {
    const QString asked = toQString(text);
    bool yes = false;
    runAndWait([this, &asked, &yes] { yes = m_target.askRunQuestion(asked); });
    return yes;
}

void WindowObserver::progress(int value, std::string_view caption) {
    Target* target = &m_target;
    QMetaObject::invokeMethod(
        m_context,
        [target, value, text = toQString(caption)] { target->showRunProgress(value, text); },
        Qt::QueuedConnection);
}

void WindowObserver::hideProgress() {
    Target* target = &m_target;
    QMetaObject::invokeMethod(
        m_context, [target] { target->hideRunProgress(); }, Qt::QueuedConnection);
}

} // namespace lintora
