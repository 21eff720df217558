#include "ui/main_window.h"

#include "base/errors.h"
#include "base/messages.h"
#include "base/workspace.h"
#include "run/format_table.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/printing.h"
#include "ui/progress_window.h"
#include "ui/result_views.h"
#include "ui/window_services.h"
#include "ui/window_texts.h"
#include "ui/wrapping_button.h"
#include "ui/wrapping_label.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>

namespace lintora {

namespace {

// The client area the controls are laid out in, in twips.
constexpr int kClientWidth = 9585;
constexpr int kClientHeight = 9060;

// The result box: fixed left and top, growing with the window.
constexpr int kResultLeft = 240;
constexpr int kResultTop = 5040;
constexpr int kResultRightMargin = kClientWidth - (240 + 9255);
constexpr int kResultBottomMargin = kClientHeight - (5040 + 3975);

// The swap file the back-annotation action proposes, in the working directory.
constexpr std::string_view kSwapProposalFile = "swap-proposal.swp";

const QString kPinTableHeading = QStringLiteral("＜比較１ネットピン番変更＞");
const QString kPinTableExample = QStringLiteral(
    "例　Ｄの１番ピンをＡＮＯＤＥに変更する場合。リファレンスに”Ｄ”変更前に”１”変更後に"
    "ＡＮＯＤＥを入れてください。）");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Monospaced with Japanese glyphs: the face the reports line up in.
QFont resultBoxFont() {
    const QString cjkMono = QStringLiteral("Noto Sans Mono CJK JP");
    QFont font = QFontDatabase::families().contains(cjkMono)
                     ? QFont(cjkMono)
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(9);
    font.setBold(false);
    return font;
}

void setColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextFont(QWidget* widget, qreal pointSize, bool bold) {
    QFont font = widget->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    widget->setFont(font);
}

// Shrinks a label's font until its text fits the label, for faces taller than the layout
// was drawn for.
void fitTextInto(QLabel* label) {
    QFont font = label->font();
    const int flags = Qt::TextExpandTabs | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect box = label->contentsRect();
    while (font.pointSizeF() > 6.0) {
        const QRect needed =
            QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 100000), flags, label->text());
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

std::optional<QString> localFileOf(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return std::nullopt;
    const QUrl url = data->urls().first();
    if (!url.isLocalFile())
        return std::nullopt;
    return QDir::toNativeSeparators(url.toLocalFile());
}

} // namespace

MainWindow::MainWindow(WindowServices& services, WindowSetup setup, CheckSheetExport checkSheet,
                       QWidget* parent)
    : QMainWindow(parent), m_services(services), m_setup(std::move(setup)),
      m_checkSheet(std::move(checkSheet)),
      m_fileDialog(services, QString::fromStdString(m_setup.workDir.string())),
      m_observer(this, *this) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(texts::kAppTitle);
    m_twipsPerPixel = 1440.0 / logicalDpiX();
    m_resultFont = resultBoxFont();

    buildControls();
    buildMenus();

    auto* directory =
        new QLabel(QStringLiteral("作業フォルダ: ") +
                       QDir::toNativeSeparators(QString::fromStdString(m_setup.workDir.string())),
                   this);
    directory->setObjectName(QStringLiteral("workDirLabel"));
    statusBar()->addWidget(directory, 1);

    m_progress = new ProgressWindow(this);
}

