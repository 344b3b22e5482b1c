<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>AboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation>Tarvo について</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Thanks to...</source>
        <translation>謝辞...</translation>
    </message>
    <message>
        <source>Tarvo: multiple account mail checker
Made by Halvik
Version %1

Reports and suggestions to:
tarvo@example.org
More information:
https://example.org/tarvo</source>
        <translation>Tarvo: 複数アカウントのメールチェッカー
作成: Halvik
バージョン %1

不具合の報告とご提案:
tarvo@example.org
詳しい情報:
https://example.org/tarvo</translation>
    </message>
    <message>
        <source>Thanks for their response and help to:</source>
        <translation>ご意見とご協力に感謝します:</translation>
    </message>
</context>
<context>
    <name>CertificateReview</name>
    <message>
        <source>Certificate</source>
        <translation>証明書</translation>
    </message>
    <message>
        <source>Server: %1
Subject: %2
Issuer: %3
Valid from %4 until %5
SHA-256: %6</source>
        <translation>サーバー: %1
サブジェクト: %2
発行者: %3
有効期間: %4 から %5 まで
SHA-256: %6</translation>
    </message>
    <message>
        <source>This account trusts another certificate now (SHA-256 %1).

</source>
        <translation>このアカウントは現在、別の証明書を信頼しています (SHA-256 %1)。

</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

%3Trust exactly this certificate for this account? It is then accepted whoever issued it and whatever name it carries, and any other certificate is refused. No leaves the decision to the authorities this computer trusts.</source>
        <translation>信頼されていません: %1

%2

%3このアカウントでこの証明書だけを信頼しますか? 信頼すると、発行者や記載された名前にかかわらずこの証明書を受け入れ、ほかの証明書はすべて拒否します。「いいえ」を選ぶと、このコンピューターが信頼する認証局に判断を任せます。</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

This account trusts exactly this certificate now.

Stop trusting it? The next checks then leave the decision to the authorities this computer trusts. No keeps it trusted.</source>
        <translation>信頼されていません: %1

%2

このアカウントは現在、この証明書だけを信頼しています。

信頼をやめますか? やめると、次回からの確認ではこのコンピューターが信頼する認証局に判断を任せます。「いいえ」を選ぶと信頼したままにします。</translation>
    </message>
    <message>
        <source>Trust this certificate also for the other accounts on this server: %1?</source>
        <translation>このサーバーのほかのアカウントでもこの証明書を信頼しますか: %1?</translation>
    </message>
    <message>
        <source>Fetching the certificate of %1...</source>
        <translation>%1 の証明書を取得しています...</translation>
    </message>
    <message>
        <source>This certificate is trusted by this computer; nothing to add.

</source>
        <translation>このコンピューターはこの証明書を信頼しています。追加することはありません。

</translation>
    </message>
    <message>
        <source>

This account also trusts one certificate by hand (SHA-256 %1). Leave the decision to the authorities this computer trusts instead?</source>
        <translation>

このアカウントは手動で選んだ証明書も信頼しています (SHA-256 %1)。代わりに、このコンピューターが信頼する認証局に判断を任せますか?</translation>
    </message>
    <message>
        <source>d MMM yyyy</source>
        <extracomment>A date as QDate::toString() takes it, with the month in digits (M, MM).</extracomment>
        <translation>yyyy年M月d日</translation>
    </message>
</context>
<context>
    <name>CheckCycle</name>
    <message>
        <source>(error contacting %1)</source>
        <translation>(接続エラー: %1)</translation>
    </message>
    <message>
        <source> The server&apos;s list of unique-ids (UIDL) broke off, so the next checks of this mailbox go without it and fetch every header.</source>
        <translation> サーバーの固有 ID 一覧 (UIDL) が途中で切れたため、このメールボックスの次回からの確認では一覧を使わず、すべてのヘッダーを取得します。</translation>
    </message>
    <message numerus="yes">
        <source>Retrieving %n header(s) from %1...</source>
        <translation>
            <numerusform>%1 から %n 件のヘッダーを取得しています...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(error retrieving %n message header(s))</source>
        <translation>
            <numerusform>(%n 件のメッセージヘッダーの取得エラー)</numerusform>
        </translation>
    </message>
    <message>
        <source>Contacting %1...</source>
        <translation>%1 に接続しています...</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: tarvo [--check [--json]]
