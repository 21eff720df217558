// The main window as it loads: every control's name and caption, the menus, the tab order,
// the format lists, the start-button rule, browsing, dropping files, help, version and
// ending the program; and the window's command line.

#include "base/messages.h"
#include "fake_services.h"
#include "run/format_table.h"
#include "ui/about_window.h"
#include "ui/command_line.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <fstream>

using namespace lintora;

class WindowControls : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    test::FakeServices m_services;
    std::unique_ptr<MainWindow> m_window;

    template <typename T> T* find(const char* name) {
        T* widget = m_window->findChild<T*>(QLatin1String(name));
        if (widget == nullptr)
            qWarning("no control named %s", name);
        return widget;
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }
    QAction* action(const char* name) { return find<QAction>(name); }

private slots:
    void init() {
        m_services = test::FakeServices();
        WindowSetup setup;
        setup.workDir = m_dir.path().toStdString();
        m_window = std::make_unique<MainWindow>(m_services, setup);
    }
    void cleanup() { m_window.reset(); }

    void everyControlHasItsNameAndCaption() {
        const std::pair<const char*, QString> labels[] = {
            {"Label1", "比較ファイル1"},
            {"Label2", "比較ファイル2"},
            {"Label3", "Lintora Ver" + QString::number(LINTORA_VERSION_MAJOR) + "." +
                           QString::number(LINTORA_VERSION_MINOR)},
            {"Label4", "　無極性部品　ﾘﾌｧﾚﾝｽ＆番号指定"},
            {"Label5", "スワップファイル"},
            {"Label6", "ネット種別"},
            {"Label7", "ネット種別"},
            {"Label8", "比較結果"},
            {"Label9",
             "＜比較１ネットピン番変更＞\n例　Ｄの１番ピンをＡＮＯＤＥに変更する場合。リファレ"
             "ンスに”Ｄ”変更前に”１”変更後にＡＮＯＤＥを入れてください。）"},
            {"Label10", "ﾘﾌｧﾚﾝｽ＆番号"},
            {"Label11", "ピン番変更前"},
            {"Label12", "ピン番変更後"},
            {"Label13", "調整値"},
            {"Label14", "部品比較処理"},
            {"Label15", "メモ帳表示"},
        };
        for (const auto& [name, caption] : labels) {
            QLabel* label = find<QLabel>(name);
            QVERIFY2(label != nullptr, name);
            QCOMPARE(label->text(), caption);
        }
        const std::pair<const char*, QString> buttons[] = {
            {"Command1", "参照"},
            {"Command2", "参照"},
            {"Command3", "参照"},
            {"Command4", "比較実行"},
            {"Command5", "終了"},
            {"Command6", "比較結果印刷"},
            {"Command7", "ネット比較結果"},
            {"Command8", "エラー情報表示"},
            {"Command9", "部品比較結果"},
            {"Command10", "ネット比較結果"},
            {"Command11", "部品比較結果"},
            {"Command12", "エラー表示"},
            {"Command13", "比較結果チェックシート起動"},
        };
        for (const auto& [name, caption] : buttons) {
            QPushButton* b = button(name);
            QVERIFY2(b != nullptr, name);
            QCOMPARE(b->text(), caption);
        }
        for (const char* name : {"Text1", "Text2", "Text3"})
            QVERIFY2(edit(name) != nullptr && edit(name)->text().isEmpty(), name);
        QCOMPARE(edit("Text5")->text(), QStringLiteral("49"));
        for (int i = 0; i < 30; ++i)
            QVERIFY(m_window->findChild<QLineEdit*>(QStringLiteral("Trefp_%1").arg(i)));
        for (int i = 0; i < 10; ++i)
            QVERIFY(m_window->findChild<QLineEdit*>(QStringLiteral("Tref_%1").arg(i)));
        QVERIFY(!find<QCheckBox>("Check1")->isChecked());
        QVERIFY(find<QComboBox>("Combo1") && find<QComboBox>("Combo2"));
        QVERIFY(find<QPlainTextEdit>("Text4")->toPlainText().isEmpty());
        QVERIFY(!find<QPlainTextEdit>("Text4")->isReadOnly());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Lintora"));
        QVERIFY(m_window->statusBar()->findChild<QLabel*>()->text().contains(m_dir.path()));
    }

    void theMenusHaveTheirEntriesAndAccelerators() {
        const std::pair<const char*, QString> menus[] = {{"mnufile", "ファイル(&F)"},
                                                         {"mnufilein", "入力ファイル"},
                                                         {"run", "実行(&R)"},
                                                         {"mnuhelp", "ヘルプ(&H)"}};
        for (const auto& [name, caption] : menus)
            QCOMPARE(find<QMenu>(name)->title(), caption);
        const std::pair<const char*, QString> entries[] = {
            {"mnufilein1", "比較１"},
            {"mnufilein2", "比較２"},
            {"mnufileinback", "バックアノテーション"},
            {"mnufileprint", "印刷"},
            {"mnufileend", "終了"},
            {"runcmp", "比較開始"},
            {"runmemo", "結果メモ帳表示"},
            {"mnuhelpmokuji", "目次"},
            {"mnuhelpv", "バージョン情報"}};
        for (const auto& [name, caption] : entries)
            QCOMPARE(action(name)->text(), caption);
        // The entries stand in their menus, in order.
        const auto texts = [](QMenu* menu) {
            QStringList list;
            for (QAction* a : menu->actions())
                list << a->text();
            return list;
        };
        QCOMPARE(texts(find<QMenu>("mnufile")), QStringList({"入力ファイル", "印刷", "終了"}));
        QCOMPARE(texts(find<QMenu>("mnufilein")),
                 QStringList({"比較１", "比較２", "バックアノテーション"}));
        QCOMPARE(texts(find<QMenu>("run")), QStringList({"比較開始", "結果メモ帳表示"}));
        QCOMPARE(texts(find<QMenu>("mnuhelp")), QStringList({"目次", "バージョン情報"}));
    }

    void tabOrderStartsWithTheBrowseButtonsAndPaths() {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        edit("Text2")->setText("b.net"); // a disabled start button takes no focus
        button("Command1")->setFocus();
        QStringList order;
        for (int i = 0; i < 12; ++i) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused != nullptr);
            if (qobject_cast<QComboBox*>(focused->parentWidget()))
                focused = focused->parentWidget(); // an editable combo box's own line edit
            order << focused->objectName();
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(order,
                 QStringList({"Command1", "Command2", "Text1", "Text2", "Combo1", "Combo2",
                              "Command3", "Command4", "Text3", "Check1", "Trefp_0", "Trefp_1"}));
    }

    void bothFormatListsFollowTheFormatTableUnsortedAndUnchosen() {
        QStringList expected;
        for (const std::string_view name : formatNamesForDisplay())
            expected << QString::fromUtf8(name.data(), qsizetype(name.size()));
        QVERIFY(expected.size() >= 27);
        const QStringList first27 = {"ACCEL",
                                     "ALLEGRO",
                                     "CADIX XID",
                                     "CADLUS-PC(Reverse Net)",
                                     "CADVANCE",
                                     "CR2000",
                                     "CR3000",
                                     "CR5000",
                                     "CSi",
                                     "D2 CAD",
                                     "Expedition PCB",
                                     "FUTURE",
                                     "INTERGRA",
                                     "MENTOR",
                                     "MM-COLMO_NEO & MM2",
                                     "MYPCB",
                                     "OHM-3",
                                     "PADS2000",
                                     "PADSPCB",
                                     "Pcad(wrl)",
                                     "Pcad(nlt)",
                                     "PROTEL",
                                     "PROTEL2",
                                     "SFX",
                                     "TANGO",
                                     "Telesis",
                                     "WACOM SIMPLE NET"};
        QCOMPARE(expected.mid(0, 27), first27); // names added later follow these
        for (const char* name : {"Combo1", "Combo2"}) {
            QComboBox* box = find<QComboBox>(name);
            QStringList items;
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
            QCOMPARE(items, expected);
            QVERIFY(box->isEditable());
            QCOMPARE(box->currentIndex(), -1);
            QVERIFY(box->currentText().isEmpty());
            // A typed name stays as typed, not completed nor added to the list.
            box->setFocus();
            QTest::keyClicks(box, "pads");
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(box->currentText(), QStringLiteral("pads"));
            QCOMPARE(box->count(), expected.size());
        }
    }

    void theStartButtonFollowsTheSide2PathOnly() {
        QPushButton* start = button("Command4");
        QVERIFY(!start->isEnabled());
        QTest::keyClicks(edit("Text1"), "a.net");
        QVERIFY(!start->isEnabled());
        QTest::keyClicks(edit("Text2"), "b");
        QVERIFY(start->isEnabled());
        edit("Text2")->clear();
        QVERIFY(!start->isEnabled());
        edit("Text1")->clear();
        edit("Text2")->setText("b.net");
        QVERIFY(start->isEnabled());
    }

    void browsingFillsItsBoxAndACancelLeavesItAlone() {
        m_services.chosenFiles = {QStringLiteral("/boards/a.NET"), QString(),
                                  QStringLiteral("/boards/swap.SWP"),
                                  QStringLiteral("/boards/b.net")};
        edit("Text2")->setText("typed.net");
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        QCOMPARE(edit("Text1")->text(), QStringLiteral("/boards/a.NET"));
        QTest::mouseClick(button("Command2"), Qt::LeftButton); // cancelled
        QCOMPARE(edit("Text2")->text(), QStringLiteral("typed.net"));
        QTest::mouseClick(button("Command3"), Qt::LeftButton);
        QCOMPARE(edit("Text3")->text(), QStringLiteral("/boards/swap.SWP"));
        action("mnufilein2")->trigger();
        QCOMPARE(edit("Text2")->text(), QStringLiteral("/boards/b.net"));
        action("mnufilein1")->trigger(); // cancelled
        QCOMPARE(edit("Text1")->text(), QStringLiteral("/boards/a.NET"));

        // One dialog: it opens where the last choice was, whichever action made it.
        QCOMPARE(m_services.fileStarts, QStringList({m_dir.path(), "/boards/a.NET", "/boards/a.NET",
                                                     "/boards/swap.SWP", "/boards/b.net"}));
        const QString netlists =
            "ネットファイル (*.NET *.WRL *.CCF *.ALT *.SMP *.NPL);;全てのファイル (*)";
        const QString menuNetlists = "ネットファイル (*.NET *.WRL *.ALT *.SMP)";
        QCOMPARE(
            m_services.fileFilters,
            QStringList({netlists, netlists, "ネットファイル (*.SWP *.TXT);;全てのファイル (*)",
                         menuNetlists, menuNetlists}));
    }

    void aDroppedFileFillsThePathBox() {
        for (const char* name : {"Text1", "Text2", "Text3"}) {
            QLineEdit* box = edit(name);
            box->setText("old");
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile("/boards/dropped.net")});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &drop);
            QCOMPARE(box->text(), QStringLiteral("/boards/dropped.net"));
        }
    }

    void backAnnotationChecksTheInputsLikeTheStartButton() {
        // It proposes the swap file for the inputs as they are: none, here.
        QSignalSpy finished(m_window.get(), &MainWindow::swapProposalFinished);
        action("mnufileinback")->trigger();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(m_services.messages,
                 QStringList({QString::fromUtf8(messages::kNoPath1.data(),
                                                qsizetype(messages::kNoPath1.size()))}));
        QVERIFY(m_services.fileFilters.isEmpty());
        QVERIFY(find<QPlainTextEdit>("Text4")->toPlainText().isEmpty());
        QVERIFY(edit("Text3")->text().isEmpty());
        QVERIFY(!QFile::exists(m_dir.path() + "/swap-proposal.swp"));
    }

    void endingTheProgramByButtonMenuOrTitleBar() {
        m_window->show();
        QTest::mouseClick(button("Command5"), Qt::LeftButton);
        QCOMPARE(m_services.quits, 1);
        m_window->show();
        action("mnufileend")->trigger();
        QCOMPARE(m_services.quits, 2);
        m_window->show();
        m_window->close(); // the title bar's close button
        QCOMPARE(m_services.quits, 3);
    }

    void theVersionWindowShowsTheProjectVersion() {
        const QString expected = QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
                                     .arg(LINTORA_VERSION_MAJOR)
                                     .arg(LINTORA_VERSION_MINOR)
                                     .arg(LINTORA_VERSION_PATCH);
        QCOMPARE(versionLine(), expected);
        action("mnuhelpv")->trigger();
        AboutWindow* about = m_window->aboutWindow();
        QVERIFY(about != nullptr && about->isVisible() && !about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("Lintoraのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Lintora"));
        QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), expected);
        QVERIFY(!about->findChild<QLabel*>("lblDisclaimer")->text().isEmpty());
        QVERIFY(about->findChild<QLabel*>("picIcon"));
        QCOMPARE(about->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
        QPushButton* sysInfo = about->findChild<QPushButton*>("cmdSysInfo");
        QCOMPARE(sysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        QTest::mouseClick(sysInfo, Qt::LeftButton);
        QDialog* info = about->systemInformationDialog();
        QVERIFY(info != nullptr && info->isVisible());
        const QString shown = info->findChild<QLabel*>("systemInformationText")->text();
        QVERIFY(shown.contains(QSysInfo::kernelType()));
        QVERIFY(shown.contains(QString::fromLatin1(qVersion())));
        QVERIFY(m_services.messages.isEmpty());
        QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    void helpOpensTheBuiltInManualUnlessTheStartDirectoryHasOne() {
        action("mnuhelpmokuji")->trigger();
        HelpWindow* help = m_window->helpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        QCOMPARE(help->browser()->source(), QUrl("qrc:/help/lintora.html"));
        const QString manual = help->browser()->toPlainText();
        for (const char* topic :
             {"目次", "スワップファイル", "WACOM SIMPLE NET", "cmp.txt", "--no-limits",
              "lintora-cli", "バックアノテーション", "swap-proposal.swp"})
            QVERIFY2(manual.contains(QString::fromUtf8(topic)), topic);

        {
            std::ofstream site((m_dir.path() + "/lintora.html").toStdString());
            site << "<html><body><p>Site manual</p></body></html>";
        }
        action("mnuhelpmokuji")->trigger();
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(m_dir.path() + "/lintora.html"));
        QVERIFY(help->browser()->toPlainText().contains("Site manual"));
    }

    void theProgressWindowStaysOnTopWithOkDisabled() {
        ProgressWindow* progress = m_window->progressWindow();
        QVERIFY(progress->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(progress->windowTitle(), QStringLiteral("Lintoraの処理状況"));
        QCOMPARE(progress->findChild<QLabel*>("Label2")->text(), QStringLiteral("Lintora"));
        QVERIFY(progress->findChild<QLabel*>("Label1")->text().isEmpty());
        QProgressBar* bar = progress->findChild<QProgressBar*>("ProgressBar1");
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QPushButton* ok = progress->findChild<QPushButton*>("Command1");
        QVERIFY(!ok->isEnabled());
        progress->show();
        progress->close(); // a working run's window does not close
        QVERIFY(progress->isVisible());
        progress->enableOk();
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!progress->isVisible());
    }

    void theCommandLineTakesAWorkDirNoLimitsAndTwoFiles() {
        CommandLine line = parseCommandLine({"--workdir", "/tmp", "--no-limits", "a.net", "b.net"});
        QVERIFY(line.ok);
        QCOMPARE(line.workDir, QStringLiteral("/tmp"));
        QVERIFY(line.noLimits);
        QCOMPARE(line.files, QStringList({"a.net", "b.net"}));
        line = parseCommandLine({"only.net"});
        QVERIFY(line.ok && line.workDir.isEmpty() && !line.noLimits);
        QCOMPARE(line.files, QStringList({"only.net"}));
        line = parseCommandLine({"--", "--odd-name.net"});
        QCOMPARE(line.files, QStringList({"--odd-name.net"}));
        QVERIFY(!parseCommandLine({"a", "b", "c"}).ok);
        QVERIFY(!parseCommandLine({"--workdir"}).ok);
        QVERIFY(!parseCommandLine({"--frobnicate"}).ok);
    }
};

QTEST_MAIN(WindowControls)
#include "tst_window_controls.moc"
