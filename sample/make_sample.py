#!/usr/bin/env python3
"""Generate the synthetic sample archive used to try out Teluri Explorer.

Usage: python3 sample/make_sample.py OUTPUT_FOLDER

Every board, poster, address and message here is made up.  The output is
fully deterministic: running the script twice gives byte-identical files.

Each page is one HTML file encoded in code page 932 with CR LF line ends,
named NNNN.msg after its four-digit message number.  The first line carries
the number at bytes 18-21 (1-based) and the title from byte 49 up to the
first "</font><hr noshade>".  Replies name their parent with
"このコメントは[<a href=...>NNNN</a>]への返信です。" and a page lists each
of its replies with "この記事には[<a href=...>NNNN</a>]の返信があります。".

A few irregular cases are built in on purpose:
  * one root page exists only as NNNN.bak (its .msg is gone),
  * one page lists a reply whose page is not in the folder,
  * one reply names a parent that does not list it back (an orphan).
Only the standard library is used.
"""

import datetime
import html
import os
import random
import re
import sys

ENCODING = "cp932"
CRLF = "\r\n"

HEAD_OPEN = "<html><head><!-- "
HEAD_MID = " --></head><body> <b><font>"
TITLE_END = "</font><hr noshade>"
HEAD_CLOSE = "</b>"

REL_PREFIX = "./view3.cgi?"
ABS_PREFIX = "http://www.orvak.example/teluri/view3.cgi?"

PARENT_LEAD = "このコメントは"
REPLY_LEAD = "この記事には"

FIRST_NUMBER = 1001
MIN_PAGE_BYTES = 500
MAX_PAGE_BYTES = 3000

# The reader relies on these offsets; keep them fixed.
assert len(HEAD_OPEN.encode(ENCODING)) == 17
assert len(HEAD_MID.encode(ENCODING)) == 27
assert len((HEAD_OPEN + "0000" + HEAD_MID).encode(ENCODING)) == 48


# --------------------------------------------------------------------------
# Posters (all fictional)

ASKERS = [
    ("けいすけ", "keisuke@example.org"),
    ("みなみ", "minami@mail.example.net"),
    ("ぽんた", "ponta@example.com"),
    ("TAKA", "taka@example.org"),
    ("さとみ", "satomi@example.net"),
    ("nori", "nori@example.com"),
    ("ちひろ", "chihiro@example.org"),
]

HELPERS = [
    ("Hiro", "hiro@example.org"),
    ("ゆうじ", "yuji@example.net"),
    ("kaz", "kaz@example.com"),
    ("マサ", "masa@example.org"),
    ("Sho", "sho@www.example.net"),
    ("よしお", "yoshio@example.com"),
    ("べーた", "beta@example.org"),
]


# --------------------------------------------------------------------------
# Topics: question lines, a code sample for the question, answer lines,
# optionally a code sample for answers, and follow-up lines for the asker.
# The question's code goes where CODE_HERE stands, or after the last line.

CODE_HERE = "@code"