Watches POP3 and IMAP mailboxes from an icon in the notification area.

  --check     check every configured account once, print one line per
              account and the total, and end
  --json      with --check: print one JSON object instead
  --help      show this help and end
  --version   show the version and end

Exit status of --check: 0 every account was checked, 1 an account failed,
2 a usage or settings error.
</source>
        <translation>使い方: tarvo [--check [--json]]
通知領域のアイコンから POP3 と IMAP のメールボックスを見守ります。

  --check     設定済みのすべてのアカウントを 1 回確認し、アカウントごとに
              1 行と合計を表示して終了します
  --json      --check と一緒に: 代わりに JSON オブジェクトを 1 つ表示します
  --help      このヘルプを表示して終了します
  --version   バージョンを表示して終了します

--check の終了ステータス: 0 すべてのアカウントを確認しました、1 失敗した
アカウントがあります、2 使い方または設定のエラーです。
</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s)</source>
        <translation>
            <numerusform>%n 件のメッセージ</numerusform>
        </translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>エラー: %1</translation>
    </message>
    <message numerus="yes">
        <source>Total: %n message(s)</source>
        <translation>
            <numerusform>合計: %n 件のメッセージ</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %1 of %n account(s) failed</source>
        <translation>
            <numerusform>、%n 件中 %1 件のアカウントが失敗しました</numerusform>
        </translation>
    </message>
    <message>
        <source>the settings file %1 cannot be read whole; it was left as it is</source>
        <translation>設定ファイル %1 を最後まで読めません。ファイルはそのままにしました</translation>
    </message>
    <message>
        <source>No mailboxes to check in %1</source>
        <translation>%1 に確認するメールボックスがありません</translation>
    </message>
    <message>
        <source>unknown argument &apos;%1&apos;</source>
        <translation>不明な引数「%1」</translation>
    </message>
    <message>
        <source>--json goes with --check</source>
        <translation>--json は --check と一緒に使います</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>1 new message</source>
        <translation>新着メッセージ 1 件</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>新着メッセージ %1 件</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>ほか %1 件</translation>
    </message>
    <message>
        <source>Show headers</source>
        <translation>ヘッダーを表示</translation>
    </message>
    <message>
        <source>Read mail</source>
        <translation>メールを読む</translation>
    </message>
</context>
<context>
    <name>FetchingWindow</name>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>FolderChoice</name>
    <message>
        <source>Folders</source>
        <translation>フォルダー</translation>
    </message>
    <message>
        <source>Fetching the folders of %1...</source>
        <translation>%1 のフォルダーを取得しています...</translation>
    </message>
    <message>
        <source>Watch these folders of %1:</source>
        <translation>%1 の次のフォルダーを見守る:</translation>
    </message>
    <message>
        <source> (not listed)</source>
        <translation> (一覧にありません)</translation>
    </message>
</context>
<context>
    <name>HeaderBlock</name>
    <message>
        <source>(untitled)</source>
        <translation>(件名なし)</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(不明)</translation>
    </message>
</context>
<context>
    <name>HeadersDlg</name>
    <message>
        <source>Read mail</source>
        <translation>メールを読む</translation>
    </message>
    <message>
        <source>No new messages.</source>
        <translation>新着メッセージはありません。</translation>
    </message>
    <message>
        <source>%1 new message(s), %2 pending, %3 error(s)</source>
        <translation>新着 %1 件、未読 %2 件、エラー %3 件</translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation>メッセージヘッダー</translation>
    </message>