MainWindow::~MainWindow() {
    // A job still working uses this window's observer: let it finish, answering the calls it
    // makes on the way.
    while (m_job.isValid() && !m_job.isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

QRect MainWindow::fromTwips(int left, int top, int width, int height) const {
    const auto px = [this](int twips) { return qRound(twips / m_twipsPerPixel); };
    return QRect(px(left), px(top), px(width), px(height));
}

QLabel* MainWindow::addLabel(const char* name, const QString& text, QRect rect) {
    auto* label = new QLabel(text, centralWidget());
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLineEdit* MainWindow::addLineEdit(const char* name, QRect rect) {
    auto* edit = new QLineEdit(centralWidget());
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(rect);
    return edit;
}

QPushButton* MainWindow::addButton(const char* name, const QString& caption, QRect rect,
                                   void (MainWindow::*slot)()) {
    auto* button = new WrappingButton(caption, centralWidget());
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

QComboBox* MainWindow::addFormatBox(const char* name, QRect rect) {
    auto* box = new QComboBox(centralWidget());
    box->setObjectName(QLatin1String(name));
    box->setGeometry(rect);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr); // the typed text is the format name, as typed
    box->setMaxVisibleItems(30);
    // The format table's names in its order, unsorted, none chosen.
    for (const std::string_view format : formatNamesForDisplay())
        box->addItem(fromUtf8(format));
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    return box;
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);
    const QRect clientRect = fromTwips(0, 0, kClientWidth, kClientHeight);
    client->setMinimumSize(clientRect.size());
    resize(clientRect.size()); // grows by the menu and status bars once they exist
    client->installEventFilter(this);

    // Labels.
    auto* title = addLabel(
        "Label3",
        texts::kAppTitle +
            QStringLiteral(" Ver%1.%2").arg(LINTORA_VERSION_MAJOR).arg(LINTORA_VERSION_MINOR),
        fromTwips(240, 120, 9255, 375));
    setTextFont(title, 14.25, true);
    setColours(title, QColor(0, 0, 255), Qt::white);
    addLabel("Label1", QStringLiteral("比較ファイル1"), fromTwips(240, 600, 1335, 300));
    addLabel("Label6", QStringLiteral("ネット種別"), fromTwips(240, 960, 1335, 300));
    auto* partsCaption =
        addLabel("Label14", QStringLiteral("部品比較処理"), fromTwips(6120, 960, 1275, 255));
    setTextFont(partsCaption, 9.75, true);
    addLabel("Label2", QStringLiteral("比較ファイル2"), fromTwips(240, 1320, 1335, 300));
    addLabel("Label7", QStringLiteral("ネット種別"), fromTwips(240, 1680, 1335, 300));
    addLabel("Label5", QStringLiteral("スワップファイル"), fromTwips(240, 2040, 1335, 300));
    auto* pinTableHelp = addLabel("Label9", kPinTableHeading + '\n' + kPinTableExample,
                                  fromTwips(240, 2400, 8655, 495));
    pinTableHelp->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    addLabel("Label10", QStringLiteral("ﾘﾌｧﾚﾝｽ＆番号"), fromTwips(240, 2880, 1335, 255));
    addLabel("Label11", QStringLiteral("ピン番変更前"), fromTwips(240, 3120, 1335, 255));
    addLabel("Label12", QStringLiteral("ピン番変更後"), fromTwips(240, 3360, 1335, 255));
    addLabel("Label13", QStringLiteral("調整値"), fromTwips(9000, 3120, 615, 255));
    auto* nonPolarCaption =
        new WrappingLabel(QStringLiteral("　無極性部品　ﾘﾌｧﾚﾝｽ＆番号指定"), client);
    nonPolarCaption->setObjectName(QStringLiteral("Label4"));
    nonPolarCaption->setGeometry(fromTwips(240, 3720, 1335, 615));
    auto* viewerHeading =
        addLabel("Label15", QStringLiteral("メモ帳表示"), fromTwips(7560, 1080, 1935, 375));
    setTextFont(viewerHeading, 12, true);
    setColours(viewerHeading, QColor(0, 0, 255), Qt::white);
    viewerHeading->setAlignment(Qt::AlignCenter);
    auto* resultHeading =
        addLabel("Label8", QStringLiteral("比較結果"), fromTwips(240, 4440, 7335, 375));
    setTextFont(resultHeading, 11.25, true);
    setColours(resultHeading, palette().color(QPalette::Highlight), Qt::white);

    // The controls that take the focus, created in tab order (the focus chain follows it).
    addButton("Command1", QStringLiteral("参照"), fromTwips(6840, 600, 615, 300),
              &MainWindow::onBrowseSide1);
    addButton("Command2", QStringLiteral("参照"), fromTwips(6840, 1320, 615, 300),
              &MainWindow::onBrowseSide2);
    m_path1 = addLineEdit("Text1", fromTwips(1680, 600, 5175, 300));
    m_path2 = addLineEdit("Text2", fromTwips(1680, 1320, 5175, 300));
    m_format1 = addFormatBox("Combo1", fromTwips(1680, 960, 3255, 300));
    m_format2 = addFormatBox("Combo2", fromTwips(1680, 1680, 3255, 300));
    addButton("Command3", QStringLiteral("参照"), fromTwips(6840, 2040, 615, 300),
              &MainWindow::onBrowseSwapFile);
    m_startButton = addButton("Command4", QStringLiteral("比較開始"),
                              fromTwips(7560, 480, 1935, 495), &MainWindow::onStart);
    m_swapPath = addLineEdit("Text3", fromTwips(1680, 2040, 5175, 300));
    m_compareParts = new QCheckBox(client);
    m_compareParts->setObjectName(QStringLiteral("Check1"));
    m_compareParts->setGeometry(fromTwips(5760, 960, 255, 255));
    for (int i = 0; i < 30; ++i) {
        const int row = i / 10;
        const int column = i % 10;
        m_pinChange[i] =
            addLineEdit("", fromTwips(1680 + 720 * column, 2880 + 240 * row, 735, 270));
        m_pinChange[i]->setObjectName(QStringLiteral("Trefp_%1").arg(i));
    }
    m_adjustment = addLineEdit("Text5", fromTwips(9000, 3360, 495, 270));
    m_adjustment->setText(QStringLiteral("49"));
    for (int i = 0; i < 10; ++i) {
        const int row = i / 5;
        const int column = i % 5;
        m_nonPolar[i] = addLineEdit("", fromTwips(1680 + 720 * column, 3720 + 360 * row, 735, 270));
        m_nonPolar[i]->setObjectName(QStringLiteral("Tref_%1").arg(i));
    }
    addButton("Command9", QStringLiteral("部品比較結果"), fromTwips(7560, 1440, 975, 495),
              &MainWindow::onOpenPartsReport);
    addButton("Command7", QStringLiteral("ネット比較結果"), fromTwips(8520, 1440, 975, 495),
              &MainWindow::onOpenNetReport);
    addButton("Command8", QStringLiteral("エラー情報表示"), fromTwips(7560, 2040, 1935, 375),
              &MainWindow::onOpenErrorLog);
    addButton("Command5", QStringLiteral("終了"), fromTwips(8400, 3720, 1095, 615),
              &MainWindow::onEnd);
    addButton("Command6", QStringLiteral("比較結果印刷"), fromTwips(7560, 4440, 1935, 375),
              &MainWindow::onPrint);
    addButton("Command10", QStringLiteral("ネット比較結果"), fromTwips(240, 4800, 2175, 255),
              &MainWindow::onShowNetReport);
    addButton("Command11", QStringLiteral("部品比較結果"), fromTwips(2400, 4800, 2175, 255),
              &MainWindow::onShowPartsReport);
    addButton("Command12", QStringLiteral("エラー表示"), fromTwips(4560, 4800, 2175, 255),
              &MainWindow::onShowErrorLog);
    addButton("Command13", QStringLiteral("比較結果チェックシート起動"),
              fromTwips(6720, 4800, 2775, 255), &MainWindow::onCheckSheet);

    m_resultBox = new QPlainTextEdit(client);
    m_resultBox->setObjectName(QStringLiteral("Text4"));
    m_resultBox->setLineWrapMode(QPlainTextEdit::NoWrap); // both scroll bars
    m_resultBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_resultBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layOutResultBox();

    // Loading: the start button reads "比較実行" and waits for a side-2 path; the result box
    // is red.
    m_startButton->setText(QStringLiteral("比較実行"));
    m_startButton->setEnabled(false);
    connect(m_path2, &QLineEdit::textChanged, this, &MainWindow::onSide2PathChanged);
    setResultPresentation(false);

    for (QLineEdit* dropTarget : {m_path1, m_path2, m_swapPath}) {
        dropTarget->setAcceptDrops(true);
        dropTarget->installEventFilter(this);
    }
    for (QLabel* label : client->findChildren<QLabel*>())
        if (qobject_cast<WrappingLabel*>(label) == nullptr) // fits itself as it paints
            fitTextInto(label);
}

QAction* MainWindow::addAction(QWidget* menu, const char* name, const QString& caption,
                               void (MainWindow::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, slot);
    menu->addAction(action);
    m_actions.push_back(action);
    return action;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mnufile"));
    QMenu* inputs = file->addMenu(QStringLiteral("入力ファイル"));
    inputs->setObjectName(QStringLiteral("mnufilein"));
    addAction(inputs, "mnufilein1", QStringLiteral("比較１"), &MainWindow::onMenuBrowseSide1);
    addAction(inputs, "mnufilein2", QStringLiteral("比較２"), &MainWindow::onMenuBrowseSide2);
    addAction(inputs, "mnufileinback", QStringLiteral("バックアノテーション"),
              &MainWindow::onBackAnnotation);
    addAction(file, "mnufileprint", QStringLiteral("印刷"), &MainWindow::onPrint);
    addAction(file, "mnufileend", QStringLiteral("終了"), &MainWindow::onEnd);

    QMenu* run = menuBar()->addMenu(QStringLiteral("実行(&R)"));
    run->setObjectName(QStringLiteral("run"));
    addAction(run, "runcmp", QStringLiteral("比較開始"), &MainWindow::onStart);
    addAction(run, "runmemo", QStringLiteral("結果メモ帳表示"), &MainWindow::onOpenNetReport);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("mnuhelp"));
    addAction(help, "mnuhelpmokuji", QStringLiteral("目次"), &MainWindow::onHelpContents);
    addAction(help, "mnuhelpv", QStringLiteral("バージョン情報"), &MainWindow::onVersion);
}

void MainWindow::layOutResultBox() {
    const QWidget* client = centralWidget();
    const auto px = [this](int twips) { return qRound(twips / m_twipsPerPixel); };
    const int left = px(kResultLeft);
    const int top = px(kResultTop);
    m_resultBox->setGeometry(left, top,
                             std::max(0, client->width() - left - px(kResultRightMargin)),
                             std::max(0, client->height() - top - px(kResultBottomMargin)));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        layOutResultBox();
        return false;
    }
    // A file dropped on a path box fills it.
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != nullptr && (box == m_path1 || box == m_path2 || box == m_swapPath)) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (localFileOf(drag->mimeData())) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (const auto path = localFileOf(drop->mimeData())) {
                box->setText(*path);
                drop->acceptProposedAction();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::setPaths(const QString& path1, const QString& path2) {
    m_path1->setText(path1);
    m_path2->setText(path2);
}

RunInputs MainWindow::inputsFromControls() const {
    RunInputs in;
    in.path1 = m_path1->text().toStdString();
    in.path2 = m_path2->text().toStdString();
    in.format1 = m_format1->currentText().toStdString();
    in.format2 = m_format2->currentText().toStdString();
    in.swapPath = m_swapPath->text().toStdString();
    in.adjustment = m_adjustment->text().toStdString();
    in.compareParts = m_compareParts->isChecked();
    for (std::size_t i = 0; i < in.nonPolar.size(); ++i)
        in.nonPolar[i] = m_nonPolar[i]->text().toStdString();
    for (std::size_t i = 0; i < in.pinChange.size(); ++i)
        in.pinChange[i] = m_pinChange[i]->text().toStdString();
    return in;
}

// --- Starting and ending ------------------------------------------------------------------

void MainWindow::onSide2PathChanged(const QString& text) {
    m_startButton->setEnabled(!text.isEmpty());
}

void MainWindow::onStart() {
    if (m_busy)
        return;
    auto shown = std::make_shared<QString>();
    runFromControls(
        RunOptions::SwapProposal::Off,
        [shown](RunResult& result) {
            // The result box's text is prepared here, so that the GUI thread only sets it.
            *shown = resultBoxText(result.resultText);
            result.resultText.clear();
        },
        [this, shown](const RunResult& result) { finishRun(result, *shown); });
}

void MainWindow::runFromControls(RunOptions::SwapProposal proposal,
                                 std::function<void(RunResult&)> onWorker,
                                 std::function<void(const RunResult&)> done) {
    RunOptions options;
    options.workDir = m_setup.workDir;
    options.limits = m_setup.limits;
    options.swapProposal = proposal;
    auto result = std::make_shared<RunResult>();
    runInBackground(
        [this, inputs = inputsFromControls(), options, result, onWorker = std::move(onWorker)] {
            *result = runComparison(inputs, options, m_observer);
            onWorker(*result);
        },
        [result, done = std::move(done)] { done(*result); });
}

void MainWindow::finishRun(const RunResult& result, const QString& shownText) {
    // Past its input checks, a run sets the result box to the normal presentation; a
    // completed run then shows its report.
    if (result.outcome != RunOutcome::InvalidInput)
        setResultPresentation(false);
    if (result.outcome == RunOutcome::Completed) {
        setResultPresentation(result.allClear);
        setResultText(shownText);
        m_progress->enableOk();
    }
    emit runFinished(result.outcome);
}

void MainWindow::runInBackground(std::function<void()> work, std::function<void()> done) {
    setBusy(true);
    m_progressStarted = false;
    auto* watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, done] {
        watcher->deleteLater();
        setBusy(false); // before `done`, which tells listeners the job has ended
        done();
        if (m_endWhenIdle)
            m_services.quitApplication();
    });
    m_job = QtConcurrent::run([this, work = std::move(work)] {
        try {
            work();
        } catch (const std::exception& e) {
            m_observer.message(std::string(messages::kUnexpected) + e.what());
        } catch (...) {
            m_observer.message(messages::kUnexpected);
        }
    });
    watcher->setFuture(m_job);
}

