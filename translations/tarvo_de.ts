<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation>Über Tarvo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Thanks to...</source>
        <translation>Dank an...</translation>
    </message>
    <message>
        <source>Tarvo: multiple account mail checker
Made by Halvik
Version %1

Reports and suggestions to:
tarvo@example.org
More information:
https://example.org/tarvo</source>
        <translation>Tarvo: E-Mail-Prüfung für mehrere Konten
von Halvik
Version %1

Fehlerberichte und Vorschläge an:
tarvo@example.org
Weitere Informationen:
https://example.org/tarvo</translation>
    </message>
    <message>
        <source>Thanks for their response and help to:</source>
        <translation>Dank für Rückmeldungen und Hilfe an:</translation>
    </message>
</context>
<context>
    <name>CertificateReview</name>
    <message>
        <source>Certificate</source>
        <translation>Zertifikat</translation>
    </message>
    <message>
        <source>Server: %1
Subject: %2
Issuer: %3
Valid from %4 until %5
SHA-256: %6</source>
        <translation>Server: %1
Inhaber: %2
Aussteller: %3
Gültig von %4 bis %5
SHA-256: %6</translation>
    </message>
    <message>
        <source>This account trusts another certificate now (SHA-256 %1).

</source>
        <translation>Dieses Konto vertraut zurzeit einem anderen Zertifikat (SHA-256 %1).

</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

%3Trust exactly this certificate for this account? It is then accepted whoever issued it and whatever name it carries, and any other certificate is refused. No leaves the decision to the authorities this computer trusts.</source>
        <translation>Nicht vertrauenswürdig: %1

%2

%3Genau diesem Zertifikat für dieses Konto vertrauen? Es wird dann angenommen, gleich wer es ausgestellt hat und welchen Namen es trägt, und jedes andere Zertifikat wird abgelehnt. Mit Nein entscheiden weiterhin die Zertifizierungsstellen, denen dieser Computer vertraut.</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

This account trusts exactly this certificate now.

Stop trusting it? The next checks then leave the decision to the authorities this computer trusts. No keeps it trusted.</source>
        <translation>Nicht vertrauenswürdig: %1

%2

Dieses Konto vertraut zurzeit genau diesem Zertifikat.

Nicht mehr vertrauen? Bei den nächsten Prüfungen entscheiden dann die Zertifizierungsstellen, denen dieser Computer vertraut. Mit Nein bleibt es vertrauenswürdig.</translation>
    </message>
    <message>
        <source>Trust this certificate also for the other accounts on this server: %1?</source>
        <translation>Diesem Zertifikat auch für die anderen Konten auf diesem Server vertrauen: %1?</translation>
    </message>
    <message>
        <source>Fetching the certificate of %1...</source>
        <translation>Zertifikat von %1 wird abgerufen...</translation>
    </message>
    <message>
        <source>This certificate is trusted by this computer; nothing to add.

</source>
        <translation>Dieser Computer vertraut diesem Zertifikat; es ist nichts hinzuzufügen.

</translation>
    </message>
    <message>
        <source>

This account also trusts one certificate by hand (SHA-256 %1). Leave the decision to the authorities this computer trusts instead?</source>
        <translation>

Dieses Konto vertraut außerdem einem von Hand gewählten Zertifikat (SHA-256 %1). Die Entscheidung stattdessen den Zertifizierungsstellen überlassen, denen dieser Computer vertraut?</translation>
    </message>
    <message>
        <source>d MMM yyyy</source>
        <extracomment>A date as QDate::toString() takes it, with the month in digits (M, MM).</extracomment>
        <translation>d.M.yyyy</translation>
    </message>