</context>
<context>
    <name>HeadersModel</name>
    <message>
        <source>Subject</source>
        <translation>件名</translation>
    </message>
    <message>
        <source>From</source>
        <translation>差出人</translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation>メールボックス</translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response that cannot be read</source>
        <translation>%1 が読み取れない応答を送りました</translation>
    </message>
    <message>
        <source>%1 announced %2 bytes in one piece, more than the %3 bytes allowed.</source>
        <translation>%1 が一度に %2 バイトを送ると告げました。許容される %3 バイトを超えています。</translation>
    </message>
    <message>
        <source>%1 sent a response of more than %2 bytes or %3 values.</source>
        <translation>%1 が %2 バイトまたは %3 個の値を超える応答を送りました。</translation>
    </message>
    <message>
        <source>%1 answered a command that was never sent</source>
        <translation>%1 が送っていないコマンドに応答しました</translation>
    </message>
    <message>
        <source>%1 ended the conversation</source>
        <translation>%1 が通信を終了しました</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes in answer to one command.</source>
        <translation>%1 が 1 つのコマンドへの応答として %2 バイトを超えて送りました。</translation>
    </message>
    <message>
        <source>%1 asked for more of a command that was complete</source>
        <translation>%1 が完結したコマンドの続きを求めました</translation>
    </message>
    <message>
        <source>The server would not open the folder %1</source>
        <translation>サーバーがフォルダー %1 を開きませんでした</translation>
    </message>
    <message>
        <source>%1 listed more unseen messages than the folder %2 holds.</source>
        <translation>%1 がフォルダー %2 にある数より多くの未読メッセージを示しました。</translation>
    </message>
    <message>
        <source>%1 sent a search result that cannot be read</source>
        <translation>%1 が読み取れない検索結果を送りました</translation>
    </message>
    <message>
        <source>The server would not search for unseen messages</source>
        <translation>サーバーが未読メッセージを検索しませんでした</translation>
    </message>
    <message>
        <source>The server would not give the headers</source>
        <translation>サーバーがヘッダーを渡しませんでした</translation>
    </message>
    <message>
        <source>The server would not list its folders</source>
        <translation>サーバーがフォルダーの一覧を返しませんでした</translation>
    </message>
    <message>
        <source>The server would not report changes to the folders</source>
        <translation>サーバーがフォルダーの変更を通知しませんでした</translation>
    </message>
    <message>
        <source>The server would not wait for new mail</source>
        <translation>サーバーが新着メールの待機を受け付けませんでした</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes while Tarvo waited for new mail.</source>
        <translation>Tarvo が新着メールを待っている間に、%1 が %2 バイトを超えて送りました。</translation>
    </message>
    <message>
        <source>The server stopped waiting for new mail</source>
        <translation>サーバーが新着メールの待機をやめました</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>サーバーが接続を拒否しました</translation>
    </message>
    <message>
        <source>%1 greeted the connection as signed in already, where STARTTLS can no longer be asked: someone may be keeping it in clear text. Nothing was sent.</source>
        <translation>%1 が接続をサインイン済みとして扱ったため、STARTTLS を要求できなくなりました。誰かが接続を暗号化されないままにしている可能性があります。何も送っていません。</translation>
    </message>
    <message>
        <source>The server refused to list its capabilities</source>
        <translation>サーバーが機能の一覧を拒否しました</translation>
    </message>
    <message>
        <source>%1 takes no password over this connection (it lists LOGINDISABLED); the password was not sent. Choose SSL/TLS or STARTTLS for the account.</source>
        <translation>%1 はこの接続ではパスワードを受け付けません (LOGINDISABLED を示しています)。パスワードは送っていません。アカウントに SSL/TLS または STARTTLS を選んでください。</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>サインイン拒否</translation>
    </message>
