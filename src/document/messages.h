#pragma once
// The texts the document and the list window show in the main window's one-line
// message panel, kept together so the windows, the command line and the tests
// say the same. Each is marked for the translation catalogue under kContext;
// they are handed up through UiText, so a front end hears them in its language.
#include "services/ui_text.h"

namespace kalvor::msg {

inline constexpr const char* kContext = "Messages";

inline constexpr const char* kNotSelected = KALVOR_TR_NOOP("Messages", "選択されていません");
inline constexpr const char* kCopying = KALVOR_TR_NOOP("Messages", "コピー処理中…");
inline constexpr const char* kDeleting = KALVOR_TR_NOOP("Messages", "削除処理中…");
inline constexpr const char* kCutting = KALVOR_TR_NOOP("Messages", "切り取り処理中…");
inline constexpr const char* kPasting = KALVOR_TR_NOOP("Messages", "貼り付け処理中…");
inline constexpr const char* kWriting = KALVOR_TR_NOOP("Messages", "書き込み処理中…");
inline constexpr const char* kDone = KALVOR_TR_NOOP("Messages", "処理完了");
inline constexpr const char* kNoData = KALVOR_TR_NOOP("Messages", "データがありません");
inline constexpr const char* kUndone = KALVOR_TR_NOOP("Messages", "元に戻しました");

// Refusals and failures: the command stopped and nothing was changed.
inline constexpr const char* kFormatMismatch = KALVOR_TR_NOOP("Messages", "形式が違うため貼り付けできません");
inline constexpr const char* kNotMpeg = KALVOR_TR_NOOP("Messages", "MPEGオーディオファイルではありません");
inline constexpr const char* kMpeg25 = KALVOR_TR_NOOP("Messages", "MPEG 2.5 のファイルは編集できません");
inline constexpr const char* kOwnFile = KALVOR_TR_NOOP("Messages", "編集中のファイルには書き込めません");
inline constexpr const char* kWorkingName = KALVOR_TR_NOOP("Messages", "作業ファイルと同じ名前のため開けません");
inline constexpr const char* kWriteFailed = KALVOR_TR_NOOP("Messages", "書き込みに失敗しました");
inline constexpr const char* kReadFailed = KALVOR_TR_NOOP("Messages", "読み込みに失敗しました");
inline constexpr const char* kBusy = KALVOR_TR_NOOP("Messages", "処理中のため実行できません");

// Why a split or build output stopped, after kWriteFailed. "{}" stands for the
// file's name; the quotes around it are the language's own, part of the text.
inline constexpr const char* kListEmpty = KALVOR_TR_NOOP("Messages", "リストが空です");
inline constexpr const char* kNoOutputName = KALVOR_TR_NOOP("Messages", "出力ファイル名がありません");
inline constexpr const char* kOutputIsOwnFile = KALVOR_TR_NOOP("Messages", "「{}」は編集中のファイルです");
inline constexpr const char* kOutputIsWorkingFile = KALVOR_TR_NOOP("Messages", "「{}」は作業ファイルです");
inline constexpr const char* kCannotReplace = KALVOR_TR_NOOP("Messages", "「{}」は既にあり、置き換えられません");
inline constexpr const char* kCannotWriteTo = KALVOR_TR_NOOP("Messages", "「{}」に書き込めません");
inline constexpr const char* kSourceNotAnalysed = KALVOR_TR_NOOP("Messages", "元のファイルを解析できません");
inline constexpr const char* kSourceUnreadable = KALVOR_TR_NOOP("Messages", "元のファイルを読み込めません");
inline constexpr const char* kSourceEnded = KALVOR_TR_NOOP("Messages", "元のファイルが範囲の途中で終わっています");
inline constexpr const char* kCopyStopped = KALVOR_TR_NOOP("Messages", "「{}」へのコピーが途中で止まりました");
inline constexpr const char* kLengthNotUpdated = KALVOR_TR_NOOP("Messages", "「{}」の長さ情報を更新できません");
inline constexpr const char* kTagsNotWritten = KALVOR_TR_NOOP("Messages", "「{}」にタグを書き込めません");
inline constexpr const char* kNotMovedIntoPlace = KALVOR_TR_NOOP("Messages", "書き込んだファイルを「{}」に移せません");
inline constexpr const char* kAllRangesEmpty =
    KALVOR_TR_NOOP("Messages", "範囲がすべて空のため、何も書き込みませんでした");
inline constexpr const char* kOutputStopped = KALVOR_TR_NOOP("Messages", "予期しないエラーで出力が止まりました");

// The split at silences.
inline constexpr const char* kReadingLevels = KALVOR_TR_NOOP("Messages", "音量を解析中…");
inline constexpr const char* kNoLevels = KALVOR_TR_NOOP("Messages", "音量を読み取れません");
inline constexpr const char* kNoSilence = KALVOR_TR_NOOP("Messages", "無音が見つかりません");

}  // namespace kalvor::msg