void MainWindow::setBusy(bool busy) {
    m_busy = busy;
    centralWidget()->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    for (QAction* action : m_actions)
        action->setEnabled(!busy);
}

void MainWindow::onEnd() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing by the title bar ends the program like "終了". A job that is working is left to
    // finish (its scratch files and messages stay consistent); the program ends after it.
    if (m_busy) {
        m_endWhenIdle = true;
        event->ignore();
        return;
    }
    event->accept();
    m_services.quitApplication();
}

// --- The run's observer ---------------------------------------------------------------------

QWidget* MainWindow::messageParent() {
    return m_progress->isVisible() ? static_cast<QWidget*>(m_progress) : this;
}

void MainWindow::showMessage(const QString& text) {
    m_services.showMessage(messageParent(), text);
}

void MainWindow::showRunMessage(const QString& text) {
    showMessage(text);
}

bool MainWindow::askRunQuestion(const QString& text) {
    return m_services.askYesNo(messageParent(), text);
}

void MainWindow::showRunProgress(int value, const QString& caption) {
    if (!m_progressStarted) {
        m_progressStarted = true;
        m_progress->reset();
    }
    m_progress->setStep(value, caption);
    if (!m_progress->isVisible()) {
        const QRect frame = geometry();
        m_progress->move(frame.center() -
                         QPoint(m_progress->width() / 2, m_progress->height() / 2));
        m_progress->show();
    }
    m_progress->raise();
    emit progressShown(value, caption);
}

