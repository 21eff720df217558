// Comparisons started from the window: the input checks, a full run on the example
// netlists (report, presentation, progress, the window locked while the run works), the
// full-match banner, a failing run, and the check-sheet button's seam.

#include "base/messages.h"
#include "fake_services.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using namespace lintora;

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

const QString kSideA = QStringLiteral(LINTORA_EXAMPLES "/sensor_rev_a.tel");
const QString kSideB = QStringLiteral(LINTORA_EXAMPLES "/sensor_rev_b.tel");

// What the window looked like when a progress step reached it.
struct Step {
    int value;
    QString caption;
    bool inputsEnabled;
    bool startEnabled;
    bool menusEnabled;
    bool runMenuEnabled;
    bool progressVisible;
};

} // namespace

class WindowRun : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    test::FakeServices m_services;
    std::unique_ptr<MainWindow> m_window;
    std::vector<Step> m_steps;
    CheckSheetExport m_checkSheet;

    QLineEdit* edit(const char* name) { return m_window->findChild<QLineEdit*>(name); }
    QComboBox* combo(const char* name) { return m_window->findChild<QComboBox*>(name); }
    QPushButton* button(const char* name) { return m_window->findChild<QPushButton*>(name); }
    QPlainTextEdit* resultBox() { return m_window->findChild<QPlainTextEdit*>("Text4"); }
    std::filesystem::path workFile(const char* name) {
        return std::filesystem::path(m_dir->path().toStdString()) / name;
    }

    void makeWindow() {
        WindowSetup setup;
        setup.workDir = m_dir->path().toStdString();
        m_window = std::make_unique<MainWindow>(m_services, setup, m_checkSheet);
        m_window->show();
        connect(m_window.get(), &MainWindow::progressShown, this,
                [this](int value, const QString& caption) {
                    m_steps.push_back({value, caption, edit("Text1")->isEnabled(),
                                       button("Command4")->isEnabled(),
                                       m_window->menuBar()->isEnabled(),
                                       m_window->findChild<QAction*>("runcmp")->isEnabled(),
                                       m_window->progressWindow()->isVisible()});
                });
    }

    // Starts a run with the button (or the menu) and waits for its end.
    RunOutcome run(bool fromMenu = false) {
        QSignalSpy finished(m_window.get(), &MainWindow::runFinished);
        if (fromMenu)
            m_window->findChild<QAction*>("runcmp")->trigger();
        else
            QTest::mouseClick(button("Command4"), Qt::LeftButton);
        if (!finished.wait(60000))
            qFatal("the run did not finish");
        return finished.first().first().value<RunOutcome>();
    }

    void fillExamples() {
        edit("Text1")->setText(kSideA);
        edit("Text2")->setText(kSideB);
        combo("Combo1")->setEditText("Telesis");
        combo("Combo2")->setEditText("ALLEGRO");
    }

    QColor textColour() { return resultBox()->palette().color(QPalette::Text); }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = test::FakeServices();
        m_steps.clear();
        m_checkSheet = defaultCheckSheetExport();
        makeWindow();
    }
    void cleanup() {
        m_window.reset();
        m_dir.reset();
    }

    void theInputChecksReportFromTheButtonAndTheMenu() {
        // The menu starts a run even while the button waits for a side-2 path.
        QCOMPARE(run(true), RunOutcome::InvalidInput);
        edit("Text1")->setText("a.net");
        QCOMPARE(run(true), RunOutcome::InvalidInput);
        edit("Text2")->setText("a.net");
        QCOMPARE(run(), RunOutcome::InvalidInput);
        combo("Combo1")->setEditText("Telesis");
        QCOMPARE(run(), RunOutcome::InvalidInput);
        combo("Combo2")->setEditText("Telesis");
        QCOMPARE(run(), RunOutcome::InvalidInput);
        QCOMPARE(m_services.messages,
                 QStringList({q(messages::kNoPath1), q(messages::kNoPath2), q(messages::kNoFormat1),
                              q(messages::kNoFormat2), q(messages::kSamePaths)}));
        QVERIFY(m_steps.empty()); // no progress window for inputs that fail their checks
        QVERIFY(!m_window->progressWindow()->isVisible());
        QVERIFY(!std::filesystem::exists(workFile("cmp.txt")));
    }

    void aFullRunShowsTheReportAndLocksTheWindowWhileItWorks() {
        resultBox()->setPlainText("left from before");
        fillExamples();
        find<QCheckBox>("Check1")->setChecked(true);
        QCOMPARE(run(), RunOutcome::Completed);
        QVERIFY(m_services.messages.isEmpty());

        // The report, as the command line writes it, in the normal presentation.
        const QString text = resultBox()->toPlainText();
        QVERIFY(text.startsWith(QString(64, '*') + "\nネット１：　　　" + kSideA + "\n"));
        QVERIFY(text.contains("ネット名; 　SCL = I2C_SCL\nネット１; 　U1.7, \n"));
        QVERIFY(text.contains("＜ネット２に存在しないネット１のネット＞\nRESET; 2: C2.1, U1.1, "));
        QVERIFY(!text.contains("完全一致しました。"));
        QVERIFY(!text.contains('\r'));
        QCOMPARE(textColour(), QColor(255, 0, 0));
        QCOMPARE(resultBox()->font().pointSize(), 9);
        QVERIFY(!resultBox()->font().bold());
        for (const char* report : {"cmp.txt", "errlog.txt", "cmpprt.txt"})
            QVERIFY2(std::filesystem::exists(workFile(report)), report);
        QVERIFY(!std::filesystem::exists(workFile("net01.tmp")));

        // Every step, in order, with the window locked and the progress window up.
        const std::vector<std::pair<int, std::string_view>> expected = {
            {0, messages::kConvertingSide1}, {10, messages::kSortingSide1},
            {20, messages::kSortingSide2},   {25, messages::kMatchingParts},
            {30, messages::kSortingSide2},   {40, messages::kComparing},
            {60, messages::kComparing},      {80, messages::kComparing},
            {100, messages::kFinished}};
        QCOMPARE(m_steps.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(m_steps[i].value, expected[i].first);
            QCOMPARE(m_steps[i].caption, q(expected[i].second));
            QVERIFY(!m_steps[i].inputsEnabled && !m_steps[i].startEnabled);
            QVERIFY(!m_steps[i].menusEnabled && !m_steps[i].runMenuEnabled);
            QVERIFY(m_steps[i].progressVisible);
        }

        // Afterwards: the window is usable again; the progress window waits for its OK.
        QVERIFY(edit("Text1")->isEnabled() && button("Command4")->isEnabled());
        QVERIFY(m_window->menuBar()->isEnabled());
        QVERIFY(m_window->findChild<QAction*>("runcmp")->isEnabled());
        ProgressWindow* progress = m_window->progressWindow();
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->findChild<QProgressBar*>("ProgressBar1")->value(), 100);
        QCOMPARE(progress->findChild<QLabel*>("Label1")->text(), q(messages::kFinished));
        QPushButton* ok = progress->findChild<QPushButton*>("Command1");
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!progress->isVisible());

        // The same inputs run again; the progress window starts over.
        m_steps.clear();
        QCOMPARE(run(), RunOutcome::Completed);
        QCOMPARE(m_steps.front().value, 0);
    }

    void twoIdenticalNetlistsShowTheBlueBanner() {
        const QString copy = m_dir->path() + "/copy_of_a.tel";
        QVERIFY(QFile::copy(kSideA, copy));
        fillExamples();
        edit("Text2")->setText(copy);
        combo("Combo2")->setEditText("Telesis");
        QCOMPARE(run(), RunOutcome::Completed);
        const QStringList lines = resultBox()->toPlainText().split('\n');
        QCOMPARE(lines.mid(0, 4),
                 QStringList({QString(64, '*'),
                              "***********************完全一致しました。***********************",
                              QString(64, '*'), ""}));
        QCOMPARE(lines.at(4), QString(64, '*')); // the report follows the banner
        QCOMPARE(textColour(), QColor(0, 0, 255));
        QCOMPARE(resultBox()->font().pointSize(), 10);

        // The next run with differences goes back to red at size 9.
        edit("Text2")->setText(kSideB);
        combo("Combo2")->setEditText("ALLEGRO");
        QCOMPARE(run(), RunOutcome::Completed);
        QCOMPARE(textColour(), QColor(255, 0, 0));
        QCOMPARE(resultBox()->font().pointSize(), 9);
    }

    void aFormatMismatchHidesTheProgressAndKeepsTheResultBox() {
        resultBox()->setPlainText("previous report");
        fillExamples();
        combo("Combo1")->setEditText("PADSPCB");
        QStringList shownWhileProgressUp;
        m_services.onMessage = [&](const QString&) {
            shownWhileProgressUp << (m_window->progressWindow()->isVisible() ? "up" : "down");
        };
        QCOMPARE(run(), RunOutcome::FormatMismatch);
        QCOMPARE(m_services.messages, QStringList({q(messages::kFormatMismatch1)}));
        QVERIFY(!m_window->progressWindow()->isVisible());
        QCOMPARE(resultBox()->toPlainText(), QStringLiteral("previous report"));
        QVERIFY(edit("Text1")->isEnabled());

        m_services.messages.clear();
        combo("Combo1")->setEditText("NO SUCH FORMAT");
        QCOMPARE(run(), RunOutcome::UnknownFormat);
        QCOMPARE(m_services.messages, QStringList({q(messages::kUnknownFormat1)}));
    }

    void theCheckSheetRunsOffTheGuiThreadAndOpensItsWorkbook() {
        const std::filesystem::path workbook = workFile("cmp.xlsx");
        Qt::HANDLE guiThread = QThread::currentThreadId();
        bool ranOnWorker = false;
        bool answer = false;
        m_checkSheet = [&](const std::filesystem::path& dir,
                           RunObserver& observer) -> std::optional<std::filesystem::path> {
            ranOnWorker = QThread::currentThreadId() != guiThread;
            answer = observer.question("ask");
            if (!answer)
                return std::nullopt;
            observer.message("written");
            return dir / "cmp.xlsx";
        };
        makeWindow();
        QSignalSpy done(m_window.get(), &MainWindow::checkSheetFinished);

        QTest::mouseClick(button("Command13"), Qt::LeftButton); // answered No
        QVERIFY(done.wait(10000));
        QVERIFY(ranOnWorker);
        QVERIFY(m_services.opened.isEmpty());

        m_services.answers = {true};
        QTest::mouseClick(button("Command13"), Qt::LeftButton);
        QVERIFY(done.wait(10000));
        QCOMPARE(m_services.questions, QStringList({"ask", "ask"}));
        QCOMPARE(m_services.messages, QStringList({"written"}));
        QCOMPARE(m_services.opened, QStringList({QString::fromStdString(workbook.string())}));
        QVERIFY(button("Command13")->isEnabled());
    }

    void theCheckSheetOfARunIsWrittenAndOpened() {
        QSignalSpy done(m_window.get(), &MainWindow::checkSheetFinished);
        m_services.answers = {true};
        QTest::mouseClick(button("Command13"), Qt::LeftButton); // no report yet
        QVERIFY(done.wait(10000));
        QCOMPARE(m_services.questions, QStringList({q(messages::kCheckSheetQuestion)}));
        QCOMPARE(m_services.messages, QStringList({q(messages::kCheckSheetNoReport)}));
        QVERIFY(m_services.opened.isEmpty());

        fillExamples();
        QCOMPARE(run(), RunOutcome::Completed);
        m_services.messages.clear();
        m_services.answers = {true};
        QTest::mouseClick(button("Command13"), Qt::LeftButton);
        QVERIFY(done.wait(10000));
        QVERIFY(m_services.messages.isEmpty());
        QVERIFY(std::filesystem::exists(workFile("cmp.xlsx")));
        QCOMPARE(m_services.opened,
                 QStringList({QString::fromStdString(workFile("cmp.xlsx").string())}));

        m_services.opened.clear(); // answered No: nothing written, nothing opened
        std::filesystem::remove(workFile("cmp.xlsx"));
        QTest::mouseClick(button("Command13"), Qt::LeftButton);
        QVERIFY(done.wait(10000));
        QVERIFY(!std::filesystem::exists(workFile("cmp.xlsx")));
        QVERIFY(m_services.opened.isEmpty());
    }

    void closingWhileARunWorksEndsTheProgramAfterIt() {
        fillExamples();
        QSignalSpy finished(m_window.get(), &MainWindow::runFinished);
        QTest::mouseClick(button("Command4"), Qt::LeftButton);
        m_window->close();
        QCOMPARE(m_services.quits, 0);
        QVERIFY(finished.wait(60000));
        QCOMPARE(m_services.quits, 1);
    }

private:
    template <typename T> T* find(const char* name) { return m_window->findChild<T*>(name); }
};

QTEST_MAIN(WindowRun)
#include "tst_window_run.moc"
