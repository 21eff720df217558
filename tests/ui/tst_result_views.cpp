// The result views: the three reports in the result box (with their all-clear banners) and
// in the desktop's viewer, with and without their files, and files the box cannot show.

#include "base/messages.h"
#include "base/text_encoding.h"
#include "fake_services.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"
#include "ui/result_views.h"

#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace lintora;

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

const QString kStars(64, '*');

// A clean report as the run leaves it; `path1` goes into the header.
std::string cleanReport(const std::string& path1 = "a.tel") {
    const std::string star(64, '*');
    std::string text = star + "\r\n" + "ネット１：　　　" + path1 + "\r\n" +
                       "フォーマット：　Telesis\r\nネット２：　　　b.tel\r\n"
                       "フォーマット：　Telesis\r\nスワップ：　　　\r\n"
                       "                   **********設定状態**********                  \r\n"
                       "＜ピン番変換＞\r\n\r\n＜無極性部品＞\r\n\r\n\r\n" +
                       star +
                       "\r\n＜異なるネット＞\r\n＜ネット２に存在しないネット１のネット＞\r\n\r\n"
                       "＜ネット１に存在しないネット２のネット＞\r\n\r\n\r\n\r\n";
    return text;
}

const std::string kErrorHeadings = "／／／／／／／／／エラー情報／／／／／／／／／\r\n＜＜比較ファ"
                                   "イル１＞\r\n＜＜比較ファイル２＞＞\r\n\r\n";

} // namespace

