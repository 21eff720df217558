#pragma once

#include <QString>

// Captions and messages of the window and its views, in one place. The run's own texts live
// in base/messages.h; users' habits and the tests match these character for character.
namespace lintora::texts {

inline const QString kAppTitle = QStringLiteral("Lintora");

// Result views: nothing to show.
inline const QString kNoNetReportForViewer =
    QStringLiteral("ネット比較結果は有りません。実行後に表示してください。");
inline const QString kNoPartsReportForViewer =
    QStringLiteral("部品比較結果は有りません。実行後に表示してください。");
inline const QString kNoErrorLogForViewer =
    QStringLiteral("エラーメッセージは有りません。実行後に表示してください。");
inline const QString kNoNetReport = QStringLiteral("ネット比較結果は有りません。");
inline const QString kNoPartsReport = QStringLiteral("部品比較結果は有りません。");
inline const QString kPartsNotTicked =
    QStringLiteral("部品比較処理にチェックを入れ実行後に表示して下さい。");
inline const QString kNoErrorLog = QStringLiteral("エラー情報は有りません。");
// A report file that exists but cannot be read; followed by its path.
inline const QString kReadFailed = QStringLiteral("ファイルを読み込めませんでした。：");

// Banners of the result box.
inline const QString kStarRule =
    QStringLiteral("****************************************************************");
inline const QString kNetAllClear =
    QStringLiteral("***********************完全一致しました。***********************");
inline const QString kPartsAllClear =
    QStringLiteral("**********************部品は一致しました。**********************");
inline const QString kErrorsAllClear =
    QStringLiteral("********************エラー情報は有りません。********************");

// Proposing the swap file: a proposal with more pairs than the swap table holds; the
// argument is the table's size.
inline const QString kSwapProposalOverCapacity = QStringLiteral(
    "提案した組数がスワップファイルの許容量（%1組）を超えています。--no-limits を付けて起動して"
    "下さい。");

// Printing.
inline const QString kNothingToPrint = QStringLiteral("印刷データがありません！");

// Version window.
inline const QString kNoSystemInformation = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
inline const QString kDisclaimer = QStringLiteral(
    "警告: このプログラムは現状のまま提供されます。比較結果は基板の製造前に必ず設計者が"
    "確認して下さい。");

} // namespace lintora::texts