</context>
<context>
    <name>MailConversation</name>
    <message>
        <source>The check was stopped.</source>
        <translation>確認を中止しました。</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1 with an empty reply.</source>
        <translation>%1 (応答は空でした)。</translation>
    </message>
    <message>
        <source>%1; its reply is left out, as it would show the %2 or part of it.</source>
        <translation>%1。応答は %2 またはその一部を表示してしまうため省略します。</translation>
    </message>
    <message>
        <source>No reply from %1 within %2.</source>
        <translation>%1 から %2 以内に応答がありません。</translation>
    </message>
    <message>
        <source>%1 sent less than %2 bytes in %3.</source>
        <translation>%1 が %3 で %2 バイト未満しか送りませんでした。</translation>
    </message>
    <message>
        <source>The conversation with %1 took longer than %2.</source>
        <translation>%1 との通信が %2 を超えました。</translation>
    </message>
    <message>
        <source>%1 sent a line longer than %2 bytes.</source>
        <translation>%1 が %2 バイトを超える行を送りました。</translation>
    </message>
    <message>
        <source>The connection to %1 broke off.</source>
        <translation>%1 との接続が切れました。</translation>
    </message>
    <message>
        <source>The headers on %1 add up to more than %2 bytes.</source>
        <translation>%1 のヘッダーが合計 %2 バイトを超えています。</translation>
    </message>
    <message>
        <source>This account uses no connection security, so its server shows no certificate.</source>
        <translation>このアカウントは接続の暗号化を使っていないため、サーバーは証明書を示しません。</translation>
    </message>
    <message>
        <source>An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or STARTTLS for it. Nothing was sent.</source>
        <translation>OAuth 2.0 アカウントは保護された接続でのみサインインします。SSL/TLS または STARTTLS を選んでください。何も送っていません。</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>アクセストークン</translation>
    </message>
    <message>
        <source>password</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <source>The user name or %1 holds a line break or a NUL byte; nothing was sent.</source>
        <translation>ユーザー名または%1に改行か NUL バイトが含まれています。何も送っていません。</translation>
    </message>
    <message>
        <source>The server name %1 is not valid.</source>
        <translation>サーバー名 %1 は正しくありません。</translation>
    </message>
    <message>
        <source>Could not resolve %1.</source>
        <translation>%1 の名前を解決できませんでした。</translation>
    </message>
    <message>
        <source>%1 refused the connection.</source>
        <translation>%1 が接続を拒否しました。</translation>
    </message>
    <message>
        <source>No answer from %1 within %2.</source>
        <translation>%1 から %2 以内に応答がありません。</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 did not end within %2.</source>
        <translation>%1 との TLS ハンドシェイクが %2 以内に終わりませんでした。</translation>
    </message>
    <message>
        <source>The server refused STARTTLS</source>
        <translation>サーバーが STARTTLS を拒否しました</translation>
    </message>
    <message>
        <source> The %1 was not sent.</source>
        <translation> %1は送っていません。</translation>
    </message>
    <message>
        <source>The server offers no STARTTLS; the %1 was not sent.</source>
        <translation>サーバーが STARTTLS を提供していません。%1は送っていません。</translation>
    </message>
    <message>
        <source>The server sent more than its answer to STARTTLS, which is how an attacker would slip in false replies; the %1 was not sent.</source>
        <translation>サーバーが STARTTLS への応答以上のものを送りました。攻撃者が偽の応答を紛れ込ませる手口です。%1は送っていません。</translation>
    </message>
    <message>
        <source>%1 no longer offers %2, with which this account signed in before, so the password was not sent another way: someone may be tampering with the connection. If the server&apos;s sign-in really changed, change the account&apos;s sign-in method.</source>
        <translation>%1 は、このアカウントが以前サインインに使った %2 を提供しなくなったため、パスワードを別の方法では送っていません。誰かが接続を改ざんしている可能性があります。サーバーのサインインが本当に変わった場合は、アカウントのサインイン方法を変更してください。</translation>
    </message>
    <message>
        <source>%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; no token was sent.</source>
        <translation>%1 は OAUTHBEARER も XOAUTH2 も提供していないため、OAuth 2.0 アカウントはサインインできません。トークンは送っていません。</translation>
    </message>
    <message>
        <source>The server refused the access token, and a fresh one too</source>
        <translation>サーバーがアクセストークンを拒否し、新しいトークンも拒否しました</translation>
    </message>
    <message>
        <source>The server refused the access token</source>
        <translation>サーバーがアクセストークンを拒否しました</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>サインイン拒否</translation>
    </message>
    <message>
        <source>The server refused the login with %1</source>
        <translation>サーバーが %1 によるサインインを拒否しました</translation>
    </message>
    <message>
        <source> If the password is right, Password only signs in without %1.</source>
        <translation> パスワードが正しければ、「パスワードのみ」は %1 を使わずにサインインします。</translation>
    </message>
    <message>
        <source>%1 could not prove that it knows the password, so someone may be impersonating it; the conversation was ended.</source>
        <translation>%1 はパスワードを知っていることを証明できませんでした。誰かがなりすましている可能性があります。通信を終了しました。</translation>
    </message>
    <message>
        <source>%1 sent a %2 challenge that cannot be read; the conversation was ended.</source>
        <translation>%1 が読み取れない %2 チャレンジを送りました。通信を終了しました。</translation>
    </message>
    <message>
        <source>%1 asks %2 to hash the password %3%4 times, more than the %5 allowed; the sign-in was ended before any was computed.</source>
        <translation>%1 が %2 にパスワードのハッシュを %3%4 回求めています。許容される %5 回を超えるため、計算する前にサインインを終了しました。</translation>
    </message>
    <message>
        <source>The access token holds characters no bearer token has, or the user name holds control characters; it was not sent.</source>
        <translation>アクセストークンにベアラートークンにない文字が含まれているか、ユーザー名に制御文字が含まれています。送っていません。</translation>
    </message>
    <message>
        <source>The password is no valid UTF-8 text, which %1 needs; it was not sent. Password only signs in with it as it is.</source>
        <translation>パスワードは %1 に必要な正しい UTF-8 テキストではありません。送っていません。「パスワードのみ」ならそのままサインインに使います。</translation>
    </message>
    <message>
        <source>%1 closed the connection.</source>
        <translation>%1 が接続を閉じました。</translation>
    </message>
