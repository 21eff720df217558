#pragma once

#include <string_view>

// Every text the run shows the user, in one place. The texts are Lintora's own and are
// matched character for character by users' scripts and the tests.
namespace lintora::messages {

// Validation, in the order the inputs are checked.
inline constexpr std::string_view kNoPath1 = "比較１のファイル名を指定してください。";
inline constexpr std::string_view kNoPath2 = "比較２のファイル名を指定してください。";
inline constexpr std::string_view kNoFormat1 = "比較１のファイルフォーマットを指定してください。";
inline constexpr std::string_view kNoFormat2 = "比較２のファイルフォーマットを指定してください。";
inline constexpr std::string_view kSamePaths = "比較１と比較２のファイル名が同一になっております。";
inline constexpr std::string_view kBadAdjustment =
    "調整値が正しくありません。-32768から32767までの数値を指定して下さい。";

// Format lookup and format mismatch.
inline constexpr std::string_view kUnknownFormat1 =
    "比較１ファイルのネットフォーマットを指定して下さい。";
inline constexpr std::string_view kUnknownFormat2 =
    "比較２ファイルのネットフォーマットを指定して下さい。";
inline constexpr std::string_view kFormatMismatch1 =
    "比較１のネットフォーマットが一致していません。もう一度フォーマットを確認してください。";
inline constexpr std::string_view kFormatMismatch2 =
    "比較２のネットフォーマットが一致していません。もう一度フォーマットを確認してください。";

// Failures that end a run.
inline constexpr std::string_view kFileNotFound =
    "指定ファイルが見つかりません。もう一度確認して実行して下さい。";
inline constexpr std::string_view kCapacity = "ネット数の許容量が越えました。";
inline constexpr std::string_view kOutOfMemory =
    "エラーが多く表示画面に表示できません。メモ帳表示にて確認してください。";
// Followed by the file's name.
inline constexpr std::string_view kWriteFailed = "ファイルを書き込めませんでした。：";
inline constexpr std::string_view kUndecodable =
    "ファイルの文字コードを読み取れません。UTF-8 または Shift_JIS のファイルを指定して下さい。：";
// Followed by the working directory.
inline constexpr std::string_view kBusy =
    "同じ作業フォルダで別の比較が実行中です。終了してからもう一度実行して下さい。：";
inline constexpr std::string_view kUnexpected =
    "予期しないエラーが発生しました。処理を中止します。：";

// Progress captions.
inline constexpr std::string_view kConvertingSide1 = "比較１ネット変換処理中";
inline constexpr std::string_view kSortingSide1 = "比較１ソート処理中";
inline constexpr std::string_view kSortingSide2 = "比較２ソート処理中";
inline constexpr std::string_view kMatchingParts = "部品照合処理中";
inline constexpr std::string_view kComparing = "比較処理中";
inline constexpr std::string_view kFinished = "処理が終了しました。";
inline constexpr std::string_view kProposingSwap = "スワップファイル提案処理中";

// Proposing the swap file from the window ("バックアノテーション"). The written message is
// followed by the number of pairs and the file's path.
inline constexpr std::string_view kSwapProposalReplace =
    "スワップファイル swap-proposal.swp が既にあります。置き換えますか？";
inline constexpr std::string_view kSwapProposalNone =
    "接続から提案できる部品の入れ替えはありませんでした。";
inline constexpr std::string_view kSwapProposalWritten =
    "スワップファイルを作成し、スワップファイル欄に設定しました。提案した組数：";

// Headings of errlog.txt that the run writes around the duplicate checks.
inline constexpr std::string_view kErrorLogTitle = "／／／／／／／／／エラー情報／／／／／／／／／";
inline constexpr std::string_view kErrorLogSide1 = "＜＜比較ファイル１＞";
inline constexpr std::string_view kErrorLogSide2 = "＜＜比較ファイル２＞＞";

// The check sheet.
inline constexpr std::string_view kCheckSheetQuestion =
    "マイクロソフトエクセルがインストールされているパソコンで実行して下さい。"
    "実行してよろしいでしょうか。？";
inline constexpr std::string_view kCheckSheetNoReport =
    "ネット比較結果は有りません。実行後に表示してください。";
inline constexpr std::string_view kCheckSheetInUse =
    "起動中のエクセルファイル全てを閉じて実行して下さい。";
inline constexpr std::string_view kCheckSheetTooLarge =
    "比較結果が大きすぎてチェックシートに収まりません。（1,048,576 行、1 セル 32,767 文字まで）";

} // namespace lintora::messages