void MainWindow::hideRunProgress() {
    m_progress->hide();
}

// --- Browsing -------------------------------------------------------------------------------

void MainWindow::browseInto(QLineEdit* target, SharedFileDialog::Filter filter) {
    // A cancelled dialog leaves the box as it was.
    if (const auto chosen = m_fileDialog.choose(this, filter))
        target->setText(QDir::toNativeSeparators(*chosen));
}

void MainWindow::onBrowseSide1() {
    browseInto(m_path1, SharedFileDialog::Filter::Netlist);
}
void MainWindow::onBrowseSide2() {
    browseInto(m_path2, SharedFileDialog::Filter::Netlist);
}
void MainWindow::onBrowseSwapFile() {
    browseInto(m_swapPath, SharedFileDialog::Filter::SwapFile);
}
void MainWindow::onMenuBrowseSide1() {
    browseInto(m_path1, SharedFileDialog::Filter::NetlistMenu);
}
void MainWindow::onMenuBrowseSide2() {
    browseInto(m_path2, SharedFileDialog::Filter::NetlistMenu);
}

// --- Proposing the swap file ---------------------------------------------------------------

// Runs the comparison's steps on the current inputs up to the swap proposal, writes the
// proposed pairs as swap-proposal.swp in the working directory and puts that file into the
// swap-file box, for the user to review before starting the comparison with it.
void MainWindow::onBackAnnotation() {
    if (m_busy)
        return;
    const std::filesystem::path file = m_setup.workDir / kSwapProposalFile;
    std::error_code ec;
    if (std::filesystem::exists(file, ec) &&
        !m_services.askYesNo(messageParent(), fromUtf8(messages::kSwapProposalReplace))) {
        emit swapProposalFinished(false);
        return;
    }
    auto write = std::make_shared<ProposalWrite>(ProposalWrite::NotReached);
    runFromControls(
        RunOptions::SwapProposal::Only,
        [file, write](RunResult& result) {
            if (result.outcome != RunOutcome::Completed || !result.proposal)
                return;
            const SwapProposal& proposal = *result.proposal;
            if (proposal.proposesNothing() && proposal.userPairs.empty()) {
                *write = ProposalWrite::NothingProposed;
                return;
            }
            try {
                writeSwapProposalFile(file, proposal);
                *write = ProposalWrite::Written;
            } catch (const WriteFailed&) {
                *write = ProposalWrite::WriteFailed;
            }
        },
        [this, write, file](const RunResult& result) { finishSwapProposal(result, *write, file); });
}