TOPICS = {
    "bcb_form": {
        "q": [
            "C++Builder 3 を使い始めたばかりの者です。",
            "ボタンを押したときに、設計時には存在しないフォームを実行時に作って表示したいのですが、うまくいきません。",
            "Delphi では TForm.Create(Application) でできたのですが、BCB だと new を使うのでしょうか。",
            "下のように書くとコンパイルは通るのですが、閉じたあとのメモリが解放されているのかどうか分かりません。",
        ],
        "code": [
            "void __fastcall TForm1::Button1Click(TObject *Sender)",
            "{",
            "    TForm *f = new TForm(Application);",
            "    f->Caption = \"dynamic\";",
            "    f->Width = 320;",
            "    f->Show();",
            "}",
        ],
        "a": [
            "BCB でも VCL のフォームは必ず new で作ります。スタックに置くことはできません。",
            "閉じたときに解放したいなら、OnClose で Action = caFree; としておくのが簡単です。",
            "モーダルで出すなら ShowModal のあとに delete すればよいと思います。",
            "オーナーに Application を渡しておけば、終了時には VCL が面倒を見てくれます。",
            "設計時に作ったフォームなら、プロジェクトオプションの「自動生成フォーム」から外すのを忘れずに。",
        ],
        "code2": [
            "void __fastcall TSubForm::FormClose(TObject *Sender, TCloseAction &Action)",
            "{",
            "    Action = caFree;",
            "}",
        ],
        "f": [
            "caFree を試したところ、ちゃんと解放されるようになりました。",
            "自動生成フォームの設定は見落としていました。",
            "ShowModal のほうも試してみます。",
        ],
    },
    "dll": {
        "q": [
            "Delphi 2 で作った DLL を、別の Delphi アプリから呼び出すと Access violation が出ます。",
            "関数は文字列を受け取って加工し、結果を返すだけの単純なものです。",
            "exports には名前を書いてあり、呼び出し側でも external で宣言しています。",
            "DLL 側のソースは次のとおりです。",
        ],
        "code": [
            "library StrTool;",
            "",
            "uses",
            "  ShareMem, SysUtils;",
            "",
            "function MakeLabel(const S: string): string; stdcall;",
            "begin",
            "  Result := '[' + UpperCase(S) + ']';",
            "end;",
            "",
            "exports",
            "  MakeLabel;",
            "",
            "begin",
            "end.",
        ],
        "a": [
            "DLL の境界で string を渡すなら、両方の uses の先頭に ShareMem が必要です。",
            "呼び出し側のプロジェクトソースにも ShareMem を入れていますか。uses の一番最初でないと効きません。",
            "BORLNDMM.DLL を exe と同じフォルダに置く必要もあります。",
            "いっそ PChar とバッファ長で受け渡すようにすれば、C++ やほかの言語からも呼べるようになります。",
            "呼び出し規約が一致しているか確認してください。片方だけ stdcall だと落ちます。",
            "c:\\delphi\\demos の下にも DLL のサンプルがあったと思います。",
            "LoadLibrary と GetProcAddress で動的に読むと、どこで落ちているのか切り分けやすいです。",
        ],
        "code2": [
            "function MakeLabel(Buf: PChar; Len: Integer): Integer; stdcall;",
            "  external 'StrTool.dll';",
        ],
        "f": [
            "呼び出し側の宣言に stdcall が抜けていました。お恥ずかしい。",
            "PChar 版に書き直したら、ほかのツールからも呼べるようになりました。",
            "ShareMem は DLL 側にしか入れていませんでした。",
        ],
    },
    "print": {
        "q": [
            "BCB で TPrinter を使って帳票を印刷しています。",
            "画面では正しく見えるのに、プリンタによっては左上の余白が 5mm ほどずれてしまいます。",
            "座標はミリ単位の値から、プリンタの解像度を使って計算しています。",
        ],
        "code": [
            "TPrinter *prn = Printer();",
            "prn->BeginDoc();",
            "int dpi = GetDeviceCaps(prn->Handle, LOGPIXELSX);",
            "int x = MulDiv(20, dpi * 10, 254);   // 20mm",
            "prn->Canvas->TextOut(x, x, \"TEST\");",
            "prn->EndDoc();",
        ],
        "a": [
            "PageWidth は印刷可能領域の幅なので、紙の端からの位置ではありません。",
            "GetDeviceCaps の PHYSICALOFFSETX と PHYSICALOFFSETY で印字できない余白を取得して、そのぶん引いてください。",
            "縦と横で解像度が違うプリンタもあるので、LOGPIXELSY も別に取るべきです。",
            "ドライバによっては、用紙設定を変えたあとに BeginDoc し直さないと値が変わりません。",
            "Delphi でも同じことが起きるので、VCL ではなくプリンタドライバ側の癖だと思います。",
            "レーザーとインクジェットで 1mm 程度の差が出るのは珍しくありません。",
            "ドットプリンタは用紙の送り量そのものに誤差があることもあります。",
            "一度、SetMapMode で MM_LOMETRIC にして描いてみると比較しやすいですよ。",
        ],
        "code2": [
            "int offx = GetDeviceCaps(prn->Handle, PHYSICALOFFSETX);",
            "int offy = GetDeviceCaps(prn->Handle, PHYSICALOFFSETY);",
            "prn->Canvas->TextOut(x - offx, y - offy, \"TEST\");",
        ],
        "f": [
            "PHYSICALOFFSETX を引いたら、手元の 2 台ではぴったり合いました。",
            "もう 1 台、古いドットプリンタだけまだずれます。",
            "ドライバを更新したら、そちらもほぼ直りました。",
            "LOGPIXELSY を別に取るようにしたら縦方向のずれも消えました。",
        ],
    },
    "install": {
        "q": [
            "Delphi 3 のインストールが、途中の 80% あたりで止まってしまいます。",
            "Win95 で、メモリは 32MB、ディスクの空きは 200MB ほどあります。",
            "常駐ソフトはすべて止めてから実行しました。インストール先は c:\\delphi3 です。",
            "TEMP フォルダには次のようなファイルが残っていました。",
            CODE_HERE,
            "同じような症状になった方はいらっしゃいませんか。",
        ],
        "code": [
            "C:\\>dir c:\\windows\\temp",
            "",
            "SETUP    LOG        12,480  98-02-11  22:13",
            "_ISTMP0  DIR     <DIR>       98-02-11  22:13",
            "DELPHI3  INI            812  98-02-11  22:14",
        ],
        "a": [],
        "f": [],
    },
    "grid": {
        "q": [
            "TStringGrid の列幅を実行時に変えたいのですが、ColWidths に代入しても変わらないように見えます。",
            "DefaultColWidth を変えると全部の列が変わってしまいます。",
            "見出しの文字列に合わせて列ごとに幅を決めたいのです。",
            "FormCreate で次のようにしています。",
        ],
        "code": [
            "procedure TForm1.FormCreate(Sender: TObject);",
            "var",
            "  i: Integer;",
            "begin",
            "  for i := 0 to StringGrid1.ColCount - 1 do",
            "    StringGrid1.ColWidths[i] :=",
            "      StringGrid1.Canvas.TextWidth(StringGrid1.Cells[i, 0]) + 8;",
            "end;",
        ],
        "a": [],
        "f": [],
    },
    "listbox": {
        "q": [
            "TListBox の Style を lbOwnerDrawFixed にして、OnDrawItem で描画しています。",
            "英数字は正しく出るのですが、漢字の一部が化けたり、項目の高さが足りなくて下が切れたりします。",
            "Delphi 3 の日本語版です。",
        ],
        "code": [
            "procedure TForm1.ListBox1DrawItem(Control: TWinControl; Index: Integer;",
            "  Rect: TRect; State: TOwnerDrawState);",
            "begin",
            "  with ListBox1.Canvas do",
            "  begin",
            "    FillRect(Rect);",
            "    TextOut(Rect.Left + 2, Rect.Top, ListBox1.Items[Index]);",
            "  end;",
            "end;",
        ],
        "a": [
            "Canvas.Font.Charset が DEFAULT_CHARSET のままになっていませんか。SHIFTJIS_CHARSET を指定してみてください。",
            "ItemHeight はフォントの高さから計算して設定しておくと切れなくなります。",
            "フォームの Font を変えても、ListBox の ParentFont が False だと反映されません。",
            "選択中の項目は State に odSelected が入ってくるので、色を変えるならそこで判定します。",
        ],
        "code2": [
            "ListBox1.Canvas.Font.Charset := SHIFTJIS_CHARSET;",
            "ListBox1.ItemHeight := ListBox1.Canvas.TextHeight('Ag') + 4;",
        ],
        "f": [
            "Charset を指定したら化けなくなりました。",
            "ItemHeight の計算も入れて、切れなくなりました。",
        ],
    },
    "template": {
        "q": [
            "C++ の入門書に載っているテンプレートのサンプルが、BCB ではコンパイルエラーになります。",
            "ほかのコンパイラでは通るコードなので、書き方の問題ではないと思うのですが……。",
            "最後の行で「テンプレート引数が足りない」という意味のエラーが出ます。",
        ],
        "code": [
            "template <class T, int N = 16>",
            "class Stack {",
            "    T buf[N];",
            "    int top;",
            "public:",
            "    Stack() : top(0) {}",
            "    void push(const T& v) { buf[top++] = v; }",
            "    T pop() { return buf[--top]; }",
            "};",
            "",
            "Stack<AnsiString> names;",
        ],
        "a": [
            "既定のテンプレート引数は古い BCB では通らないことがあります。N を明示して Stack<AnsiString, 16> と書いてみてください。",
            "AnsiString をメンバの配列に置くのも、古い版では避けたほうが無難です。",
            "BCB 3 にしたらそのまま通りました。アップデートを当てるのが早いかもしれません。",
            "ヘッダを分けている場合は、テンプレートの定義もヘッダ側に置く必要があります。",
        ],
        "code2": [
            "Stack<AnsiString, 16> names;",
            "names.push(\"abc\");",
        ],
        "f": [
            "引数を明示したら通りました。",
            "アップデートも当ててみます。",
        ],
    },
    "formpos": {
        "q": [
            "アプリを終了したときのフォームの位置と大きさを保存して、次の起動時に同じ場所に表示したいと考えています。",
            "INI ファイルに書くのとレジストリに書くのとでは、どちらが一般的でしょうか。",
            "いまは Delphi 2 で、次のように INI に書いています。",
        ],
        "code": [
            "procedure TMainForm.FormClose(Sender: TObject; var Action: TCloseAction);",
            "var",
            "  Ini: TIniFile;",
            "begin",
            "  Ini := TIniFile.Create(ChangeFileExt(Application.ExeName, '.ini'));",
            "  try",
            "    Ini.WriteInteger('Window', 'Left', Left);",
            "    Ini.WriteInteger('Window', 'Top', Top);",
            "  finally",
            "    Ini.Free;",
            "  end;",
            "end;",
        ],
        "a": [
            "Win95 以降なら TRegistry で HKEY_CURRENT_USER の下に書くのが行儀がよいと思います。",
            "最大化されているときは WindowState も一緒に保存しないと、復元したときに妙な大きさになります。",
            "解像度が変わって画面の外に出てしまう場合に備えて、Screen.Width と比較しておくと親切です。",
            "GetWindowPlacement を使うと、最大化する前の位置もまとめて取れます。",
        ],
        "code2": [
            "var",
            "  Wp: TWindowPlacement;",
            "begin",
            "  Wp.length := SizeOf(Wp);",
            "  GetWindowPlacement(Handle, @Wp);",
        ],
        "f": [
            "GetWindowPlacement は知りませんでした。試してみます。",
            "画面外に出る件、実際にノートでやってしまいました。",
        ],
    },
    "timer": {
        "q": [
            "TTimer の Interval を 10 にしても、実際には 50ms 程度の間隔でしか OnTimer が来ません。",
            "計測器からのデータを 10ms ごとに読みたいのですが、何か方法はありますか。",
            "確認用に次のようなコードで間隔を表示しています。",
        ],
        "code": [
            "procedure TForm1.Timer1Timer(Sender: TObject);",
            "begin",
            "  Inc(FCount);",
            "  Label1.Caption := IntToStr(GetTickCount - FStart);",
            "end;",
        ],
        "a": [
            "TTimer は WM_TIMER を使っているので、Win95 では 55ms 程度が限界です。",
            "timeSetEvent のマルチメディアタイマを使えば 1ms 単位まで指定できます。",
            "コールバックは別スレッドから呼ばれるので、そこで直接 VCL を触らないように。",
            "本当に 10ms ごとに読む必要があるなら、スレッドを作ってループで待つほうが確実かもしれません。",
            "計測器側にバッファがあるなら、まとめて読むほうが楽ですよ。",
        ],
        "code2": [
            "uses MMSystem;",
            "",
            "procedure TimerProc(uID, uMsg, dwUser, dw1, dw2: DWORD); stdcall;",
            "begin",
            "  PostMessage(HWND(dwUser), WM_USER + 1, 0, 0);",
            "end;",
        ],
        "f": [
            "timeSetEvent で 10ms 間隔が出るようになりました。",
            "PostMessage で本体に知らせる形にしました。",
        ],
    },
    "bde": {
        "q": [
            "Delphi 2 でローカルのテーブルを TTable から開いています。",
            "別の PC から同じテーブルを開くと「テーブルはロックされています」と言われます。",
            "ネットワーク越しに共有するには、どう設定すればよいのでしょうか。",
        ],
        "code": [
            "Table1.DatabaseName := '\\\\SERVER\\DATA';",
            "Table1.TableName := 'CUSTOMER.DB';",
            "Table1.Open;",
        ],
        "a": [
            "BDE の設定ユーティリティで LOCAL SHARE を TRUE にしてください。",
            "NET DIR を全部の PC で同じ共有フォルダに揃える必要があります。",
            "ドライブ文字ではなく UNC で指定しておくと、PC ごとの割り当ての違いで悩まずに済みます。",
            "Exclusive プロパティが True のままになっていないかも見てください。",
        ],
        "code2": [
            "Table1.Exclusive := False;",
            "Table1.Open;",
        ],
        "f": [
            "LOCAL SHARE を TRUE にしたら開けるようになりました。",
            "NET DIR がばらばらだったので揃えました。",
        ],
    },
    "tools": {
        "q": [
            "Delphi のソースを決まったインデントに揃えてくれるツールを探しています。",
            "チームで書き方がばらばらで、差分を取ると空白の違いばかり出てしまいます。",
            "たとえば次のような書き方が混ざっています。",
        ],
        "code": [
            "if A then begin",
            "    B;",
            "  end",
            "else",
            "      C;",
        ],
        "a": [
            "私は自作の小さなツールで begin と end の位置だけ揃えています。",
            "<a href=\"http://www.example.org/soft/\">www.example.org のフリーソフトのページ</a>にいくつか置いてありますよ。",
            "差分を取るときに空白を無視するオプションを使うのも手です。",
        ],
        "f": [],
    },
    "tray": {
        "q": [
            "常駐型のアプリを作っていて、タスクバーの右端にアイコンを出したいと思っています。",
            "Shell_NotifyIcon を使えばよいところまでは分かったのですが、クリックしたときのメッセージの受け取り方が分かりません。",
            "アイコンの登録は次のようにしています。",
        ],
        "code": [
            "var",
            "  Nid: TNotifyIconData;",
            "begin",
            "  Nid.cbSize := SizeOf(Nid);",
            "  Nid.Wnd := Handle;",
            "  Nid.uID := 1;",
            "  Nid.uFlags := NIF_ICON or NIF_MESSAGE or NIF_TIP;",
            "  Nid.uCallbackMessage := WM_USER + 10;",
            "  Nid.hIcon := Application.Icon.Handle;",
            "  StrPCopy(Nid.szTip, 'Sample');",
            "  Shell_NotifyIcon(NIM_ADD, @Nid);",
            "end;",
        ],
        "a": [
            "uCallbackMessage に指定したメッセージがフォームに届くので、メッセージハンドラを書いてください。",
            "lParam にマウスのメッセージ (WM_LBUTTONDOWN など) が入ってきます。",
            "終了時に NIM_DELETE を忘れると、マウスを乗せるまでアイコンが残ります。",
            "BCB なら BEGIN_MESSAGE_MAP でハンドラを登録します。",
            "右クリックでメニューを出すときは、先に SetForegroundWindow を呼ばないとメニューが閉じなくなります。",
        ],
        "code2": [
            "procedure WMTrayIcon(var Msg: TMessage); message WM_USER + 10;",
        ],
        "f": [
            "message 指定のハンドラで受け取れました。",
            "NIM_DELETE も入れました。アイコンが残る件、まさにそれでした。",
            "メニューが閉じない件も SetForegroundWindow で直りました。",
        ],
    },
    "handler": {
        "q": [
            "BCB で、実行時にボタンの OnClick を別の関数に差し替えたいです。",
            "普通の関数のポインタを代入しようとすると、型が合わないと言われます。",
        ],
        "code": [
            "void MyClick(TObject *Sender)",
            "{",
            "    ShowMessage(\"clicked\");",
            "}",
            "// ...",
            "Button1->OnClick = MyClick;   // error",
        ],
        "a": [
            "VCL のイベントは __closure なので、クラスのメンバ関数でないと代入できません。",
            "フォームクラスに __fastcall のメンバ関数を追加して、それを代入してください。",
            "どうしても普通の関数にしたい場合は、TMethod の Code と Data を自分で詰める裏技もあります。",
            "Delphi の procedure of object と同じ考え方ですね。",
        ],
        "code2": [
            "void __fastcall TForm1::MyClick(TObject *Sender)",
            "{",
            "    ShowMessage(\"clicked\");",
            "}",
            "// ...",
            "Button1->OnClick = MyClick;",
        ],
        "f": [
            "メンバ関数にしたら代入できました。",
        ],
    },
    "mdi": {
        "q": [
            "MDI アプリで、子ウィンドウを開いたときに最初から最大化しておきたいのです。",
            "FormStyle を fsMDIChild、WindowState を wsMaximized にすると、一瞬普通の大きさで表示されてから最大化されるのでちらつきます。",
            "次のように LockWindowUpdate で囲んでみましたが、あまり変わりませんでした。",
            CODE_HERE,
            "何かよい方法はないでしょうか。Delphi 3 です。",
        ],
        "code": [
            "procedure TMainForm.NewChild;",
            "var",
            "  Child: TChildForm;",
            "begin",
            "  LockWindowUpdate(ClientHandle);",
            "  Child := TChildForm.Create(Self);",
            "  Child.WindowState := wsMaximized;",
            "  LockWindowUpdate(0);",
            "end;",
        ],
        "a": [],
        "f": [],
    },
}