</context>
<context>
    <name>MailProgram</name>
    <message>
        <source>&quot;%1&quot; is not there or is not executable.</source>
        <translation>「%1」がないか、実行できません。</translation>
    </message>
    <message>
        <source>No mail program is chosen in Options, and the desktop has no default mail client.</source>
        <translation>オプションでメールプログラムが選ばれておらず、デスクトップにも既定のメールクライアントがありません。</translation>
    </message>
    <message>
        <source>no reason was given</source>
        <translation>理由は示されませんでした</translation>
    </message>
    <message>
        <source>The mail program could not be started: %1</source>
        <translation>メールプログラムを起動できませんでした: %1</translation>
    </message>
</context>
<context>
    <name>MailboxesDlg</name>
    <message>
        <source>POP3 Server:</source>
        <translation>POP3 サーバー:</translation>
    </message>
    <message>
        <source>Folders...</source>
        <translation>フォルダー...</translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation>メールボックス</translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation>プロトコル(&amp;P):</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>ユーザー名:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>パスワード:</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Connection security:</source>
        <translation>接続の暗号化:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Certificate...</source>
        <translation>証明書...</translation>
    </message>
    <message>
        <source>Sign-&amp;in:</source>
        <translation>サインイン(&amp;I):</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Password only</source>
        <translation>パスワードのみ</translation>
    </message>
    <message>
        <source>Password &amp;from:</source>
        <translation>パスワードの保存先(&amp;F):</translation>
    </message>
    <message>
        <source>This file</source>
        <translation>このファイル</translation>
    </message>
    <message>
        <source>Keyring</source>
        <translation>キーリング</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>コマンド</translation>
    </message>
    <message>
        <source>Online account</source>
        <translation>オンラインアカウント</translation>
    </message>
    <message>
        <source>command printing it</source>
        <translation>出力するコマンド</translation>
    </message>
    <message>
        <source>F&amp;olders:</source>
        <translation>フォルダー(&amp;O):</translation>
    </message>
    <message>
        <source>Configured servers</source>
        <translation>設定済みのサーバー</translation>
    </message>
    <message numerus="yes">
        <source>%n server(s) to check</source>
        <translation>
            <numerusform>確認するサーバー: %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>No servers to check</source>
        <translation>確認するサーバーはありません</translation>
    </message>
    <message>
        <source>kept in the keyring</source>
        <translation>キーリングに保存済み</translation>
    </message>
    <message>
        <source>IMAP Server:</source>
        <translation>IMAP サーバー:</translation>
    </message>
    <message>
        <source>No keyring is at hand.</source>
        <translation>使えるキーリングがありません。</translation>
    </message>
    <message>
        <source>Waiting for the keyring to take the password of %1...</source>
        <translation>キーリングが %1 のパスワードを保存するのを待っています...</translation>
    </message>
    <message>
        <source>The keyring did not take the password of %1:
