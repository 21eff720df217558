// Proposing the swap file from the window ("バックアノテーション"): the run on the window's
// inputs up to the proposal, swap-proposal.swp written and put into the swap-file box, the
// question before replacing one, nothing to propose, a file that cannot be written, and the
// note for a proposal larger than the swap table.

#include "base/limits.h"
#include "base/messages.h"
#include "fake_services.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace lintora;

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A small board: R1 pulls SDA up, R2 ties SCL down, C1 decouples U1.
const char* const kBoard = "$PACKAGES\n"
                           "SOIC8 ! MCU ; U1\n"
                           "R0603 ! 10K ; R1\n"
                           "R0603 ! 4K7 ; R2\n"
                           "C0603 ! 100NF ; C1\n"
                           "$NETS\n"
                           "VCC ; U1.8 R1.1 C1.1\n"
                           "GND ; U1.4 R2.1 C1.2\n"
                           "SDA ; U1.5 R1.2\n"
                           "SCL ; U1.7 R2.2\n"
                           "$END\n";

// The same board after back-annotation: R1 and R2 traded names, C1 became C5.
const char* const kRenumbered = "$PACKAGES\n"
                                "SOIC8 ! MCU ; U1\n"
                                "R0603 ! 10K ; R2\n"
                                "R0603 ! 4K7 ; R1\n"
                                "C0603 ! 100NF ; C5\n"
                                "$NETS\n"
                                "VCC ; U1.8 R2.1 C5.1\n"
                                "GND ; U1.4 R1.1 C5.2\n"
                                "SDA ; U1.5 R2.2\n"
                                "SCL ; U1.7 R1.2\n"
                                "$END\n";

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeAll(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The file's lines (CR LF), sorted: the order of pairs of one kind is the proposal's own.
QStringList sortedLines(const std::string& bytes) {
    QStringList lines = QString::fromStdString(bytes).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    lines.sort();
    return lines;
}

} // namespace