class ResultViews : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    test::FakeServices m_services;
    std::unique_ptr<MainWindow> m_window;

    std::filesystem::path file(const char* name) {
        return std::filesystem::path(m_dir->path().toStdString()) / name;
    }
    void write(const char* name, const std::string& bytes) {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    void click(const char* name) {
        QTest::mouseClick(m_window->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    QPlainTextEdit* box() { return m_window->findChild<QPlainTextEdit*>("Text4"); }
    QColor colour() { return box()->palette().color(QPalette::Text); }
    int size() { return box()->font().pointSize(); }
    void tickParts() { m_window->findChild<QCheckBox*>("Check1")->setChecked(true); }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = test::FakeServices();
        WindowSetup setup;
        setup.workDir = m_dir->path().toStdString();
        m_window = std::make_unique<MainWindow>(m_services, setup);
    }
    void cleanup() {
        m_window.reset();
        m_dir.reset();
    }

    void withoutTheirFilesTheViewsSayWhatIsMissing() {
        box()->setPlainText("kept");
        tickParts();
        for (const char* name :
             {"Command7", "Command9", "Command8", "Command10", "Command11", "Command12"})
            click(name);
        m_window->findChild<QAction*>("runmemo")->trigger();
        QCOMPARE(m_services.messages,
                 QStringList({"ネット比較結果は有りません。実行後に表示してください。",
                              "部品比較結果は有りません。実行後に表示してください。",
                              "エラーメッセージは有りません。実行後に表示してください。",
                              "ネット比較結果は有りません。", "部品比較結果は有りません。",
                              "エラー情報は有りません。",
                              "ネット比較結果は有りません。実行後に表示してください。"}));
        QCOMPARE(box()->toPlainText(), QStringLiteral("kept"));
        QVERIFY(m_services.opened.isEmpty());
    }

    void theViewerButtonsOpenTheFilesInTheDesktopViewer() {
        for (const char* name : {"cmp.txt", "cmpprt.txt", "errlog.txt"})
            write(name, "x\r\n");
        click("Command7");
        click("Command9"); // whether or not the parts comparison is ticked
        click("Command8");
        m_window->findChild<QAction*>("runmemo")->trigger();
        const auto path = [this](const char* name) {
            return QString::fromStdString(file(name).string());
        };
        QCOMPARE(m_services.opened, QStringList({path("cmp.txt"), path("cmpprt.txt"),
                                                 path("errlog.txt"), path("cmp.txt")}));
        QVERIFY(m_services.messages.isEmpty()); // a viewer that does not start says nothing
    }

    void theNetReportShowsItsBannerByContent() {
        write("cmp.txt", cleanReport());
        click("Command10");
        QStringList lines = box()->toPlainText().split('\n');
        QCOMPARE(
            lines.mid(0, 4),
            QStringList({kStars, "***********************完全一致しました。***********************",
                         kStars, ""}));
        QCOMPARE(lines.size(), 4 + 20 + 1); // the banner, the 20 lines, the last line end
        QCOMPARE(colour(), QColor(0, 0, 255));
        QCOMPARE(size(), 10);

        // A long path cuts the header: still clean, still the banner.
        const std::string longPath = "/projects/" + std::string(90, 'p') + "/a.tel";
        std::string report = cleanReport(longPath);
        const auto at = report.find(std::string(70 - 8, 'p')); // cut as the reflow does
        report.insert(at + 62, "\r\n            ");
        write("cmp.txt", report);
        click("Command10");
        QVERIFY(box()->toPlainText().startsWith(kStars + "\n*****"));
        QCOMPARE(colour(), QColor(0, 0, 255));

        // A difference: the file as it is, red at size 9.
        std::string different = cleanReport();
        different.insert(different.find("＜ネット１に"),
                         "EXTRA; 1: J9.1, \r\n\r\n\r\n" + std::string(33, '-') + "\r\n");
        write("cmp.txt", different);
        click("Command10");
        QVERIFY(box()->toPlainText().startsWith(kStars + "\nネット１"));
        QVERIFY(box()->toPlainText().contains("EXTRA; 1: J9.1, "));
        QCOMPARE(colour(), QColor(255, 0, 0));
        QCOMPARE(size(), 9);
    }

    void thePartsViewNeedsTheTickAndShowsItsBannerForAnEmptyReport() {
        write("cmpprt.txt", "\r\n");
        click("Command11");
        QCOMPARE(m_services.messages,
                 QStringList({"部品比較処理にチェックを入れ実行後に表示して下さい。"}));
        tickParts();
        click("Command11");
        QCOMPARE(box()->toPlainText(),
                 "\n" + kStars +
                     "\n**********************部品は一致しました。**********************\n" +
                     kStars);
        QCOMPARE(colour(), QColor(0, 0, 255));
        write("cmpprt.txt", "＜部品名違い＞\r\nR1\r\n\r\n");
        click("Command11");
        QCOMPARE(box()->toPlainText(), QStringLiteral("＜部品名違い＞\nR1\n\n"));
        QCOMPARE(colour(), QColor(255, 0, 0));
    }

    void theErrorViewShowsItsBannerWhenOnlyTheHeadingsAreThere() {
        write("errlog.txt", kErrorHeadings);
        click("Command12");
        QCOMPARE(box()->toPlainText(),
                 "\n" + kStars +
                     "\n********************エラー情報は有りません。********************\n" +
                     kStars);
        QCOMPARE(colour(), QColor(0, 0, 255));
        QCOMPARE(size(), 10);
        std::string withError = kErrorHeadings;
        withError.insert(withError.find("＜＜比較ファイル２"), "GND\r\n");
        write("errlog.txt", withError);
        click("Command12");
        QVERIFY(box()->toPlainText().contains("＜＜比較ファイル１＞\nGND\n"));
        QCOMPARE(colour(), QColor(255, 0, 0));
        QVERIFY(!errorLogHasNoErrors(QString()));
    }

    void longAndShiftJisReportsShowInFull() {
        // Far more lines than a 16-bit line counter holds.
        std::string many;
        for (int i = 0; i < 40000; ++i)
            many += "NET" + std::to_string(i) + "; 1: U1.1, \r\n";
        write("cmp.txt", many);
        click("Command10");
        QCOMPARE(box()->blockCount(), 40001);
        QVERIFY(m_services.messages.isEmpty());

        // A report the command line wrote for Windows colleagues.
        write("cmp.txt", utf8ToCp932("＜異なるネット＞\r\nネット名; 　A = B\r\n"));
        click("Command10");
        QCOMPARE(box()->toPlainText(), QStringLiteral("＜異なるネット＞\nネット名; 　A = B\n"));
    }

    void aFileTheBoxCannotShowIsNamedInAMessage() {
        WindowSetup small;
        small.workDir = m_dir->path().toStdString();
        small.limits.resultBoxChars = 100;
        MainWindow window(m_services, small);
        window.findChild<QPlainTextEdit*>("Text4")->setPlainText("kept");
        write("cmp.txt", std::string(200, 'x'));
        QTest::mouseClick(window.findChild<QPushButton*>("Command10"), Qt::LeftButton);
        QCOMPARE(m_services.messages, QStringList({q(messages::kOutOfMemory)}));

        std::filesystem::create_directory(file("errlog.txt")); // exists, cannot be read
        QTest::mouseClick(window.findChild<QPushButton*>("Command12"), Qt::LeftButton);
        QCOMPARE(m_services.messages.last(),
                 "ファイルを読み込めませんでした。：" +
                     QDir::toNativeSeparators(QString::fromStdString(file("errlog.txt").string())));

        write("cmpprt.txt", std::string("a\0b", 3)); // no text at all
        window.findChild<QCheckBox*>("Check1")->setChecked(true);
        QTest::mouseClick(window.findChild<QPushButton*>("Command11"), Qt::LeftButton);
        QVERIFY(m_services.messages.last().startsWith(q(messages::kUndecodable)));
        QCOMPARE(window.findChild<QPlainTextEdit*>("Text4")->toPlainText(), QStringLiteral("kept"));
    }

    void aMissingFileHidesTheProgressWindow() {
        m_window->show();
        m_window->progressWindow()->show();
        click("Command10");
        QVERIFY(!m_window->progressWindow()->isVisible());
    }
};

QTEST_MAIN(ResultViews)
#include "tst_result_views.moc"
