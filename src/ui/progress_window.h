#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lintora {

// The progress window: the run's current step and a bar from 0 to 100, shown on top of
// every other window while the run works. Its OK button stays disabled until the run has
// finished; until then the window cannot be closed.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // A new run: bar 0, no caption, OK disabled.
    void reset();
    void setStep(int value, const QString& caption);
    // The run has finished: OK may close the window.
    void enableOk();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_step;
    QProgressBar* m_bar;
    QPushButton* m_ok;
};

} // namespace lintora