</context>
<context>
    <name>CheckCycle</name>
    <message>
        <source>(error contacting %1)</source>
        <translation>(Verbindungsfehler: %1)</translation>
    </message>
    <message>
        <source> The server&apos;s list of unique-ids (UIDL) broke off, so the next checks of this mailbox go without it and fetch every header.</source>
        <translation> Die Liste der eindeutigen Kennungen (UIDL) des Servers brach ab; die nächsten Prüfungen dieses Postfachs kommen ohne sie aus und rufen alle Kopfzeilen ab.</translation>
    </message>
    <message numerus="yes">
        <source>Retrieving %n header(s) from %1...</source>
        <translation>
            <numerusform>%n Kopfzeilenblock wird von %1 abgerufen...</numerusform>
            <numerusform>%n Kopfzeilenblöcke werden von %1 abgerufen...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(error retrieving %n message header(s))</source>
        <translation>
            <numerusform>(Fehler beim Abrufen von %n Nachrichtenkopf)</numerusform>
            <numerusform>(Fehler beim Abrufen von %n Nachrichtenköpfen)</numerusform>
        </translation>
    </message>
    <message>
        <source>Contacting %1...</source>
        <translation>Verbindung zu %1 wird hergestellt...</translation>
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
        <translation>Aufruf: tarvo [--check [--json]]
Überwacht POP3- und IMAP-Postfächer über ein Symbol im Benachrichtigungsfeld.

  --check     jedes eingerichtete Konto einmal prüfen, je Konto eine Zeile
              und die Summe ausgeben, dann beenden
  --json      mit --check: stattdessen ein JSON-Objekt ausgeben
  --help      diese Hilfe zeigen und beenden
  --version   die Version zeigen und beenden

Exit-Status von --check: 0 alle Konten wurden geprüft, 1 ein Konto schlug fehl,
2 ein Aufruf- oder Einstellungsfehler.
</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s)</source>
        <translation>
            <numerusform>%n Nachricht</numerusform>
            <numerusform>%n Nachrichten</numerusform>
        </translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message numerus="yes">
        <source>Total: %n message(s)</source>
        <translation>
            <numerusform>Gesamt: %n Nachricht</numerusform>
            <numerusform>Gesamt: %n Nachrichten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %1 of %n account(s) failed</source>
        <translation>
            <numerusform>, %1 von %n Konto fehlgeschlagen</numerusform>
            <numerusform>, %1 von %n Konten fehlgeschlagen</numerusform>
        </translation>
    </message>
    <message>
        <source>the settings file %1 cannot be read whole; it was left as it is</source>
        <translation>die Einstellungsdatei %1 kann nicht vollständig gelesen werden; sie wurde unverändert gelassen</translation>
    </message>
    <message>
        <source>No mailboxes to check in %1</source>
        <translation>Keine Postfächer zu prüfen in %1</translation>
    </message>
    <message>
        <source>unknown argument &apos;%1&apos;</source>
        <translation>unbekanntes Argument „%1“</translation>
    </message>
    <message>
        <source>--json goes with --check</source>
        <translation>--json gehört zu --check</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>1 new message</source>
        <translation>1 neue Nachricht</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>%1 neue Nachrichten</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>Show headers</source>
        <translation>Kopfzeilen zeigen</translation>
    </message>
    <message>
        <source>Read mail</source>
        <translation>E-Mails lesen</translation>
    </message>
</context>
<context>
    <name>FetchingWindow</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FolderChoice</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Fetching the folders of %1...</source>
        <translation>Ordner von %1 werden abgerufen...</translation>
    </message>
    <message>
        <source>Watch these folders of %1:</source>
        <translation>Diese Ordner von %1 überwachen:</translation>
    </message>
    <message>
        <source> (not listed)</source>
        <translation> (nicht aufgeführt)</translation>
    </message>
</context>
<context>
    <name>HeaderBlock</name>
    <message>
        <source>(untitled)</source>
        <translation>(ohne Betreff)</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(unbekannt)</translation>
    </message>
</context>
<context>
    <name>HeadersDlg</name>
    <message>
        <source>Read mail</source>
        <translation>E-Mails lesen</translation>
    </message>
    <message>
        <source>No new messages.</source>
        <translation>Keine neuen Nachrichten.</translation>
    </message>
    <message>
        <source>%1 new message(s), %2 pending, %3 error(s)</source>
        <translation>Neu: %1, wartend: %2, Fehler: %3</translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation>Nachrichtenkopf</translation>
    </message>
