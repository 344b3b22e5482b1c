<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fi">
<context>
    <name>AboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thanks to...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvo: multiple account mail checker
Made by Halvik
Version %1

Reports and suggestions to:
tarvo@example.org
More information:
https://example.org/tarvo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thanks for their response and help to:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CertificateReview</name>
    <message>
        <source>Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server: %1
Subject: %2
Issuer: %3
Valid from %4 until %5
SHA-256: %6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This account trusts another certificate now (SHA-256 %1).

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

%3Trust exactly this certificate for this account? It is then accepted whoever issued it and whatever name it carries, and any other certificate is refused. No leaves the decision to the authorities this computer trusts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

This account trusts exactly this certificate now.

Stop trusting it? The next checks then leave the decision to the authorities this computer trusts. No keeps it trusted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust this certificate also for the other accounts on this server: %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetching the certificate of %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This certificate is trusted by this computer; nothing to add.

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

This account also trusts one certificate by hand (SHA-256 %1). Leave the decision to the authorities this computer trusts instead?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CheckCycle</name>
    <message>
        <source>(error contacting %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> The server&apos;s list of unique-ids (UIDL) broke off, so the next checks of this mailbox go without it and fetch every header.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Retrieving %n header(s) from %1...</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(error retrieving %n message header(s))</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Contacting %1...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: tarvo [--check [--json]]
Watches POP3 mailboxes from an icon in the notification area.

  --check     check every configured account once, print one line per
              account and the total, and end
  --json      with --check: print one JSON object instead
  --help      show this help and end
  --version   show the version and end

Exit status of --check: 0 every account was checked, 1 an account failed,
2 a usage or settings error.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n message(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Total: %n message(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %1 of %n account(s) failed</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>the settings file %1 cannot be read whole; it was left as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mailboxes to check in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown argument &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--json goes with --check</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>1 new message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show headers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read mail</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FetchingWindow</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderChoice</name>
    <message>
        <source>Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetching the folders of %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watch these folders of %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (not listed)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HeadersDlg</name>
    <message>
        <source>Read mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No new messages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 new message(s), %2 pending, %3 error(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HeadersModel</name>
    <message>
        <source>Subject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response that cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 announced %2 bytes in one piece, more than the %3 bytes allowed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent a response of more than %2 bytes or %3 values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 answered a command that was never sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ended the conversation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes in answer to one command.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 asked for more of a command that was complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server would not open the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 listed more unseen messages than the folder %2 holds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent a search result that cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server would not search for unseen messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server would not give the headers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server would not list its folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server would not report changes to the folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server would not wait for new mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes while Tarvo waited for new mail.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server stopped waiting for new mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 greeted the connection as signed in already, where STARTTLS can no longer be asked: someone may be keeping it in clear text. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused to list its capabilities</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes no password over this connection (it lists LOGINDISABLED); the password was not sent. Choose SSL/TLS or STARTTLS for the account.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MailConversation</name>
    <message>
        <source>The check was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 with an empty reply.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; its reply is left out, as it would show the %2 or part of it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No reply from %1 within %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent less than %2 bytes in %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The conversation with %1 took longer than %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent a line longer than %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection to %1 broke off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The headers on %1 add up to more than %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This account uses no connection security, so its server shows no certificate.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or STARTTLS for it. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>access token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user name or %1 holds a line break or a NUL byte; nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server name %1 is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not resolve %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 refused the connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No answer from %1 within %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The TLS handshake with %1 did not end within %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused STARTTLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> The %1 was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server offers no STARTTLS; the %1 was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent more than its answer to STARTTLS, which is how an attacker would slip in false replies; the %1 was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 no longer offers %2, with which this account signed in before, so the password was not sent another way: someone may be tampering with the connection. If the server&apos;s sign-in really changed, change the account&apos;s sign-in method.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; no token was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the access token, and a fresh one too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the access token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the login with %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> If the password is right, Password only signs in without %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not prove that it knows the password, so someone may be impersonating it; the conversation was ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent a %2 challenge that cannot be read; the conversation was ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 asks %2 to hash the password %3%4 times, more than the %5 allowed; the sign-in was ended before any was computed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The access token holds characters no bearer token has, or the user name holds control characters; it was not sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password is no valid UTF-8 text, which %1 needs; it was not sent. Password only signs in with it as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 closed the connection.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MailProgram</name>
    <message>
        <source>&quot;%1&quot; is not there or is not executable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mail program is chosen in Options, and the desktop has no default mail client.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reason was given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The mail program could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MailboxesDlg</name>
    <message>
        <source>POP3 Server:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Username:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection security:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign-&amp;in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password &amp;from:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>command printing it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;olders:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configured servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n server(s) to check</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>No servers to check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kept in the keyring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IMAP Server:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No keyring is at hand.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for the keyring to take the password of %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keyring did not take the password of %1:
%2

Keep the password in Tarvo&apos;s settings file instead?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add %1 before closing?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a server in the list first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type the server&apos;s name first.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageTable</name>
    <message>
        <source>This message&apos;s header is not kept in memory: Tarvo keeps the headers of the newest messages of a large mailbox only.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OptionsDlg</name>
    <message>
        <source>Play notification sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show message headers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at log-in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show new IMAP mail at once (push)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvo options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop&apos;s default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On new mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read mail with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>minutes for new messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Pop3Connection</name>
    <message>
        <source>The server did not give the number of messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server gave no number of messages that a mailbox can hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 answered %2 with neither +OK nor -ERR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The header of message %1 is larger than %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sent a capability list longer than %2 lines or %3 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The unique-id listing of %1 is larger than %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Secrets</name>
    <message>
        <source>The password command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command was ended by signal %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command was ended by signal %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command failed with exit status %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command failed with exit status %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No password command is set for this account.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command printed a first line longer than 64 KiB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password command printed nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be reached: no session bus is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not asked to the end: the check was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keyring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keyring holds no password for %1 on %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keyring is locked; unlock it to let Tarvo read the password for %1 on %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GNOME Online Accounts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GNOME Online Accounts has no mail account for %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The online account of %1 has neither a token nor a password to give.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty secret for %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 did not answer within %n second(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 did not answer within %2 ms.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>Tarvo cannot save its state: %1 is not a regular file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TarvoResources</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TlsTransport</name>
    <message>
        <source>an unreadable date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 is refused: a name in it holds a NUL character, which could pass it off as another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate names %1 only as a host name; an IP address must be in its subjectAltName.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate is issued for %1, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 has expired (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid before %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts; if the server is yours, trust it with Certificate... in Servers... in the menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The secure connection could not be prepared on this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account; it has been replaced since.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 closed the connection during the TLS handshake.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 offers no TLS version from 1.2 on, the oldest still safe.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The TLS handshake with %1 failed: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It was not verified: this account trusts one certificate by hand.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Check now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Read mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Headers...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Servers...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Stop check</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayTip</name>
    <message>
        <source>No mailboxes to check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvo is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n accounts failed. %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You have %n unread message(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>No unread messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error(s) occured</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