# Lines any helper might add, used when a topic's own answers run out or a
# page needs a little more text.
FILLERS = [
    "ヘルプの該当ページも一度読んでみるとよいと思います。",
    "手元の環境 (Win95 + Delphi 3) では再現しませんでした。",
    "こちらでも同じ現象が出ました。環境によるのかもしれません。",
    "過去ログにも似た話題があった気がします。",
    "念のため、最新のアップデートが当たっているかも確認してみてください。",
    "BCB 3 でも試してみましたが、結果は同じでした。",
    "サンプルを小さくして試すと、原因が切り分けやすいです。",
    "VCL のソースが付いている版なら、該当する部分を読んでみるのが近道です。",
    "delphi のメーリングリストでも以前に同じ質問を見かけました。",
]

HELPER_OPENERS = [
    "こんにちは、{me}です。",
    "横から失礼します。",
    "はじめまして、{me}といいます。",
    "{you}さん、こんばんは。",
    "",
]
HELPER_CLOSERS = [
    "参考になれば幸いです。",
    "違っていたらごめんなさい。",
    "以上、簡単ですが。",
    "がんばってください。",
]
ASKER_OPENERS = [
    "{you}さん、レスありがとうございます。",
    "{you}さん、ありがとうございます。",
    "早速のお返事ありがとうございます。",
]
ASKER_CLOSERS = [
    "ありがとうございました。",
    "また分からないことがあったらよろしくお願いします。",
    "助かりました。",
]
ASKER_EXTRA = [
    "もう少しいろいろ試してみます。",
    "ただ、まだ一つだけ気になる点があります。",
    "結果がまとまったら、またここに書きます。",
]
ROOT_CLOSERS = [
    "よろしくお願いします。",
    "どなたかご存じでしたら教えてください。",
    "よろしくお願いいたします。",
]