</context>
<context>
    <name>HeadersModel</name>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation>Postfach</translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response that cannot be read</source>
        <translation>%1 sandte eine Antwort, die nicht gelesen werden kann</translation>
    </message>
    <message>
        <source>%1 announced %2 bytes in one piece, more than the %3 bytes allowed.</source>
        <translation>%1 kündigte %2 Bytes in einem Stück an, mehr als die erlaubten %3 Bytes.</translation>
    </message>
    <message>
        <source>%1 sent a response of more than %2 bytes or %3 values.</source>
        <translation>%1 sandte eine Antwort mit mehr als %2 Bytes oder %3 Werten.</translation>
    </message>
    <message>
        <source>%1 answered a command that was never sent</source>
        <translation>%1 beantwortete einen Befehl, der nie gesendet wurde</translation>
    </message>
    <message>
        <source>%1 ended the conversation</source>
        <translation>%1 beendete die Verbindung</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes in answer to one command.</source>
        <translation>%1 sandte mehr als %2 Bytes als Antwort auf einen Befehl.</translation>
    </message>
    <message>
        <source>%1 asked for more of a command that was complete</source>
        <translation>%1 verlangte mehr von einem Befehl, der vollständig war</translation>
    </message>
    <message>
        <source>The server would not open the folder %1</source>
        <translation>Der Server öffnete den Ordner %1 nicht</translation>
    </message>
    <message>
        <source>%1 listed more unseen messages than the folder %2 holds.</source>
        <translation>%1 meldete mehr ungelesene Nachrichten, als der Ordner %2 enthält.</translation>
    </message>
    <message>
        <source>%1 sent a search result that cannot be read</source>
        <translation>%1 sandte ein Suchergebnis, das nicht gelesen werden kann</translation>
    </message>
    <message>
        <source>The server would not search for unseen messages</source>
        <translation>Der Server suchte nicht nach ungelesenen Nachrichten</translation>
    </message>
    <message>
        <source>The server would not give the headers</source>
        <translation>Der Server lieferte die Kopfzeilen nicht</translation>
    </message>
    <message>
        <source>The server would not list its folders</source>
        <translation>Der Server listete seine Ordner nicht auf</translation>
    </message>
    <message>
        <source>The server would not report changes to the folders</source>
        <translation>Der Server meldete keine Änderungen an den Ordnern</translation>
    </message>
    <message>
        <source>The server would not wait for new mail</source>
        <translation>Der Server wartete nicht auf neue E-Mails</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes while Tarvo waited for new mail.</source>
        <translation>%1 sandte mehr als %2 Bytes, während Tarvo auf neue E-Mails wartete.</translation>
    </message>
    <message>
        <source>The server stopped waiting for new mail</source>
        <translation>Der Server wartet nicht mehr auf neue E-Mails</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>Der Server lehnte die Verbindung ab</translation>
    </message>
    <message>
        <source>%1 greeted the connection as signed in already, where STARTTLS can no longer be asked: someone may be keeping it in clear text. Nothing was sent.</source>
        <translation>%1 begrüßte die Verbindung als bereits angemeldet, sodass STARTTLS nicht mehr angefordert werden kann: Jemand hält sie womöglich unverschlüsselt. Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The server refused to list its capabilities</source>
        <translation>Der Server verweigerte die Liste seiner Fähigkeiten</translation>
    </message>
    <message>
        <source>%1 takes no password over this connection (it lists LOGINDISABLED); the password was not sent. Choose SSL/TLS or STARTTLS for the account.</source>
        <translation>%1 nimmt über diese Verbindung kein Passwort an (er meldet LOGINDISABLED); das Passwort wurde nicht gesendet. Wählen Sie SSL/TLS oder STARTTLS für das Konto.</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Anmeldung abgelehnt</translation>
    </message>
