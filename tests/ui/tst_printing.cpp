// Printing the result box: to a PDF through the printer seam, read back with pdftotext.

#include "fake_services.h"
#include "ui/main_window.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace lintora;

class Printing : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    test::FakeServices m_services;
    std::unique_ptr<MainWindow> m_window;

    QPlainTextEdit* box() { return m_window->findChild<QPlainTextEdit*>("Text4"); }
    void print() {
        QTest::mouseClick(m_window->findChild<QPushButton*>("Command6"), Qt::LeftButton);
    }

    // The PDF's text, page by page.
    QStringList pdfPages(const QString& pdf) {
#ifdef LINTORA_PDFTOTEXT
        QProcess tool;
        tool.start(QStringLiteral(LINTORA_PDFTOTEXT), {"-layout", "-enc", "UTF-8", pdf, "-"});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
            qFatal("pdftotext failed");
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split('\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
#else
        Q_UNUSED(pdf);
        QTest::qSkip("pdftotext is not installed", __FILE__, __LINE__);
        return {};
#endif
    }

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

    void anEmptyBoxHasNothingToPrint() {
        m_services.pdfPath = m_dir->path() + "/never.pdf";
        print();
        m_window->findChild<QAction*>("mnufileprint")->trigger();
        QCOMPARE(m_services.messages,
                 QStringList({"印刷データがありません！", "印刷データがありません！"}));
        QCOMPARE(m_services.printerDialogs, 0);
        QVERIFY(!QFile::exists(m_services.pdfPath));
    }

    void aCancelledPrinterDialogPrintsNothing() {
        box()->setPlainText("report");
        print(); // pdfPath empty: the fake cancels
        QCOMPARE(m_services.printerDialogs, 1);
        QVERIFY(m_services.messages.isEmpty());
        QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
    }

    void everyLineIsPrintedInOrderOverAsManyPagesAsItTakes() {
        // What the box holds, also text the user typed into it; a pin list far wider than
        // the page; Japanese headings.
        QString text = QStringLiteral("＜異なるネット＞\nネット名; 　GND = GND\n");
        QString pins;
        for (int i = 1; i <= 60; ++i)
            pins += QStringLiteral("U%1.7, ").arg(i);
        text += QStringLiteral("ネット１; 　") + pins + '\n';
        for (int i = 0; i < 150; ++i)
            text += QStringLiteral("LINE%1; 2: R%1.1, C%1.2, \n").arg(i, 3, 10, QLatin1Char('0'));
        text += QStringLiteral("＜ネット１に存在しないネット２のネット＞\n");
        box()->setPlainText(text);
        m_services.pdfPath = m_dir->path() + "/report.pdf";
        m_window->findChild<QAction*>("mnufileprint")->trigger();
        QVERIFY(m_services.messages.isEmpty());
        QVERIFY(QFile::exists(m_services.pdfPath));

        const QStringList pages = pdfPages(m_services.pdfPath);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        // pdftotext gives an ideographic space back as a blank.
        const QString all = pages.join('\n').replace(QChar(0x3000), ' ');
        QVERIFY(all.contains(QStringLiteral("＜異なるネット＞")));
        QVERIFY(all.contains(QRegularExpression(QStringLiteral("ネット名; +GND = GND"))));
        QVERIFY(all.contains(QStringLiteral("＜ネット１に存在しないネット２のネット＞")));
        // The long pin list is wrapped, not cut: every pin is there, in order.
        qsizetype at = all.indexOf(QStringLiteral("ネット１;"));
        for (int i = 1; i <= 60; ++i) {
            const qsizetype next = all.indexOf(QStringLiteral("U%1.7,").arg(i), at);
            QVERIFY2(next > at, qPrintable(QStringLiteral("pin U%1.7").arg(i)));
            at = next;
        }
        // Every numbered line, in order, none lost at a page break.
        for (int i = 0; i < 150; ++i) {
            const qsizetype next = all.indexOf(
                QStringLiteral("LINE%1; 2: R%1.1, C%1.2,").arg(i, 3, 10, QLatin1Char('0')), at);
            QVERIFY2(next > at, qPrintable(QStringLiteral("line %1").arg(i)));
            at = next;
        }
        QVERIFY(pages.first().contains(QStringLiteral("LINE000")));
        QVERIFY(!pages.first().contains(QStringLiteral("LINE149")));
    }
};

QTEST_MAIN(Printing)
#include "tst_printing.moc"