# --------------------------------------------------------------------------
# Thread layout

class Node:
    """One message in a thread layout."""

    def __init__(self, *kids, missing=False, orphan=False, long=False):
        self.kids = list(kids)
        self.long = long            # a long post: wrap-up or full answer
        self.missing = missing      # listed by its parent, page not written
        self.orphan = orphan        # names its parent, parent does not list it
        self.parent = None
        self.number = 0
        self.time = None
        self.poster = None
        self.thread = None
        self.prose = []


def N(*kids, **flags):
    return Node(*kids, **flags)


# form: "rel" or "abs" for the whole thread; "mixed" alternates the form
# level by level, so one thread uses both while each page stays consistent.
# bak_root: the root page is written as NNNN.bak only.
THREADS = [
    {"title": "C++Builderでフォームを動的に作るには", "topic": "bcb_form",
     "form": "rel", "tree": N(N(N()), N())},
    {"title": "DelphiからDLLの関数を呼ぶとAccess violation", "topic": "dll",
     "form": "abs", "tree": N(N(N(long=True)), N(), N(N(N())), N(), N())},
    {"title": "[BCB] TPrinterで印刷すると余白がずれる", "topic": "print",
     "form": "rel", "tree": N(N(N(N(N(N(N(long=True), long=True)))), N(N())))},
    {"title": "Delphi 3 のインストールが途中で止まる", "topic": "install",
     "form": "abs", "tree": N()},
    {"title": "TStringGrid: column width at runtime?", "topic": "grid",
     "form": "rel", "tree": N()},
    {"title": "TListBoxのオーナードローで文字化け", "topic": "listbox",
     "form": "abs", "tree": N(N(), N())},
    {"title": "C++ のテンプレートがBCBでコンパイルできない", "topic": "template",
     "form": "mixed", "tree": N(N(N(), N()))},
    {"title": "フォームの表示位置を保存したい", "topic": "formpos",
     "form": "rel", "tree": N(N(), N()), "bak_root": True},
    {"title": "TTimerの精度について", "topic": "timer",
     "form": "abs", "tree": N(N(), N(missing=True), N(N()))},
    {"title": "Delphi 2 でテーブルを共有したい", "topic": "bde",
     "form": "rel", "tree": N(N(N()), N(orphan=True))},
    {"title": "ソースの整形ツールを探しています", "topic": "tools",
     "form": "abs", "tree": N(N())},
    {"title": "タスクバーにアイコンを出す (Delphi)", "topic": "tray",
     "form": "rel", "tree": N(N(N(N())), N(long=True))},
    {"title": "[BCB] OnClickを実行時に差し替える", "topic": "handler",
     "form": "abs", "tree": N(N(), N(), N())},
    {"title": "MDI子フォームを最初から最大化", "topic": "mdi",
     "form": "rel", "tree": N()},
]