</context>
<context>
    <name>MailConversation</name>
    <message>
        <source>The check was stopped.</source>
        <translation>Die Prüfung wurde abgebrochen.</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>%1 with an empty reply.</source>
        <translation>%1, mit leerer Antwort.</translation>
    </message>
    <message>
        <source>%1; its reply is left out, as it would show the %2 or part of it.</source>
        <translation>%1; seine Antwort wird weggelassen, da sie das %2 oder einen Teil davon zeigen würde.</translation>
    </message>
    <message>
        <source>No reply from %1 within %2.</source>
        <translation>Keine Antwort von %1 innerhalb von %2.</translation>
    </message>
    <message>
        <source>%1 sent less than %2 bytes in %3.</source>
        <translation>%1 sandte weniger als %2 Bytes in %3.</translation>
    </message>
    <message>
        <source>The conversation with %1 took longer than %2.</source>
        <translation>Die Verbindung mit %1 dauerte länger als %2.</translation>
    </message>
    <message>
        <source>%1 sent a line longer than %2 bytes.</source>
        <translation>%1 sandte eine Zeile, die länger als %2 Bytes ist.</translation>
    </message>
    <message>
        <source>The connection to %1 broke off.</source>
        <translation>Die Verbindung zu %1 brach ab.</translation>
    </message>
    <message>
        <source>The headers on %1 add up to more than %2 bytes.</source>
        <translation>Die Kopfzeilen auf %1 ergeben zusammen mehr als %2 Bytes.</translation>
    </message>
    <message>
        <source>This account uses no connection security, so its server shows no certificate.</source>
        <translation>Dieses Konto nutzt keine Verbindungssicherheit, daher zeigt sein Server kein Zertifikat.</translation>
    </message>
    <message>
        <source>An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or STARTTLS for it. Nothing was sent.</source>
        <translation>Ein OAuth-2.0-Konto meldet sich nur über eine gesicherte Verbindung an: Wählen Sie SSL/TLS oder STARTTLS dafür. Es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>Zugriffstoken</translation>
    </message>
    <message>
        <source>password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>The user name or %1 holds a line break or a NUL byte; nothing was sent.</source>
        <translation>Der Benutzername oder das %1 enthält einen Zeilenumbruch oder ein NUL-Byte; es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The server name %1 is not valid.</source>
        <translation>Der Servername %1 ist ungültig.</translation>
    </message>
    <message>
        <source>Could not resolve %1.</source>
        <translation>%1 konnte nicht aufgelöst werden.</translation>
    </message>
    <message>
        <source>%1 refused the connection.</source>
        <translation>%1 lehnte die Verbindung ab.</translation>
    </message>
    <message>
        <source>No answer from %1 within %2.</source>
        <translation>Keine Antwort von %1 innerhalb von %2.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 did not end within %2.</source>
        <translation>Der TLS-Handshake mit %1 endete nicht innerhalb von %2.</translation>
    </message>
    <message>
        <source>The server refused STARTTLS</source>
        <translation>Der Server lehnte STARTTLS ab</translation>
    </message>
    <message>
        <source> The %1 was not sent.</source>
        <translation> Das %1 wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server offers no STARTTLS; the %1 was not sent.</source>
        <translation>Der Server bietet kein STARTTLS an; das %1 wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server sent more than its answer to STARTTLS, which is how an attacker would slip in false replies; the %1 was not sent.</source>
        <translation>Der Server sandte mehr als seine Antwort auf STARTTLS, so wie ein Angreifer falsche Antworten einschleusen würde; das %1 wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>%1 no longer offers %2, with which this account signed in before, so the password was not sent another way: someone may be tampering with the connection. If the server&apos;s sign-in really changed, change the account&apos;s sign-in method.</source>
        <translation>%1 bietet %2 nicht mehr an, womit sich dieses Konto bisher angemeldet hat, daher wurde das Passwort nicht auf anderem Weg gesendet: Jemand manipuliert womöglich die Verbindung. Falls sich die Anmeldung des Servers wirklich geändert hat, ändern Sie die Anmeldemethode des Kontos.</translation>
    </message>
    <message>
        <source>%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; no token was sent.</source>
        <translation>%1 bietet weder OAUTHBEARER noch XOAUTH2 an, daher kann sich ein OAuth-2.0-Konto dort nicht anmelden; es wurde kein Token gesendet.</translation>
    </message>
    <message>
        <source>The server refused the access token, and a fresh one too</source>
        <translation>Der Server lehnte das Zugriffstoken ab, und auch ein neues</translation>
    </message>
    <message>
        <source>The server refused the access token</source>
        <translation>Der Server lehnte das Zugriffstoken ab</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>The server refused the login with %1</source>
        <translation>Der Server lehnte die Anmeldung mit %1 ab</translation>
    </message>
    <message>
        <source> If the password is right, Password only signs in without %1.</source>
        <translation> Ist das Passwort richtig, meldet „Nur Passwort“ sich ohne %1 an.</translation>
    </message>
    <message>
        <source>%1 could not prove that it knows the password, so someone may be impersonating it; the conversation was ended.</source>
        <translation>%1 konnte nicht beweisen, dass er das Passwort kennt; womöglich gibt sich jemand als dieser Server aus. Die Verbindung wurde beendet.</translation>
    </message>
    <message>
        <source>%1 sent a %2 challenge that cannot be read; the conversation was ended.</source>
        <translation>%1 sandte eine %2-Challenge, die nicht gelesen werden kann; die Verbindung wurde beendet.</translation>
    </message>
    <message>
        <source>%1 asks %2 to hash the password %3%4 times, more than the %5 allowed; the sign-in was ended before any was computed.</source>
        <translation>%1 verlangt von %2, das Passwort %3%4-mal zu hashen, mehr als die erlaubten %5; die Anmeldung wurde beendet, bevor etwas berechnet wurde.</translation>
    </message>
    <message>
        <source>The access token holds characters no bearer token has, or the user name holds control characters; it was not sent.</source>
        <translation>Das Zugriffstoken enthält Zeichen, die kein Bearer-Token hat, oder der Benutzername enthält Steuerzeichen; es wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The password is no valid UTF-8 text, which %1 needs; it was not sent. Password only signs in with it as it is.</source>
        <translation>Das Passwort ist kein gültiger UTF-8-Text, den %1 braucht; es wurde nicht gesendet. „Nur Passwort“ meldet sich damit an, wie es ist.</translation>
    </message>
    <message>
        <source>%1 closed the connection.</source>
        <translation>%1 schloss die Verbindung.</translation>
    </message>