void MainWindow::finishSwapProposal(const RunResult& result, ProposalWrite write,
                                    const std::filesystem::path& file) {
    // The result box keeps what it showed: nothing was compared. A run that stopped has
    // said why already.
    if (result.outcome == RunOutcome::Completed)
        m_progress->enableOk();
    const QString path = QDir::toNativeSeparators(QString::fromStdString(file.string()));
    switch (write) {
    case ProposalWrite::NotReached:
        break;
    case ProposalWrite::NothingProposed:
        showMessage(fromUtf8(messages::kSwapProposalNone));
        break;
    case ProposalWrite::WriteFailed:
        showMessage(fromUtf8(messages::kWriteFailed) + path);
        break;
    case ProposalWrite::Written: {
        m_swapPath->setText(path);
        const SwapProposal& proposal = *result.proposal;
        QString text = fromUtf8(messages::kSwapProposalWritten) +
                       QString::number(proposal.pinPairs.size() + proposal.referencePairs.size()) +
                       '\n' + path;
        // A file the swap table cannot hold stops the comparison that reads it.
        if (proposal.pairCount() > m_setup.limits.swapPairs)
            text += '\n' + texts::kSwapProposalOverCapacity.arg(m_setup.limits.swapPairs);
        showMessage(text);
        break;
    }
    }
    emit swapProposalFinished(write == ProposalWrite::Written);
}