def walk(node):
    yield node
    for kid in node.kids:
        yield from walk(kid)


# --------------------------------------------------------------------------
# Building the pages

def link_prefix(node):
    """Link form of one page; a "mixed" thread alternates by level."""
    form = node.thread["form"]
    if form == "mixed":
        level = 0
        up = node.parent
        while up is not None:
            level += 1
            up = up.parent
        form = "rel" if level % 2 == 0 else "abs"
    return REL_PREFIX if form == "rel" else ABS_PREFIX


def text_html(text):
    """Prose line as HTML; lines that carry their own link are kept as is."""
    if text.startswith("<a href="):
        return text
    return html.escape(text, quote=False)


def quote_html(text):
    """A "> " quote of a prose line, with any markup stripped first."""
    return html.escape("> " + re.sub(r"<[^>]*>", "", text), quote=False)


def code_block(lines):
    out = ["<pre>"]
    out.extend(html.escape(line, quote=False) for line in lines)
    out.append("</pre>")
    return out


class ThreadState:
    def __init__(self, info, rng):
        self.info = info
        self.topic = TOPICS[info["topic"]]
        self.unused_answers = list(self.topic["a"])
        self.unused_followups = list(self.topic["f"])
        self.code2_used = False
        self.history = []
        self.posted = set()
        self.unused_fillers = list(FILLERS)
        rng.shuffle(self.unused_answers)
        rng.shuffle(self.unused_fillers)

    def answer(self, rng):
        if self.unused_answers:
            return self.unused_answers.pop()
        return self.filler(rng)

    def filler(self, rng):
        if self.unused_fillers:
            return self.unused_fillers.pop()
        return rng.choice(FILLERS)

    def followup(self, rng):
        if self.unused_followups:
            return self.unused_followups.pop(0)
        return rng.choice(ASKER_EXTRA)