%2

Keep the password in Tarvo&apos;s settings file instead?</source>
        <translation>キーリングが %1 のパスワードを保存しませんでした:
%2

代わりに Tarvo の設定ファイルに保存しますか?</translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing?</source>
        <translation>閉じる前に %1 への変更を保存しますか?</translation>
    </message>
    <message>
        <source>Add %1 before closing?</source>
        <translation>閉じる前に %1 を追加しますか?</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>証明書</translation>
    </message>
    <message>
        <source>Select a server in the list first.</source>
        <translation>先に一覧でサーバーを選んでください。</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>フォルダー</translation>
    </message>
    <message>
        <source>Type the server&apos;s name first.</source>
        <translation>先にサーバー名を入力してください。</translation>
    </message>
</context>
<context>
    <name>MessageTable</name>
    <message>
        <source>This message&apos;s header is not kept in memory: Tarvo keeps the headers of the newest messages of a large mailbox only.</source>
        <translation>このメッセージのヘッダーはメモリに保持されていません。大きなメールボックスでは、Tarvo は最新のメッセージのヘッダーだけを保持します。</translation>
    </message>
</context>
<context>
    <name>OptionsDlg</name>
    <message>
        <source>Play notification sound</source>
        <translation>通知音を鳴らす</translation>
    </message>
    <message>
        <source>Show message headers</source>
        <translation>メッセージヘッダーを表示する</translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation>デスクトップ通知を表示する</translation>
    </message>
    <message>
        <source>Start at log-in</source>
        <translation>ログイン時に起動する</translation>
    </message>
    <message>
        <source>Show new IMAP mail at once (push)</source>
        <translation>新着 IMAP メールをすぐに表示する (プッシュ)</translation>
    </message>
    <message>
        <source>Tarvo options</source>
        <translation>Tarvo のオプション</translation>
    </message>
    <message>
        <source>Desktop&apos;s default</source>
        <translation>デスクトップの既定</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>On new mail</source>
        <translation>新着メールがあったとき</translation>
    </message>
    <message>
        <source>Read mail with</source>
        <translation>メールを読むプログラム</translation>
    </message>
    <message>
        <source>Check every</source>
        <translation>確認の間隔</translation>
    </message>
    <message>
        <source>minutes for new messages</source>
        <translation>分ごとに新着メッセージを確認</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>整数を入力してください。</translation>
    </message>
</context>
<context>
    <name>Pop3Connection</name>
    <message>
        <source>The server did not give the number of messages</source>
        <translation>サーバーがメッセージ数を返しませんでした</translation>
    </message>
    <message>
        <source>The server gave no number of messages that a mailbox can hold</source>
        <translation>サーバーがメールボックスにありえるメッセージ数を返しませんでした</translation>
    </message>
    <message>
        <source>%1 answered %2 with neither +OK nor -ERR</source>
        <translation>%1 が %2 に +OK でも -ERR でもない応答をしました</translation>
    </message>
    <message>
        <source>The header of message %1 is larger than %2 bytes.</source>
        <translation>メッセージ %1 のヘッダーが %2 バイトを超えています。</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>サーバーが接続を拒否しました</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>サインイン拒否</translation>
    </message>
    <message>
        <source>%1 sent a capability list longer than %2 lines or %3 bytes.</source>
        <translation>%1 が %2 行または %3 バイトを超える機能一覧を送りました。</translation>
    </message>
    <message>
        <source>The unique-id listing of %1 is larger than %2 bytes.</source>
        <translation>%1 の固有 ID 一覧が %2 バイトを超えています。</translation>
    </message>