// --- Result views ---------------------------------------------------------------------------

void MainWindow::setResultPresentation(bool allClear) {
    QFont font = m_resultFont;
    font.setPointSize(allClear ? 10 : 9);
    font.setBold(false);
    m_resultBox->setFont(font);
    QPalette palette = m_resultBox->palette();
    palette.setColor(QPalette::Text, allClear ? QColor(0, 0, 255) : QColor(255, 0, 0));
    m_resultBox->setPalette(palette);
}

void MainWindow::setResultText(const QString& text) {
    m_resultBox->setPlainText(text);
}

void MainWindow::openInViewer(std::string_view fileName, const QString& missingMessage) {
    const std::filesystem::path file = m_setup.workDir / fileName;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        showMessage(missingMessage);
        return;
    }
    // A viewer that does not start is not reported.
    m_services.openInDesktop(QString::fromStdString(file.string()));
}

void MainWindow::onOpenNetReport() {
    openInViewer(files::report, texts::kNoNetReportForViewer);
}
void MainWindow::onOpenPartsReport() {
    openInViewer(files::partsReport, texts::kNoPartsReportForViewer);
}
void MainWindow::onOpenErrorLog() {
    openInViewer(files::errorLog, texts::kNoErrorLogForViewer);
}

void MainWindow::showView(const ReportView& view, const QString& missingMessage,
                          const std::filesystem::path& file) {
    const QString path = QDir::toNativeSeparators(QString::fromStdString(file.string()));
    switch (view.status) {
    case ReportView::Status::Shown:
        setResultPresentation(view.allClear);
        setResultText(view.text);
        return;
    case ReportView::Status::Missing:
        m_progress->hide();
        showMessage(missingMessage);
        return;
    case ReportView::Status::TooLarge:
        showMessage(fromUtf8(messages::kOutOfMemory));
        return;
    case ReportView::Status::Unreadable:
        showMessage(texts::kReadFailed + path);
        return;
    case ReportView::Status::Undecodable:
        showMessage(fromUtf8(messages::kUndecodable) + path);
        return;
    }
}