def fill(template, me, you):
    return template.format(me=me[0], you=you[0] if you else "")


def quote_block(parent, rng, whole=False, lead=True):
    """Quote one line of the parent, or now and then all of it."""
    if not parent.prose:
        return []
    if rng.random() < 0.3 or whole:
        picked = parent.prose
    else:
        picked = [rng.choice(parent.prose[:2])]
    out = ["<br>"] if lead else []
    out.extend(quote_html(q) + "<br>" for q in picked)
    out.append("<br>")
    return out


def body_lines(node, state, asker, rng):
    """Return (body lines, quotable prose lines) for one message."""
    lines = []
    prose = []
    topic = state.topic
    me = node.poster
    parent = node.parent

    def say(text, quotable=True):
        if text:
            lines.append(text_html(text) + "<br>")
            if quotable:
                prose.append(text)

    if parent is None:
        question = topic["q"]
        if CODE_HERE not in question:
            question = question + [CODE_HERE]
        for q in question:
            if q == CODE_HERE:
                lines.extend(code_block(topic["code"]))
            else:
                say(q)
        say(rng.choice(ROOT_CLOSERS), quotable=False)
        return lines, prose

    if me == asker:
        opener = fill(rng.choice(ASKER_OPENERS), me, parent.poster)
        say(opener, quotable=False)
        lines.extend(quote_block(parent, rng, whole=node.long,
                                 lead=bool(opener)))
        if node.long:
            say("おかげさまで、すべてのプリンタで位置が合うようになりました。"
                if state.info["topic"] == "print" else
                "おかげさまで解決しました。")
            lines.extend(summary_lines(state))
        else:
            say(state.followup(rng))
            if rng.random() < 0.5:
                say(state.followup(rng))
        say(rng.choice(ASKER_CLOSERS), quotable=False)
    else:
        openers = HELPER_OPENERS
        if me in state.posted:
            openers = [o for o in openers if "はじめまして" not in o]
        opener = fill(rng.choice(openers), me, parent.poster)
        say(opener, quotable=False)
        lines.extend(quote_block(parent, rng, whole=node.long,
                                 lead=bool(opener)))
        if node.long:
            lines.extend(full_answer(state, rng))
            prose.extend(state.unused_answers)
            state.unused_answers = []
        else:
            for _ in range(rng.randint(1, 3)):
                say(state.answer(rng))
            if (topic.get("code2") and not state.code2_used
                    and rng.random() < 0.7):
                state.code2_used = True
                lines.extend(code_block(topic["code2"]))
                if rng.random() < 0.5:
                    say(state.answer(rng))
        say(rng.choice(HELPER_CLOSERS), quotable=False)
    state.history.extend(prose)
    state.posted.add(me)
    return lines, prose