</context>
<context>
    <name>Secrets</name>
    <message>
        <source>The password command</source>
        <translation>パスワードコマンド</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1.</source>
        <translation>パスワードコマンドがシグナル %1 で終了しました。</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1: %2</source>
        <translation>パスワードコマンドがシグナル %1 で終了しました: %2</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1.</source>
        <translation>パスワードコマンドが終了ステータス %1 で失敗しました。</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1: %2</source>
        <translation>パスワードコマンドが終了ステータス %1 で失敗しました: %2</translation>
    </message>
    <message>
        <source>No password command is set for this account.</source>
        <translation>このアカウントにはパスワードコマンドが設定されていません。</translation>
    </message>
    <message>
        <source>The password command was stopped.</source>
        <translation>パスワードコマンドを中止しました。</translation>
    </message>
    <message>
        <source>The password command could not be started: %1</source>
        <translation>パスワードコマンドを起動できませんでした: %1</translation>
    </message>
    <message>
        <source>The password command printed a first line longer than 64 KiB.</source>
        <translation>パスワードコマンドが 64 KiB を超える最初の行を出力しました。</translation>
    </message>
    <message>
        <source>The password command printed nothing.</source>
        <translation>パスワードコマンドが何も出力しませんでした。</translation>
    </message>
    <message>
        <source>%1 cannot be reached: no session bus is running.</source>
        <translation>%1に接続できません: セッションバスが動いていません。</translation>
    </message>
    <message>
        <source>%1 was not asked to the end: the check was stopped.</source>
        <translation>%1への問い合わせを完了できませんでした: 確認を中止しました。</translation>
    </message>
    <message>
        <source>%1 failed.</source>
        <translation>%1が失敗しました。</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1が失敗しました: %2</translation>
    </message>
    <message>
        <source>The keyring</source>
        <translation>キーリング</translation>
    </message>
    <message>
        <source>The keyring holds no password for %1 on %2.</source>
        <translation>キーリングに %2 の %1 のパスワードがありません。</translation>
    </message>
    <message>
        <source>The keyring is locked; unlock it to let Tarvo read the password for %1 on %2.</source>
        <translation>キーリングがロックされています。Tarvo が %2 の %1 のパスワードを読めるように、ロックを解除してください。</translation>
    </message>
    <message>
        <source>GNOME Online Accounts</source>
        <translation>GNOME オンラインアカウント</translation>
    </message>
    <message>
        <source>GNOME Online Accounts has no mail account for %1.</source>
        <translation>GNOME オンラインアカウントに %1 のメールアカウントがありません。</translation>
    </message>
    <message>
        <source>The online account of %1 has neither a token nor a password to give.</source>
        <translation>%1 のオンラインアカウントには、渡せるトークンもパスワードもありません。</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty secret for %1.</source>
        <translation>GNOME オンラインアカウントが %1 に空のシークレットを返しました。</translation>
    </message>
    <message numerus="yes">
        <source>%1 did not answer within %n second(s).</source>
        <translation>
            <numerusform>%1が %n 秒以内に応答しませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 did not answer within %2 ms.</source>
        <translation>%1が %2 ミリ秒以内に応答しませんでした。</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>Tarvo cannot save its state: %1 is not a regular file.</source>
        <translation>Tarvo は状態を保存できません: %1 は通常のファイルではありません。</translation>
    </message>
