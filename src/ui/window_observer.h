#pragma once

#include "base/observer.h"

#include <QObject>
#include <QPointer>

namespace lintora {

// The run's observer as the window implements it. The run works on a worker thread; each
// call is carried to the GUI thread as a queued call on `target`. Messages and questions
// block the worker until the user has answered; progress steps do not wait, and arrive in
// the order the run made them.
class WindowObserver : public RunObserver {
public:
    class Target {
    public:
        virtual ~Target() = default;
        virtual void showRunMessage(const QString& text) = 0;
        virtual bool askRunQuestion(const QString& text) = 0;
        virtual void showRunProgress(int value, const QString& caption) = 0;
        virtual void hideRunProgress() = 0;
    };

    // `context` is the QObject whose thread (the GUI thread) runs the calls on `target`.
    WindowObserver(QObject* context, Target& target) : m_context(context), m_target(target) {}

    void message(std::string_view text) override;
    bool question(std::string_view text) override;
    void progress(int value, std::string_view caption) override;
    void hideProgress() override;

private:
    // Runs `call` on the context's thread and waits for it.
    template <typename Call> void runAndWait(Call&& call);

    QObject* m_context;
    Target& m_target;
};

} // namespace lintora