def summary_lines(state):
    """A long wrap-up: every point made in the thread plus the final code."""
    out = ["<br>", "自分用のメモも兼ねて、これまでの内容をまとめておきます。<br>",
           "<br>", "最初の質問はこうでした。<br>"]
    out.extend(quote_html(q) + "<br>"
               for q in state.topic["q"] if q != CODE_HERE)
    out.append("<br>")
    out.append("いただいたアドバイスです。<br>")
    seen = set()
    for text in state.history:
        if text not in seen and text not in state.topic["f"]:
            seen.add(text)
            out.append("・" + text_html(text) + "<br>")
    out.append("<br>")
    out.append("最終的には次のようにしました。<br>")
    out.extend(code_block(state.topic["code"]))
    if state.topic.get("code2"):
        out.extend(code_block(state.topic["code2"]))
    out.append("同じことで悩んでいる方の参考になれば。<br>")
    return out


def full_answer(state, rng):
    """A long, step-by-step answer covering every point of the topic."""
    topic = state.topic
    out = ["<br>", "長くなりますが、順に説明します。<br>"]
    for i, text in enumerate(topic["a"], 1):
        out.append(f"{i}. {text_html(text)}<br>")
    out.append("<br>")
    out.append("元のコードはこうでしたね。<br>")
    out.extend(code_block(topic["code"]))
    if topic.get("code2"):
        out.append("これに次の処理を足してください。<br>")
        out.extend(code_block(topic["code2"]))
        state.code2_used = True
    for _ in range(2):
        out.append(state.filler(rng) + "<br>")
    return out