</context>
<context>
    <name>TarvoResources</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>ソケットの初期化に失敗しました。</translation>
    </message>
</context>
<context>
    <name>TlsTransport</name>
    <message>
        <source>an unreadable date</source>
        <translation>読み取れない日付</translation>
    </message>
    <message>
        <source>The certificate of %1 is refused: a name in it holds a NUL character, which could pass it off as another name.</source>
        <translation>%1 の証明書を拒否しました: 含まれる名前に NUL 文字があり、別の名前になりすませるためです。</translation>
    </message>
    <message>
        <source>The certificate names %1 only as a host name; an IP address must be in its subjectAltName.</source>
        <translation>証明書は %1 をホスト名としてのみ記載しています。IP アドレスは subjectAltName に記載されている必要があります。</translation>
    </message>
    <message>
        <source>The certificate is issued for %1, not %2.</source>
        <translation>証明書は %2 ではなく %1 に対して発行されています。</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>名前なし</translation>
    </message>
    <message>
        <source>The certificate of %1 has expired (%2).</source>
        <translation>%1 の証明書は期限が切れています (%2)。</translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid before %2.</source>
        <translation>%1 の証明書は %2 より前には有効ではありません。</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts; if the server is yours, trust it with Certificate... in Servers... in the menu.</source>
        <translation>%1 の証明書は、このコンピューターが信頼する認証局の署名を受けていません。ご自身のサーバーであれば、メニューの「サーバー...」にある「証明書...」で信頼してください。</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts.</source>
        <translation>%1 の証明書は、このコンピューターが信頼する認証局の署名を受けていません。</translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified: %2.</source>
        <translation>%1 の証明書を検証できませんでした: %2。</translation>
    </message>
    <message>
        <source>The secure connection could not be prepared on this computer.</source>
        <translation>このコンピューターで安全な接続を準備できませんでした。</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account; it has been replaced since.</source>
        <translation>%1 の証明書は、このアカウントが信頼する証明書ではありません。その後、差し替えられています。</translation>
    </message>
    <message>
        <source>%1 closed the connection during the TLS handshake.</source>
        <translation>%1 が TLS ハンドシェイク中に接続を閉じました。</translation>
    </message>
    <message>
        <source>%1 offers no TLS version from 1.2 on, the oldest still safe.</source>
        <translation>%1 は、まだ安全な最も古いバージョンである TLS 1.2 以降を提供していません。</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 failed: %2.</source>
        <translation>%1 との TLS ハンドシェイクに失敗しました: %2。</translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation>理由なし</translation>
    </message>
    <message>
        <source>It was not verified: this account trusts one certificate by hand.</source>
        <translation>検証していません: このアカウントは手動で選んだ証明書を信頼しています。</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Check now</source>
        <translation>今すぐ確認(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Read mail</source>
        <translation>メールを読む(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Headers...</source>
        <translation>ヘッダー(&amp;H)...</translation>
    </message>
    <message>
        <source>&amp;Servers...</source>
        <translation>サーバー(&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>オプション(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Tarvo について(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Stop check</source>
        <translation>確認を中止(&amp;S)</translation>
    </message>
</context>
<context>
    <name>TrayTip</name>
    <message>
        <source>No mailboxes to check</source>
        <translation>確認するメールボックスがありません</translation>
    </message>
    <message>
        <source>Tarvo is empty</source>
        <translation>Tarvo は空です</translation>
    </message>
    <message>
        <source>%1 failed. %2</source>
        <translation>失敗: %1。%2</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts failed. %1</source>
        <translation>
            <numerusform>%Ln 件のアカウントが失敗しました。%1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You have %n unread message(s)</source>
        <translation>
            <numerusform>未読メッセージが %Ln 件あります</numerusform>
        </translation>
    </message>
    <message>
        <source>No unread messages</source>
        <translation>未読メッセージはありません</translation>
    </message>
    <message>
        <source>Error(s) occured</source>
        <translation>エラーが発生しました</translation>
    </message>
</context>
</TS>
