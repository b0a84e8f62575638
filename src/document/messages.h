#pragma once
// The texts the document shows in the main window's one-line message panel,
// kept together so the window, the command line and the tests say the same.
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

}  // namespace kalvor::msg