void MainWindow::onShowNetReport() {
    setResultPresentation(false);
    const auto file = m_setup.workDir / files::report;
    showView(netReportView(file, m_setup.limits.resultBoxChars), texts::kNoNetReport, file);
}

void MainWindow::onShowPartsReport() {
    if (!m_compareParts->isChecked()) {
        showMessage(texts::kPartsNotTicked);
        return;
    }
    setResultPresentation(false);
    const auto file = m_setup.workDir / files::partsReport;
    showView(partsReportView(file, m_setup.limits.resultBoxChars), texts::kNoPartsReport, file);
}

void MainWindow::onShowErrorLog() {
    setResultPresentation(false);
    const auto file = m_setup.workDir / files::errorLog;
    showView(errorLogView(file, m_setup.limits.resultBoxChars), texts::kNoErrorLog, file);
}

// --- Printing, check sheet, help and version ----------------------------------------------

void MainWindow::onPrint() {
    const QString text = m_resultBox->toPlainText();
    if (text.isEmpty()) {
        showMessage(texts::kNothingToPrint);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(texts::kAppTitle);
    if (!m_services.choosePrinter(this, printer))
        return; // cancelled: nothing printed, nothing said
    QFont font = m_resultFont;
    font.setPointSize(9);
    printPlainText(printer, text, font); // a printer failure ends the action silently
}

void MainWindow::onCheckSheet() {
    if (m_busy)
        return;
    auto workbook = std::make_shared<std::optional<std::filesystem::path>>();
    runInBackground([this, workbook] { *workbook = m_checkSheet(m_setup.workDir, m_observer); },
                    [this, workbook] {
                        // The spreadsheet application is started, not waited for.
                        if (*workbook)
                            m_services.openInDesktop(
                                QString::fromStdString(workbook->value().string()));
                        emit checkSheetFinished();
                    });
}

void MainWindow::onHelpContents() {
    if (m_help == nullptr)
        m_help = new HelpWindow(this);
    m_help->showContents(helpSource(QString::fromStdString(m_setup.workDir.string())));
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::onVersion() {
    if (m_about == nullptr)
        m_about = new AboutWindow(m_services, this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace lintora