</context>
<context>
    <name>MailProgram</name>
    <message>
        <source>&quot;%1&quot; is not there or is not executable.</source>
        <translation>„%1“ ist nicht vorhanden oder nicht ausführbar.</translation>
    </message>
    <message>
        <source>No mail program is chosen in Options, and the desktop has no default mail client.</source>
        <translation>In den Optionen ist kein E-Mail-Programm gewählt, und die Arbeitsumgebung hat kein Standard-E-Mail-Programm.</translation>
    </message>
    <message>
        <source>no reason was given</source>
        <translation>es wurde kein Grund genannt</translation>
    </message>
    <message>
        <source>The mail program could not be started: %1</source>
        <translation>Das E-Mail-Programm konnte nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>MailboxesDlg</name>
    <message>
        <source>POP3 Server:</source>
        <translation>POP3-Server:</translation>
    </message>
    <message>
        <source>Folders...</source>
        <translation>Ordner...</translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation>Postfächer</translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation>&amp;Protokoll:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Connection security:</source>
        <translation>Verbindungssicherheit:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Certificate...</source>
        <translation>Zertifikat...</translation>
    </message>
    <message>
        <source>Sign-&amp;in:</source>
        <translation>&amp;Anmeldung:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Password only</source>
        <translation>Nur Passwort</translation>
    </message>
    <message>
        <source>Password &amp;from:</source>
        <translation>Pass&amp;wort aus:</translation>
    </message>
    <message>
        <source>This file</source>
        <translation>Dieser Datei</translation>
    </message>
    <message>
        <source>Keyring</source>
        <translation>Schlüsselbund</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Online account</source>
        <translation>Online-Konto</translation>
    </message>
    <message>
        <source>command printing it</source>
        <translation>Befehl, der es ausgibt</translation>
    </message>
    <message>
        <source>F&amp;olders:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>Configured servers</source>
        <translation>Eingerichtete Server</translation>
    </message>
    <message numerus="yes">
        <source>%n server(s) to check</source>
        <translation>
            <numerusform>%n Server zu prüfen</numerusform>
            <numerusform>%n Server zu prüfen</numerusform>
        </translation>
    </message>
    <message>
        <source>No servers to check</source>
        <translation>Keine Server zu prüfen</translation>
    </message>
    <message>
        <source>kept in the keyring</source>
        <translation>im Schlüsselbund</translation>
    </message>
    <message>
        <source>IMAP Server:</source>
        <translation>IMAP-Server:</translation>
    </message>
    <message>
        <source>No keyring is at hand.</source>
        <translation>Es ist kein Schlüsselbund verfügbar.</translation>
    </message>
    <message>
        <source>Waiting for the keyring to take the password of %1...</source>
        <translation>Warten, bis der Schlüsselbund das Passwort von %1 übernimmt...</translation>
    </message>
    <message>
        <source>The keyring did not take the password of %1:
