#pragma once
// The texts the document and the list window show in the main window's one-line
// message panel, kept together so the windows, the command line and the tests
// say the same.
namespace kalvor::msg {

inline constexpr const char* kNotSelected = "選択されていません";
inline constexpr const char* kCopying = "コピー処理中…";
inline constexpr const char* kDeleting = "削除処理中…";
inline constexpr const char* kCutting = "切り取り処理中…";
inline constexpr const char* kPasting = "貼り付け処理中…";
inline constexpr const char* kWriting = "書き込み処理中…";
inline constexpr const char* kDone = "処理完了";
inline constexpr const char* kNoData = "データがありません";
inline constexpr const char* kUndone = "元に戻しました";

// Refusals and failures: the command stopped and nothing was changed.
inline constexpr const char* kFormatMismatch = "形式が違うため貼り付けできません";
inline constexpr const char* kNotMpeg = "MPEGオーディオファイルではありません";
inline constexpr const char* kOwnFile = "編集中のファイルには書き込めません";
inline constexpr const char* kWorkingName = "作業ファイルと同じ名前のため開けません";
inline constexpr const char* kWriteFailed = "書き込みに失敗しました";
inline constexpr const char* kReadFailed = "読み込みに失敗しました";
inline constexpr const char* kBusy = "処理中のため実行できません";

// Why a split or build output stopped, after kWriteFailed. "{}" stands for the
// file's name in 「」.
inline constexpr const char* kListEmpty = "リストが空です";
inline constexpr const char* kNoOutputName = "出力ファイル名がありません";
inline constexpr const char* kOutputIsOwnFile = "{}は編集中のファイルです";
inline constexpr const char* kOutputIsWorkingFile = "{}は作業ファイルです";
inline constexpr const char* kCannotReplace = "{}は既にあり、置き換えられません";
inline constexpr const char* kCannotWriteTo = "{}に書き込めません";
inline constexpr const char* kSourceNotAnalysed = "元のファイルを解析できません";
inline constexpr const char* kSourceUnreadable = "元のファイルを読み込めません";
inline constexpr const char* kSourceEnded = "元のファイルが範囲の途中で終わっています";
inline constexpr const char* kCopyStopped = "{}へのコピーが途中で止まりました";
inline constexpr const char* kLengthNotUpdated = "{}の長さ情報を更新できません";
inline constexpr const char* kTagsNotWritten = "{}にタグを書き込めません";
inline constexpr const char* kNotMovedIntoPlace = "書き込んだファイルを{}に移せません";
inline constexpr const char* kAllRangesEmpty = "範囲がすべて空のため、何も書き込みませんでした";
inline constexpr const char* kOutputStopped = "予期しないエラーで出力が止まりました";

// The split at silences.
inline constexpr const char* kReadingLevels = "音量を解析中…";
inline constexpr const char* kNoLevels = "音量を読み取れません";
inline constexpr const char* kNoSilence = "無音が見つかりません";

}  // namespace kalvor::msg