class WindowSwapProposal : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    test::FakeServices m_services;
    std::unique_ptr<MainWindow> m_window;
    // Progress steps as they reached the window, with whether its inputs were enabled.
    std::vector<std::tuple<int, QString, bool>> m_steps;

    QLineEdit* edit(const char* name) { return m_window->findChild<QLineEdit*>(name); }
    QComboBox* combo(const char* name) { return m_window->findChild<QComboBox*>(name); }
    QPlainTextEdit* resultBox() { return m_window->findChild<QPlainTextEdit*>("Text4"); }
    std::filesystem::path workFile(const char* name) {
        return std::filesystem::path(m_dir->path().toStdString()) / name;
    }
    std::filesystem::path proposalFile() { return workFile("swap-proposal.swp"); }
    QString proposalPath() { return QString::fromStdString(proposalFile().string()); }

    void makeWindow(const Limits& limits = Limits{}) {
        WindowSetup setup;
        setup.workDir = m_dir->path().toStdString();
        setup.limits = limits;
        m_window = std::make_unique<MainWindow>(m_services, setup);
        m_window->show();
        connect(m_window.get(), &MainWindow::progressShown, this,
                [this](int value, const QString& caption) {
                    m_steps.emplace_back(value, caption, edit("Text1")->isEnabled());
                });
    }

    // Fills both sides (Telesis) with the given netlists and a swap file, when given.
    void fillInputs(const char* side2, const std::string& swapFile = {}) {
        writeAll(workFile("side1.tel"), kBoard);
        writeAll(workFile("side2.tel"), side2);
        edit("Text1")->setText(QString::fromStdString(workFile("side1.tel").string()));
        edit("Text2")->setText(QString::fromStdString(workFile("side2.tel").string()));
        combo("Combo1")->setEditText("Telesis");
        combo("Combo2")->setEditText("Telesis");
        if (!swapFile.empty()) {
            writeAll(workFile("user.swp"), swapFile);
            edit("Text3")->setText(QString::fromStdString(workFile("user.swp").string()));
        }
    }

    // Triggers the menu entry and waits for the proposal's end; true when it wrote the file.
    bool propose() {
        QSignalSpy finished(m_window.get(), &MainWindow::swapProposalFinished);
        m_window->findChild<QAction*>("mnufileinback")->trigger();
        if (finished.isEmpty() && !finished.wait(60000))
            qFatal("the proposal did not finish");
        return finished.first().first().toBool();
    }

    // Starts the comparison with the start button and waits for its end.
    RunOutcome compare() {
        QSignalSpy finished(m_window.get(), &MainWindow::runFinished);
        QTest::mouseClick(m_window->findChild<QPushButton*>("Command4"), Qt::LeftButton);
        if (!finished.wait(60000))
            qFatal("the run did not finish");
        return finished.first().first().value<RunOutcome>();
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = test::FakeServices();
        m_steps.clear();
        makeWindow();
    }
    void cleanup() {
        m_window.reset();
        m_dir.reset();
    }

    void aRenumberedBoardIsProposedThenComparesClean() {
        resultBox()->setPlainText("left from before");
        fillInputs(kRenumbered);
        QVERIFY(propose());

        // Written, put into the swap-file box, and said so with the count and the path.
        QVERIFY(m_services.questions.isEmpty());
        QCOMPARE(edit("Text3")->text(), proposalPath());
        QCOMPARE(m_services.messages,
                 QStringList({q(messages::kSwapProposalWritten) + "3\n" + proposalPath()}));
        QCOMPARE(sortedLines(readAll(proposalFile())), QStringList({"C1 C5", "R1 R2", "R2 R1"}));

        // Nothing was compared: the result box is as it was and no cmp.txt was written.
        QCOMPARE(resultBox()->toPlainText(), QStringLiteral("left from before"));
        QVERIFY(!std::filesystem::exists(workFile("cmp.txt")));
        QVERIFY(!std::filesystem::exists(workFile("net01.tmp")));

        // The comparison with the proposed file finds the board unchanged.
        m_services.messages.clear();
        QCOMPARE(compare(), RunOutcome::Completed);
        QVERIFY(m_services.messages.isEmpty());
        QVERIFY(resultBox()->toPlainText().contains("完全一致しました。"));
    }

    void nothingToProposeWritesNothingAfterTheRunsOwnSteps() {
        resultBox()->setPlainText("left from before");
        fillInputs(kBoard);
        QVERIFY(!propose());
        QCOMPARE(m_services.messages, QStringList({q(messages::kSwapProposalNone)}));
        QVERIFY(!std::filesystem::exists(proposalFile()));
        QVERIFY(edit("Text3")->text().isEmpty());
        QCOMPARE(resultBox()->toPlainText(), QStringLiteral("left from before"));
        QVERIFY(!std::filesystem::exists(workFile("cmp.txt")));

        // The run's steps up to the proposal, with the window locked; afterwards the window is
        // usable and the progress window waits for its OK.
        const std::vector<std::pair<int, std::string_view>> expected = {
            {0, messages::kConvertingSide1}, {10, messages::kSortingSide1},
            {20, messages::kSortingSide2},   {25, messages::kMatchingParts},
            {30, messages::kSortingSide2},   {35, messages::kProposingSwap},
            {100, messages::kFinished}};
        QCOMPARE(m_steps.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(std::get<0>(m_steps[i]), expected[i].first);
            QCOMPARE(std::get<1>(m_steps[i]), q(expected[i].second));
            QVERIFY(!std::get<2>(m_steps[i]));
        }
        QVERIFY(edit("Text1")->isEnabled());
        QVERIFY(m_window->findChild<QAction*>("mnufileinback")->isEnabled());
        QVERIFY(m_window->progressWindow()->isVisible());
        QVERIFY(m_window->progressWindow()->findChild<QPushButton*>("Command1")->isEnabled());
    }

    void theUsersPairsAreKeptAndAnExistingProposalIsReplacedOnlyOnYes() {
        // Identical boards: nothing to propose, but the user's own pairs make a file.
        fillInputs(kBoard, "X1 Y1\r\n");
        const std::string earlier = "EARLIER PROPOSAL\r\n";
        writeAll(proposalFile(), earlier);

        // No: nothing runs, nothing changes.
        QVERIFY(!propose());
        QCOMPARE(m_services.questions, QStringList({q(messages::kSwapProposalReplace)}));
        QVERIFY(m_services.messages.isEmpty());
        QVERIFY(m_steps.empty());
        QCOMPARE(readAll(proposalFile()), earlier);
        QCOMPARE(edit("Text3")->text(), QString::fromStdString(workFile("user.swp").string()));

        // Yes: replaced by the user's pairs, with no pair proposed.
        m_services.answers = {true};
        QVERIFY(propose());
        QCOMPARE(m_services.questions.size(), 2);
        QCOMPARE(readAll(proposalFile()), std::string("X1 Y1\r\n"));
        QCOMPARE(edit("Text3")->text(), proposalPath());
        QCOMPARE(m_services.messages,
                 QStringList({q(messages::kSwapProposalWritten) + "0\n" + proposalPath()}));
    }

    void aProposalThatCannotBeWrittenSaysSoAndKeepsTheSwapBox() {
        fillInputs(kBoard, "X1 Y1\r\n");
        const std::string earlier = "WRITE-PROTECTED\r\n";
        writeAll(proposalFile(), earlier);
        std::filesystem::permissions(proposalFile(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read);
        m_services.answers = {true};
        QVERIFY(!propose());
        QCOMPARE(m_services.messages, QStringList({q(messages::kWriteFailed) + proposalPath()}));
        QCOMPARE(readAll(proposalFile()), earlier);
        QCOMPARE(edit("Text3")->text(), QString::fromStdString(workFile("user.swp").string()));
        QVERIFY(!std::filesystem::exists(workFile("swap-proposal.swp.partial")));
    }

    void aProposalLargerThanTheSwapTableAsksForNoLimits() {
        // 1001 pairs of the user's, as many as the table holds, and three proposed ones.
        std::string userPairs;
        for (int i = 1; i <= 1001; ++i)
            userPairs += "X" + std::to_string(i) + " Y" + std::to_string(i) + "\r\n";
        fillInputs(kRenumbered, userPairs);
        QVERIFY(propose());
        const QString written = q(messages::kSwapProposalWritten) + "3\n" + proposalPath();
        QCOMPARE(m_services.messages,
                 QStringList({written + "\n提案した組数がスワップファイルの許容量（1001組）を"
                                        "超えています。--no-limits を付けて起動して下さい。"}));
        QCOMPARE(sortedLines(readAll(proposalFile())).size(), 1004);

        // A window without limits reads such a file: no note.
        makeWindow(Limits::unlimited());
        fillInputs(kRenumbered, userPairs);
        m_services.messages.clear();
        m_services.answers = {true};
        QVERIFY(propose());
        QCOMPARE(m_services.messages, QStringList({written}));
    }
};

QTEST_MAIN(WindowSwapProposal)
#include "tst_window_swap_proposal.moc"