%2

Keep the password in Tarvo&apos;s settings file instead?</source>
        <translation>Der Schlüsselbund hat das Passwort von %1 nicht übernommen:
%2

Das Passwort stattdessen in Tarvos Einstellungsdatei speichern?</translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing?</source>
        <translation>Änderungen an %1 vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Add %1 before closing?</source>
        <translation>%1 vor dem Schließen hinzufügen?</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>Zertifikat</translation>
    </message>
    <message>
        <source>Select a server in the list first.</source>
        <translation>Wählen Sie zuerst einen Server in der Liste.</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Type the server&apos;s name first.</source>
        <translation>Geben Sie zuerst den Namen des Servers ein.</translation>
    </message>
</context>
<context>
    <name>MessageTable</name>
    <message>
        <source>This message&apos;s header is not kept in memory: Tarvo keeps the headers of the newest messages of a large mailbox only.</source>
        <translation>Der Kopf dieser Nachricht wird nicht im Speicher gehalten: Tarvo behält bei einem großen Postfach nur die Köpfe der neuesten Nachrichten.</translation>
    </message>
</context>
<context>
    <name>OptionsDlg</name>
    <message>
        <source>Play notification sound</source>
        <translation>Benachrichtigungston abspielen</translation>
    </message>
    <message>
        <source>Show message headers</source>
        <translation>Nachrichtenköpfe zeigen</translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation>Desktop-Benachrichtigung zeigen</translation>
    </message>
    <message>
        <source>Start at log-in</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Show new IMAP mail at once (push)</source>
        <translation>Neue IMAP-E-Mails sofort zeigen (Push)</translation>
    </message>
    <message>
        <source>Tarvo options</source>
        <translation>Tarvo-Optionen</translation>
    </message>
    <message>
        <source>Desktop&apos;s default</source>
        <translation>Standard der Arbeitsumgebung</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>On new mail</source>
        <translation>Bei neuen E-Mails</translation>
    </message>
    <message>
        <source>Read mail with</source>
        <translation>E-Mails lesen mit</translation>
    </message>
    <message>
        <source>Check every</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>minutes for new messages</source>
        <translation>Minuten auf neue Nachrichten prüfen</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
</context>
<context>
    <name>Pop3Connection</name>
    <message>
        <source>The server did not give the number of messages</source>
        <translation>Der Server nannte die Anzahl der Nachrichten nicht</translation>
    </message>
    <message>
        <source>The server gave no number of messages that a mailbox can hold</source>
        <translation>Der Server nannte keine Nachrichtenanzahl, die ein Postfach enthalten kann</translation>
    </message>
    <message>
        <source>%1 answered %2 with neither +OK nor -ERR</source>
        <translation>%1 beantwortete %2 weder mit +OK noch mit -ERR</translation>
    </message>
    <message>
        <source>The header of message %1 is larger than %2 bytes.</source>
        <translation>Der Kopf der Nachricht %1 ist größer als %2 Bytes.</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>Der Server lehnte die Verbindung ab</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>%1 sent a capability list longer than %2 lines or %3 bytes.</source>
        <translation>%1 sandte eine Fähigkeitenliste mit mehr als %2 Zeilen oder %3 Bytes.</translation>
    </message>
    <message>
        <source>The unique-id listing of %1 is larger than %2 bytes.</source>
        <translation>Die Liste der eindeutigen Kennungen von %1 ist größer als %2 Bytes.</translation>
    </message>
