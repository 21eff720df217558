#pragma once

#include "base/limits.h"
#include "run/comparison_run.h"
#include "ui/check_sheet_action.h"
#include "ui/result_views.h"
#include "ui/shared_file_dialog.h"
#include "ui/window_observer.h"

#include <QFont>
#include <QFuture>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lintora {

class AboutWindow;
class HelpWindow;
class ProgressWindow;
class WindowServices;

// Where the window works and to which capacities.
struct WindowSetup {
    // The working directory: reports and scratch files go here, the result views read from
    // here, and a site's own help file is looked up here. Absolute.
    std::filesystem::path workDir;
    Limits limits;
};

// The main window: every input of a comparison, the buttons and menus that start it, show
// and print its results, and the result box. A thin layer over the core: it fills the
// run's inputs from its controls, runs the comparison on a worker thread and shows what the
// run tells it. Controls carry their well-known names as object names (Command4, Text1).
class MainWindow : public QMainWindow, private WindowObserver::Target {
    Q_OBJECT
public:
    MainWindow(WindowServices& services, WindowSetup setup,
               CheckSheetExport checkSheet = defaultCheckSheetExport(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // Pre-fills the two netlist paths (from the command line).
    void setPaths(const QString& path1, const QString& path2);
    // The run's inputs as the controls hold them.
    RunInputs inputsFromControls() const;
    // A comparison or check sheet is working.
    bool isBusy() const { return m_busy; }

    ProgressWindow* progressWindow() const { return m_progress; }
    HelpWindow* helpWindow() const { return m_help; }
    AboutWindow* aboutWindow() const { return m_about; }

signals:
    // A progress step has reached the progress window (on the GUI thread).
    void progressShown(int value, const QString& caption);
    // A comparison started from the window has ended, with its outcome.
    void runFinished(lintora::RunOutcome outcome);
    // The check-sheet action has ended.
    void checkSheetFinished();
    // Proposing the swap file ("バックアノテーション") has ended; `written` when
    // swap-proposal.swp was written and put into the swap-file box.
    void swapProposalFinished(bool written);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onBrowseSide1();
    void onBrowseSide2();
    void onBrowseSwapFile();
    void onMenuBrowseSide1();
    void onMenuBrowseSide2();
    void onBackAnnotation();
    void onStart();
    void onEnd();
    void onPrint();
    void onOpenNetReport();
    void onOpenPartsReport();
    void onOpenErrorLog();
    void onShowNetReport();
    void onShowPartsReport();
    void onShowErrorLog();
    void onCheckSheet();
    void onHelpContents();
    void onVersion();
    void onSide2PathChanged(const QString& text);

private:
    // WindowObserver::Target: the run's calls, on the GUI thread.
    void showRunMessage(const QString& text) override;
    bool askRunQuestion(const QString& text) override;
    void showRunProgress(int value, const QString& caption) override;
    void hideRunProgress() override;

    void buildControls();
    void buildMenus();
    QRect fromTwips(int left, int top, int width, int height) const;
    void layOutResultBox();
    QLabel* addLabel(const char* name, const QString& text, QRect rect);
    QLineEdit* addLineEdit(const char* name, QRect rect);
    QComboBox* addFormatBox(const char* name, QRect rect);
    QPushButton* addButton(const char* name, const QString& caption, QRect rect,
                           void (MainWindow::*slot)());
    QAction* addAction(QWidget* menu, const char* name, const QString& caption,
                       void (MainWindow::*slot)());

    // Runs `work` on a worker thread with the window's inputs, buttons and menus disabled,
    // then `done` on the GUI thread.
    void runInBackground(std::function<void()> work, std::function<void()> done);
    // Runs the comparison on the controls' inputs in the background, the way the start
    // button does, proposing the swap file as `proposal` says. `onWorker` sees the result on
    // the worker thread once the run has ended; `done` gets it on the GUI thread.
    void runFromControls(RunOptions::SwapProposal proposal,
                         std::function<void(RunResult&)> onWorker,
                         std::function<void(const RunResult&)> done);
    void setBusy(bool busy);
    void finishRun(const RunResult& result, const QString& shownText);
    // What became of a proposal once its run had ended.
    enum class ProposalWrite { NotReached, NothingProposed, Written, WriteFailed };
    void finishSwapProposal(const RunResult& result, ProposalWrite write,
                            const std::filesystem::path& file);

    void browseInto(QLineEdit* target, SharedFileDialog::Filter filter);
    void openInViewer(std::string_view fileName, const QString& missingMessage);
    void showView(const ReportView& view, const QString& missingMessage,
                  const std::filesystem::path& file);
    void setResultPresentation(bool allClear);
    void setResultText(const QString& text);
    void showMessage(const QString& text);
    // The parent for a message box: the progress window while it is on top.
    QWidget* messageParent();

    WindowServices& m_services;
    WindowSetup m_setup;
    CheckSheetExport m_checkSheet;
    SharedFileDialog m_fileDialog;
    WindowObserver m_observer;
    double m_twipsPerPixel = 15.0;
    QFont m_resultFont;

    QLineEdit* m_path1 = nullptr;
    QLineEdit* m_path2 = nullptr;
    QLineEdit* m_swapPath = nullptr;
    QLineEdit* m_adjustment = nullptr;
    QComboBox* m_format1 = nullptr;
    QComboBox* m_format2 = nullptr;
    QCheckBox* m_compareParts = nullptr;
    std::array<QLineEdit*, 30> m_pinChange{};
    std::array<QLineEdit*, 10> m_nonPolar{};
    QPushButton* m_startButton = nullptr;
    QPlainTextEdit* m_resultBox = nullptr;
    std::vector<QAction*> m_actions;

    ProgressWindow* m_progress = nullptr;
    HelpWindow* m_help = nullptr;
    AboutWindow* m_about = nullptr;

    QFuture<void> m_job; // the comparison or check sheet on the worker thread
    bool m_busy = false;
    bool m_progressStarted = false; // the current job has shown its first step
    bool m_endWhenIdle = false;     // closed while a job was working
};

} // namespace lintora