def parent_link(node):
    p = node.parent.number
    prefix = link_prefix(node)
    return (f'{PARENT_LEAD}[<a href="{prefix}{p:04d}">{p:04d}</a>]'
            f"への返信です。<br>")


def reply_links(node):
    listed = sorted((k for k in node.kids if not k.orphan),
                    key=lambda k: k.number)
    if not listed:
        return []
    prefix = link_prefix(node)
    return [f'{REPLY_LEAD}[<a href="{prefix}{k.number:04d}">'
            f'{k.number:04d}</a>]の返信があります。<br>' for k in listed]


WEEKDAYS = "月火水木金土日"


def title_of(node):
    root_title = node.thread["title"]
    return root_title if node.parent is None else "Re: " + root_title


def first_line(node):
    title = title_of(node)
    assert "<" not in title and "\r" not in title and "\n" not in title
    line = (HEAD_OPEN + f"{node.number:04d}" + HEAD_MID + title
            + TITLE_END + HEAD_CLOSE)
    raw = line.encode(ENCODING)
    assert raw[17:21] == f"{node.number:04d}".encode("ascii")
    assert raw[48:48 + len(title.encode(ENCODING))] == title.encode(ENCODING)
    return line


def render(node, state, asker, rng):
    body, prose = body_lines(node, state, asker, rng)
    node.prose = prose

    def assemble(extra):
        lines = [first_line(node)]
        if node.parent is not None:
            lines.append(parent_link(node))
        lines.append("<br>")
        lines.extend(body)
        lines.extend(extra)
        lines.append("<br>")
        name, mail = node.poster
        lines.append(f'投稿者：<a href="mailto:{mail}">{name}</a><br>')
        t = node.time
        lines.append(f"投稿日：{t:%Y/%m/%d}({WEEKDAYS[t.weekday()]}) "
                     f"{t:%H:%M}<br>")
        lines.append("<hr>")
        lines.extend(reply_links(node))
        lines.append('<a href="./index.html">[一覧に戻る]</a>')
        lines.append("</body></html>")
        return (CRLF.join(lines) + CRLF).encode(ENCODING)

    # Pad short pages with a filler line or two.
    extra = []
    data = assemble(extra)
    while len(data) < MIN_PAGE_BYTES:
        extra.append(state.filler(rng) + "<br>")
        data = assemble(extra)
    assert len(data) <= MAX_PAGE_BYTES, (node.number, len(data))
    return data


def build(seed=1997):
    rng = random.Random(seed)
    base = datetime.datetime(1998, 1, 12, 20, 30)
    posts = []
    order = 0
    for index, info in enumerate(THREADS):
        root = info["tree"]
        asker = ASKERS[index % len(ASKERS)]
        start = base + datetime.timedelta(
            hours=index * 20 + rng.randint(0, 12), minutes=rng.randint(0, 59))
        for node in walk(root):
            node.thread = info
            for kid in node.kids:
                kid.parent = node
            if node is root:
                node.time = start
            else:
                node.time = node.parent.time + datetime.timedelta(
                    hours=rng.randint(1, 40), minutes=rng.randint(0, 59))
            order += 1
            posts.append((node.time, order, node, asker))

    # Message numbers follow posting time, so threads interleave.
    posts.sort(key=lambda p: (p[0], p[1]))
    for i, (_, _, node, _) in enumerate(posts):
        node.number = FIRST_NUMBER + i
        assert 1000 <= node.number <= 9999

    # Posters: the asker answers helpers, a helper answers the asker.
    for index, info in enumerate(THREADS):
        asker = ASKERS[index % len(ASKERS)]
        helpers = rng.sample(HELPERS, 3)
        for node in walk(info["tree"]):
            if node.parent is None:
                node.poster = asker
            elif node.parent.poster == asker:
                node.poster = rng.choice(helpers)
            else:
                node.poster = asker

    # Render in thread order (bodies quote their parents).
    files = {}
    for index, info in enumerate(THREADS):
        asker = ASKERS[index % len(ASKERS)]
        state = ThreadState(info, rng)
        for node in walk(info["tree"]):
            data = render(node, state, asker, rng)
            if node.missing:
                continue
            is_bak = node.parent is None and info.get("bak_root")
            ext = ".bak" if is_bak else ".msg"
            files[f"{node.number:04d}{ext}"] = data
    return files


def main(argv):
    if len(argv) != 2:
        print("usage: make_sample.py OUTPUT_FOLDER", file=sys.stderr)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    pattern = re.compile(r"^\d{4}\.(msg|bak)$")
    for name in sorted(os.listdir(out)):
        if pattern.match(name):
            os.remove(os.path.join(out, name))
    files = build()
    for name in sorted(files):
        with open(os.path.join(out, name), "wb") as f:
            f.write(files[name])
    print(f"wrote {len(files)} pages to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