</context>
<context>
    <name>Secrets</name>
    <message>
        <source>The password command</source>
        <translation>Der Passwortbefehl</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1.</source>
        <translation>Der Passwortbefehl wurde durch Signal %1 beendet.</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1: %2</source>
        <translation>Der Passwortbefehl wurde durch Signal %1 beendet: %2</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1.</source>
        <translation>Der Passwortbefehl schlug mit Exit-Status %1 fehl.</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1: %2</source>
        <translation>Der Passwortbefehl schlug mit Exit-Status %1 fehl: %2</translation>
    </message>
    <message>
        <source>No password command is set for this account.</source>
        <translation>Für dieses Konto ist kein Passwortbefehl festgelegt.</translation>
    </message>
    <message>
        <source>The password command was stopped.</source>
        <translation>Der Passwortbefehl wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The password command could not be started: %1</source>
        <translation>Der Passwortbefehl konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>The password command printed a first line longer than 64 KiB.</source>
        <translation>Der Passwortbefehl gab eine erste Zeile aus, die länger als 64 KiB ist.</translation>
    </message>
    <message>
        <source>The password command printed nothing.</source>
        <translation>Der Passwortbefehl gab nichts aus.</translation>
    </message>
    <message>
        <source>%1 cannot be reached: no session bus is running.</source>
        <translation>%1 ist nicht erreichbar: Es läuft kein Sitzungsbus.</translation>
    </message>
    <message>
        <source>%1 was not asked to the end: the check was stopped.</source>
        <translation>%1 wurde nicht zu Ende gefragt: Die Prüfung wurde abgebrochen.</translation>
    </message>
    <message>
        <source>%1 failed.</source>
        <translation>%1 schlug fehl.</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 schlug fehl: %2</translation>
    </message>
    <message>
        <source>The keyring</source>
        <translation>Der Schlüsselbund</translation>
    </message>
    <message>
        <source>The keyring holds no password for %1 on %2.</source>
        <translation>Der Schlüsselbund enthält kein Passwort für %1 auf %2.</translation>
    </message>
    <message>
        <source>The keyring is locked; unlock it to let Tarvo read the password for %1 on %2.</source>
        <translation>Der Schlüsselbund ist gesperrt; entsperren Sie ihn, damit Tarvo das Passwort für %1 auf %2 lesen kann.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts</source>
        <translation>GNOME Online-Konten</translation>
    </message>
    <message>
        <source>GNOME Online Accounts has no mail account for %1.</source>
        <translation>GNOME Online-Konten hat kein E-Mail-Konto für %1.</translation>
    </message>
    <message>
        <source>The online account of %1 has neither a token nor a password to give.</source>
        <translation>Das Online-Konto von %1 kann weder ein Token noch ein Passwort liefern.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty secret for %1.</source>
        <translation>GNOME Online-Konten lieferte ein leeres Geheimnis für %1.</translation>
    </message>
    <message numerus="yes">
        <source>%1 did not answer within %n second(s).</source>
        <translation>
            <numerusform>%1 antwortete nicht innerhalb von %n Sekunde.</numerusform>
            <numerusform>%1 antwortete nicht innerhalb von %n Sekunden.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 did not answer within %2 ms.</source>
        <translation>%1 antwortete nicht innerhalb von %2 ms.</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>Tarvo cannot save its state: %1 is not a regular file.</source>
        <translation>Tarvo kann seinen Zustand nicht speichern: %1 ist keine reguläre Datei.</translation>
    </message>
</context>
<context>
    <name>TarvoResources</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Die Initialisierung der Sockets schlug fehl.</translation>
    </message>
