<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>FileDialog</name>
    <message>
        <source>mpegオーディオファイル|*.mp3;*.mp2;*.mp1</source>
        <translation>MPEG audio files|*.mp3;*.mp2;*.mp1</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>選択されていません</source>
        <translation>Nothing is selected</translation>
    </message>
    <message>
        <source>コピー処理中…</source>
        <translation>Copying…</translation>
    </message>
    <message>
        <source>削除処理中…</source>
        <translation>Deleting…</translation>
    </message>
    <message>
        <source>切り取り処理中…</source>
        <translation>Cutting…</translation>
    </message>
    <message>
        <source>貼り付け処理中…</source>
        <translation>Pasting…</translation>
    </message>
    <message>
        <source>書き込み処理中…</source>
        <translation>Writing…</translation>
    </message>
    <message>
        <source>処理完了</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>データがありません</source>
        <translation>There is nothing to use</translation>
    </message>
    <message>
        <source>元に戻しました</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>形式が違うため貼り付けできません</source>
        <translation>Cannot paste: the formats differ</translation>
    </message>
    <message>
        <source>MPEGオーディオファイルではありません</source>
        <translation>Not an MPEG audio file</translation>
    </message>
    <message>
        <source>MPEG 2.5 のファイルは編集できません</source>
        <translation>MPEG 2.5 files cannot be edited</translation>
    </message>
    <message>
        <source>編集中のファイルには書き込めません</source>
        <translation>Cannot write to the file being edited</translation>
    </message>
    <message>
        <source>作業ファイルと同じ名前のため開けません</source>
        <translation>Cannot open a file named like a working file</translation>
    </message>
    <message>
        <source>書き込みに失敗しました</source>
        <translation>Writing failed</translation>
    </message>
    <message>
        <source>読み込みに失敗しました</source>
        <translation>Reading failed</translation>
    </message>
    <message>
        <source>処理中のため実行できません</source>
        <translation>Busy: wait until the running command ends</translation>
    </message>
    <message>
        <source>リストが空です</source>
        <translation>the list is empty</translation>
    </message>
    <message>
        <source>出力ファイル名がありません</source>
        <translation>no output file name was given</translation>
    </message>
    <message>
        <source>「{}」は編集中のファイルです</source>
        <translation>“{}” is the file being edited</translation>
    </message>
    <message>
        <source>「{}」は作業ファイルです</source>
        <translation>“{}” is one of the working files</translation>
    </message>
    <message>
        <source>「{}」は既にあり、置き換えられません</source>
        <translation>“{}” already exists and cannot be replaced</translation>
    </message>
    <message>
        <source>「{}」に書き込めません</source>
        <translation>cannot write to “{}”</translation>
    </message>
    <message>
        <source>元のファイルを解析できません</source>
        <translation>the source file cannot be analysed</translation>
    </message>
    <message>
        <source>元のファイルを読み込めません</source>
        <translation>the source file cannot be read</translation>
    </message>
    <message>
        <source>元のファイルが範囲の途中で終わっています</source>
        <translation>the source file ends inside a range</translation>
    </message>
    <message>
        <source>「{}」へのコピーが途中で止まりました</source>
        <translation>copying to “{}” stopped part-way</translation>
    </message>
    <message>
        <source>「{}」の長さ情報を更新できません</source>
        <translation>the length information of “{}” cannot be updated</translation>
    </message>
    <message>
        <source>「{}」にタグを書き込めません</source>
        <translation>the tags cannot be written into “{}”</translation>
    </message>
    <message>
        <source>書き込んだファイルを「{}」に移せません</source>
        <translation>the written file cannot be moved to “{}”</translation>
    </message>
    <message>
        <source>範囲がすべて空のため、何も書き込みませんでした</source>
        <translation>every range is empty: nothing was written</translation>
    </message>
    <message>
        <source>予期しないエラーで出力が止まりました</source>
        <translation>an unexpected error stopped the output</translation>
    </message>
    <message>
        <source>音量を解析中…</source>
        <translation>Reading the levels…</translation>
    </message>
    <message>
        <source>音量を読み取れません</source>
        <translation>The levels cannot be read</translation>
    </message>
    <message>
        <source>無音が見つかりません</source>
        <translation>No silence was found</translation>
    </message>
</context>
<context>
    <name>Transport</name>
    <message>
        <source>一時停止…</source>
        <translation>Paused…</translation>
    </message>
    <message>
        <source>再生中… </source>
        <translation>Playing… </translation>
    </message>
    <message>
        <source>再生停止</source>
        <translation>Stopped</translation>
    </message>
</context>
<context>
    <name>VersionInfo</name>
    <message>
        <source>更新版</source>
        <translation> build</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version Information</translation>
    </message>
</context>
<context>
    <name>kalvor::FrmList</name>
    <message>
        <source>ビルド</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>出力中… %1/%2</source>
        <translation>Writing… %1/%2</translation>
    </message>
    <message>
        <source>無音で分割</source>
        <translation>Split at silences</translation>
    </message>
</context>
<context>
    <name>kalvor::FrmMain</name>
    <message>
        <source>ファイル情報</source>
        <translation>File Information</translation>
    </message>
    <message>
        <source>範囲内再生</source>
        <translation>Play the Selection</translation>
    </message>
    <message>
        <source>範囲外再生</source>
        <translation>Play Around the Selection</translation>
    </message>
    <message>
        <source>ループ再生</source>
        <translation>Play the Selection in a Loop</translation>
    </message>
    <message>
        <source>マークインまで</source>
        <translation>Play up to the Mark-In</translation>
    </message>
    <message>
        <source>マークアウトまで</source>
        <translation>Play up to the Mark-Out</translation>
    </message>
    <message>
        <source>マークインから</source>
        <translation>Play from the Mark-In</translation>
    </message>
    <message>
        <source>マークアウトから</source>
        <translation>Play from the Mark-Out</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前をつけて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>すべて選択</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>ファイルを貼り付け</source>
        <translation>Paste from File</translation>
    </message>
    <message>
        <source>ファイルに書きだし</source>
        <translation>Write to File</translation>
    </message>
    <message>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>ビルド</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>ミキサー</source>
        <translation>Mixer</translation>
    </message>
    <message>
        <source>情報(&amp;I)</source>
        <translation>&amp;Information</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version Information</translation>
    </message>
    <message>
        <source>全体</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>End</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>レベル表示</source>
        <translation>Levels</translation>
    </message>
</context>
</TS>