</context>
<context>
    <name>TlsTransport</name>
    <message>
        <source>an unreadable date</source>
        <translation>ein unlesbares Datum</translation>
    </message>
    <message>
        <source>The certificate of %1 is refused: a name in it holds a NUL character, which could pass it off as another name.</source>
        <translation>Das Zertifikat von %1 wird abgelehnt: Ein Name darin enthält ein NUL-Zeichen, womit es sich als ein anderer Name ausgeben könnte.</translation>
    </message>
    <message>
        <source>The certificate names %1 only as a host name; an IP address must be in its subjectAltName.</source>
        <translation>Das Zertifikat nennt %1 nur als Hostnamen; eine IP-Adresse muss in seinem subjectAltName stehen.</translation>
    </message>
    <message>
        <source>The certificate is issued for %1, not %2.</source>
        <translation>Das Zertifikat ist für %1 ausgestellt, nicht für %2.</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>keinen Namen</translation>
    </message>
    <message>
        <source>The certificate of %1 has expired (%2).</source>
        <translation>Das Zertifikat von %1 ist abgelaufen (%2).</translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid before %2.</source>
        <translation>Das Zertifikat von %1 ist nicht vor %2 gültig.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts; if the server is yours, trust it with Certificate... in Servers... in the menu.</source>
        <translation>Das Zertifikat von %1 ist von keiner Zertifizierungsstelle signiert, der dieser Computer vertraut; ist es Ihr Server, vertrauen Sie ihm mit „Zertifikat...“ unter „Server...“ im Menü.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts.</source>
        <translation>Das Zertifikat von %1 ist von keiner Zertifizierungsstelle signiert, der dieser Computer vertraut.</translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified: %2.</source>
        <translation>Das Zertifikat von %1 konnte nicht überprüft werden: %2.</translation>
    </message>
    <message>
        <source>The secure connection could not be prepared on this computer.</source>
        <translation>Die gesicherte Verbindung konnte auf diesem Computer nicht vorbereitet werden.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account; it has been replaced since.</source>
        <translation>Das Zertifikat von %1 ist nicht das, dem dieses Konto vertraut; es wurde inzwischen ersetzt.</translation>
    </message>
    <message>
        <source>%1 closed the connection during the TLS handshake.</source>
        <translation>%1 schloss die Verbindung während des TLS-Handshakes.</translation>
    </message>
    <message>
        <source>%1 offers no TLS version from 1.2 on, the oldest still safe.</source>
        <translation>%1 bietet keine TLS-Version ab 1.2 an, der ältesten noch sicheren.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 failed: %2.</source>
        <translation>Der TLS-Handshake mit %1 schlug fehl: %2.</translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation>kein Grund angegeben</translation>
    </message>
    <message>
        <source>It was not verified: this account trusts one certificate by hand.</source>
        <translation>Es wurde nicht überprüft: Dieses Konto vertraut einem von Hand gewählten Zertifikat.</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Check now</source>
        <translation>Jetzt &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Read mail</source>
        <translation>E-Mails &amp;lesen</translation>
    </message>
    <message>
        <source>&amp;Headers...</source>
        <translation>&amp;Kopfzeilen...</translation>
    </message>
    <message>
        <source>&amp;Servers...</source>
        <translation>&amp;Server...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Stop check</source>
        <translation>Prüfung &amp;abbrechen</translation>
    </message>
</context>
<context>
    <name>TrayTip</name>
    <message>
        <source>No mailboxes to check</source>
        <translation>Keine Postfächer zu prüfen</translation>
    </message>
    <message>
        <source>Tarvo is empty</source>
        <translation>Tarvo ist leer</translation>
    </message>
    <message>
        <source>%1 failed. %2</source>
        <translation>%1 fehlgeschlagen. %2</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts failed. %1</source>
        <translation>
            <numerusform>%Ln Konto fehlgeschlagen. %1</numerusform>
            <numerusform>%Ln Konten fehlgeschlagen. %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You have %n unread message(s)</source>
        <translation>
            <numerusform>Sie haben %Ln ungelesene Nachricht</numerusform>
            <numerusform>Sie haben %Ln ungelesene Nachrichten</numerusform>
        </translation>
    </message>
    <message>
        <source>No unread messages</source>
        <translation>Keine ungelesenen Nachrichten</translation>
    </message>
    <message>
        <source>Error(s) occured</source>
        <translation>Fehler aufgetreten</translation>
    </message>
</context>
</TS>
