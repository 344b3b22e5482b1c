<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fi">
<context>
    <name>AboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation>Tietoja Tarvosta</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Thanks to...</source>
        <translation>Kiitokset...</translation>
    </message>
    <message>
        <source>Tarvo: multiple account mail checker
Made by Halvik
Version %1

Reports and suggestions to:
tarvo@example.org
More information:
https://example.org/tarvo</source>
        <translation>Tarvo: usean tilin postin tarkistin
Tekijä: Halvik
Versio %1

Vikailmoitukset ja ehdotukset:
tarvo@example.org
Lisätietoja:
https://example.org/tarvo</translation>
    </message>
    <message>
        <source>Thanks for their response and help to:</source>
        <translation>Kiitos palautteesta ja avusta:</translation>
    </message>
</context>
<context>
    <name>CertificateReview</name>
    <message>
        <source>Certificate</source>
        <translation>Varmenne</translation>
    </message>
    <message>
        <source>Server: %1
Subject: %2
Issuer: %3
Valid from %4 until %5
SHA-256: %6</source>
        <translation>Palvelin: %1
Kohde: %2
Myöntäjä: %3
Voimassa %4 – %5
SHA-256: %6</translation>
    </message>
    <message>
        <source>This account trusts another certificate now (SHA-256 %1).

</source>
        <translation>Tämä tili luottaa nyt toiseen varmenteeseen (SHA-256 %1).

</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

%3Trust exactly this certificate for this account? It is then accepted whoever issued it and whatever name it carries, and any other certificate is refused. No leaves the decision to the authorities this computer trusts.</source>
        <translation>Ei luotettu: %1

%2

%3Luotetaanko tällä tilillä juuri tähän varmenteeseen? Se hyväksytään silloin myöntäjästä ja nimestä riippumatta, ja kaikki muut varmenteet hylätään. Ei jättää päätöksen varmentajille, joihin tämä tietokone luottaa.</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

This account trusts exactly this certificate now.

Stop trusting it? The next checks then leave the decision to the authorities this computer trusts. No keeps it trusted.</source>
        <translation>Ei luotettu: %1

%2

Tämä tili luottaa nyt juuri tähän varmenteeseen.

Lopetetaanko luottaminen? Seuraavat tarkistukset jättävät silloin päätöksen varmentajille, joihin tämä tietokone luottaa. Ei säilyttää luottamuksen.</translation>
    </message>
    <message>
        <source>Trust this certificate also for the other accounts on this server: %1?</source>
        <translation>Luotetaanko tähän varmenteeseen myös tämän palvelimen muilla tileillä: %1?</translation>
    </message>
    <message>
        <source>Fetching the certificate of %1...</source>
        <translation>Haetaan palvelimen %1 varmennetta...</translation>
    </message>
    <message>
        <source>This certificate is trusted by this computer; nothing to add.

</source>
        <translation>Tämä tietokone luottaa tähän varmenteeseen; lisättävää ei ole.

</translation>
    </message>
    <message>
        <source>

This account also trusts one certificate by hand (SHA-256 %1). Leave the decision to the authorities this computer trusts instead?</source>
        <translation>

Tämä tili luottaa lisäksi käsin valittuun varmenteeseen (SHA-256 %1). Jätetäänkö päätös sen sijaan varmentajille, joihin tämä tietokone luottaa?</translation>
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
        <translation>(virhe yhdistettäessä palvelimeen %1)</translation>
    </message>
    <message>
        <source> The server&apos;s list of unique-ids (UIDL) broke off, so the next checks of this mailbox go without it and fetch every header.</source>
        <translation> Palvelimen yksilöllisten tunnisteiden luettelo (UIDL) katkesi, joten tämän postilaatikon seuraavat tarkistukset tehdään ilman sitä ja kaikki otsakkeet haetaan.</translation>
    </message>
    <message numerus="yes">
        <source>Retrieving %n header(s) from %1...</source>
        <translation>
            <numerusform>Haetaan %n otsake palvelimelta %1...</numerusform>
            <numerusform>Haetaan %n otsaketta palvelimelta %1...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(error retrieving %n message header(s))</source>
        <translation>
            <numerusform>(virhe haettaessa %n viestin otsaketta)</numerusform>
            <numerusform>(virhe haettaessa %n viestin otsakkeita)</numerusform>
        </translation>
    </message>
    <message>
        <source>Contacting %1...</source>
        <translation>Yhdistetään palvelimeen %1...</translation>
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
        <translation>Käyttö: tarvo [--check [--json]]
Valvoo POP3- ja IMAP-postilaatikoita ilmoitusalueen kuvakkeesta.

  --check     tarkista jokainen määritetty tili kerran, tulosta rivi tiliä
              kohden ja yhteismäärä, ja lopeta
  --json      yhdessä --check-valitsimen kanssa: tulosta sen sijaan JSON-olio
  --help      näytä tämä ohje ja lopeta
  --version   näytä versio ja lopeta

--check-valitsimen paluuarvo: 0 kaikki tilit tarkistettiin, 1 jokin tili
epäonnistui, 2 käyttö- tai asetusvirhe.
</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s)</source>
        <translation>
            <numerusform>%n viesti</numerusform>
            <numerusform>%n viestiä</numerusform>
        </translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>virhe: %1</translation>
    </message>
    <message numerus="yes">
        <source>Total: %n message(s)</source>
        <translation>
            <numerusform>Yhteensä: %n viesti</numerusform>
            <numerusform>Yhteensä: %n viestiä</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %1 of %n account(s) failed</source>
        <translation>
            <numerusform>, %1/%n tili epäonnistui</numerusform>
            <numerusform>, %1/%n tiliä epäonnistui</numerusform>
        </translation>
    </message>
    <message>
        <source>the settings file %1 cannot be read whole; it was left as it is</source>
        <translation>asetustiedostoa %1 ei voi lukea kokonaan; se jätettiin ennalleen</translation>
    </message>
    <message>
        <source>No mailboxes to check in %1</source>
        <translation>Ei tarkistettavia postilaatikoita tiedostossa %1</translation>
    </message>
    <message>
        <source>unknown argument &apos;%1&apos;</source>
        <translation>tuntematon argumentti ”%1”</translation>
    </message>
    <message>
        <source>--json goes with --check</source>
        <translation>--json käytetään yhdessä --check-valitsimen kanssa</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>1 new message</source>
        <translation>1 uusi viesti</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>%1 uutta viestiä</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>ja %1 muuta</translation>
    </message>
    <message>
        <source>Show headers</source>
        <translation>Näytä otsakkeet</translation>
    </message>
    <message>
        <source>Read mail</source>
        <translation>Lue postia</translation>
    </message>
</context>
<context>
    <name>FetchingWindow</name>
    <message>
        <source>Cancel</source>
        <translation>Peru</translation>
    </message>
</context>
<context>
    <name>FolderChoice</name>
    <message>
        <source>Folders</source>
        <translation>Kansiot</translation>
    </message>
    <message>
        <source>Fetching the folders of %1...</source>
        <translation>Haetaan palvelimen %1 kansioita...</translation>
    </message>
    <message>
        <source>Watch these folders of %1:</source>
        <translation>Valvo näitä palvelimen %1 kansioita:</translation>
    </message>
    <message>
        <source> (not listed)</source>
        <translation> (ei luettelossa)</translation>
    </message>
</context>
<context>
    <name>HeaderBlock</name>
    <message>
        <source>(untitled)</source>
        <translation>(ei aihetta)</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(tuntematon)</translation>
    </message>
</context>
<context>
    <name>HeadersDlg</name>
    <message>
        <source>Read mail</source>
        <translation>Lue postia</translation>
    </message>
    <message>
        <source>No new messages.</source>
        <translation>Ei uusia viestejä.</translation>
    </message>
    <message>
        <source>%1 new message(s), %2 pending, %3 error(s)</source>
        <translation>Uusia: %1, odottavia: %2, virheitä: %3</translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation>Viestin otsake</translation>
    </message>
</context>
<context>
    <name>HeadersModel</name>
    <message>
        <source>Subject</source>
        <translation>Aihe</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Lähettäjä</translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation>Postilaatikko</translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response that cannot be read</source>
        <translation>%1 lähetti vastauksen, jota ei voi lukea</translation>
    </message>
    <message>
        <source>%1 announced %2 bytes in one piece, more than the %3 bytes allowed.</source>
        <translation>%1 ilmoitti %2 tavua yhtenä osana, enemmän kuin sallitut %3 tavua.</translation>
    </message>
    <message>
        <source>%1 sent a response of more than %2 bytes or %3 values.</source>
        <translation>%1 lähetti vastauksen, jossa on yli %2 tavua tai %3 arvoa.</translation>
    </message>
    <message>
        <source>%1 answered a command that was never sent</source>
        <translation>%1 vastasi komentoon, jota ei koskaan lähetetty</translation>
    </message>
    <message>
        <source>%1 ended the conversation</source>
        <translation>%1 lopetti yhteyden</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes in answer to one command.</source>
        <translation>%1 lähetti yli %2 tavua vastauksena yhteen komentoon.</translation>
    </message>
    <message>
        <source>%1 asked for more of a command that was complete</source>
        <translation>%1 pyysi jatkoa komentoon, joka oli jo valmis</translation>
    </message>
    <message>
        <source>The server would not open the folder %1</source>
        <translation>Palvelin ei avannut kansiota %1</translation>
    </message>
    <message>
        <source>%1 listed more unseen messages than the folder %2 holds.</source>
        <translation>%1 luetteli enemmän lukemattomia viestejä kuin kansiossa %2 on.</translation>
    </message>
    <message>
        <source>%1 sent a search result that cannot be read</source>
        <translation>%1 lähetti hakutuloksen, jota ei voi lukea</translation>
    </message>
    <message>
        <source>The server would not search for unseen messages</source>
        <translation>Palvelin ei hakenut lukemattomia viestejä</translation>
    </message>
    <message>
        <source>The server would not give the headers</source>
        <translation>Palvelin ei antanut otsakkeita</translation>
    </message>
    <message>
        <source>The server would not list its folders</source>
        <translation>Palvelin ei luetellut kansioitaan</translation>
    </message>
    <message>
        <source>The server would not report changes to the folders</source>
        <translation>Palvelin ei ilmoittanut kansioiden muutoksista</translation>
    </message>
    <message>
        <source>The server would not wait for new mail</source>
        <translation>Palvelin ei odottanut uutta postia</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes while Tarvo waited for new mail.</source>
        <translation>%1 lähetti yli %2 tavua, kun Tarvo odotti uutta postia.</translation>
    </message>
    <message>
        <source>The server stopped waiting for new mail</source>
        <translation>Palvelin lopetti uuden postin odottamisen</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>Palvelin hylkäsi yhteyden</translation>
    </message>
    <message>
        <source>%1 greeted the connection as signed in already, where STARTTLS can no longer be asked: someone may be keeping it in clear text. Nothing was sent.</source>
        <translation>%1 tervehti yhteyttä jo kirjautuneena, jolloin STARTTLS:ää ei voi enää pyytää: joku saattaa pitää yhteyden salaamattomana. Mitään ei lähetetty.</translation>
    </message>
    <message>
        <source>The server refused to list its capabilities</source>
        <translation>Palvelin kieltäytyi luettelemasta ominaisuuksiaan</translation>
    </message>
    <message>
        <source>%1 takes no password over this connection (it lists LOGINDISABLED); the password was not sent. Choose SSL/TLS or STARTTLS for the account.</source>
        <translation>%1 ei ota vastaan salasanaa tämän yhteyden kautta (se ilmoittaa LOGINDISABLED); salasanaa ei lähetetty. Valitse tilille SSL/TLS tai STARTTLS.</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Palvelin hylkäsi kirjautumisen</translation>
    </message>
</context>
<context>
    <name>MailConversation</name>
    <message>
        <source>The check was stopped.</source>
        <translation>Tarkistus keskeytettiin.</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 sekuntia</translation>
    </message>
    <message>
        <source>%1 with an empty reply.</source>
        <translation>%1, tyhjällä vastauksella.</translation>
    </message>
    <message>
        <source>%1; its reply is left out, as it would show the %2 or part of it.</source>
        <translation>%1; sen vastaus jätetään pois, koska se näyttäisi kohteen %2 tai osan siitä.</translation>
    </message>
    <message>
        <source>No reply from %1 within %2.</source>
        <translation>Ei vastausta palvelimelta %1 ajassa %2.</translation>
    </message>
    <message>
        <source>%1 sent less than %2 bytes in %3.</source>
        <translation>%1 lähetti alle %2 tavua ajassa %3.</translation>
    </message>
    <message>
        <source>The conversation with %1 took longer than %2.</source>
        <translation>Yhteys palvelimeen %1 kesti yli %2.</translation>
    </message>
    <message>
        <source>%1 sent a line longer than %2 bytes.</source>
        <translation>%1 lähetti yli %2 tavun pituisen rivin.</translation>
    </message>
    <message>
        <source>The connection to %1 broke off.</source>
        <translation>Yhteys palvelimeen %1 katkesi.</translation>
    </message>
    <message>
        <source>The headers on %1 add up to more than %2 bytes.</source>
        <translation>Palvelimen %1 otsakkeet ovat yhteensä yli %2 tavua.</translation>
    </message>
    <message>
        <source>This account uses no connection security, so its server shows no certificate.</source>
        <translation>Tämä tili ei käytä yhteyden suojausta, joten sen palvelin ei näytä varmennetta.</translation>
    </message>
    <message>
        <source>An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or STARTTLS for it. Nothing was sent.</source>
        <translation>OAuth 2.0 -tili kirjautuu vain suojatun yhteyden kautta: valitse sille SSL/TLS tai STARTTLS. Mitään ei lähetetty.</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>käyttöoikeustunnus</translation>
    </message>
    <message>
        <source>password</source>
        <translation>salasana</translation>
    </message>
    <message>
        <source>The user name or %1 holds a line break or a NUL byte; nothing was sent.</source>
        <translation>Käyttäjänimessä tai kohteessa %1 on rivinvaihto tai NUL-tavu; mitään ei lähetetty.</translation>
    </message>
    <message>
        <source>The server name %1 is not valid.</source>
        <translation>Palvelimen nimi %1 ei kelpaa.</translation>
    </message>
    <message>
        <source>Could not resolve %1.</source>
        <translation>Nimeä %1 ei voitu selvittää.</translation>
    </message>
    <message>
        <source>%1 refused the connection.</source>
        <translation>%1 hylkäsi yhteyden.</translation>
    </message>
    <message>
        <source>No answer from %1 within %2.</source>
        <translation>Ei vastausta kohteesta %1 ajassa %2.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 did not end within %2.</source>
        <translation>TLS-kättely palvelimen %1 kanssa ei päättynyt ajassa %2.</translation>
    </message>
    <message>
        <source>The server refused STARTTLS</source>
        <translation>Palvelin hylkäsi STARTTLS:n</translation>
    </message>
    <message>
        <source> The %1 was not sent.</source>
        <translation> Kohdetta %1 ei lähetetty.</translation>
    </message>
    <message>
        <source>The server offers no STARTTLS; the %1 was not sent.</source>
        <translation>Palvelin ei tarjoa STARTTLS:ää; kohdetta %1 ei lähetetty.</translation>
    </message>
    <message>
        <source>The server sent more than its answer to STARTTLS, which is how an attacker would slip in false replies; the %1 was not sent.</source>
        <translation>Palvelin lähetti enemmän kuin vastauksensa STARTTLS:ään, kuten hyökkääjä tekisi ujuttaakseen vääriä vastauksia; kohdetta %1 ei lähetetty.</translation>
    </message>
    <message>
        <source>%1 no longer offers %2, with which this account signed in before, so the password was not sent another way: someone may be tampering with the connection. If the server&apos;s sign-in really changed, change the account&apos;s sign-in method.</source>
        <translation>%1 ei enää tarjoa menetelmää %2, jolla tämä tili kirjautui aiemmin, joten salasanaa ei lähetetty muulla tavalla: joku saattaa peukaloida yhteyttä. Jos palvelimen kirjautuminen todella muuttui, vaihda tilin kirjautumistapa.</translation>
    </message>
    <message>
        <source>%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; no token was sent.</source>
        <translation>%1 ei tarjoa OAUTHBEARERia eikä XOAUTH2:ta, joten OAuth 2.0 -tili ei voi kirjautua sinne; tunnusta ei lähetetty.</translation>
    </message>
    <message>
        <source>The server refused the access token, and a fresh one too</source>
        <translation>Palvelin hylkäsi käyttöoikeustunnuksen ja myös uuden</translation>
    </message>
    <message>
        <source>The server refused the access token</source>
        <translation>Palvelin hylkäsi käyttöoikeustunnuksen</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Palvelin hylkäsi kirjautumisen</translation>
    </message>
    <message>
        <source>The server refused the login with %1</source>
        <translation>Palvelin hylkäsi kirjautumisen menetelmällä %1</translation>
    </message>
    <message>
        <source> If the password is right, Password only signs in without %1.</source>
        <translation> Jos salasana on oikein, ”Vain salasana” kirjautuu ilman menetelmää %1.</translation>
    </message>
    <message>
        <source>%1 could not prove that it knows the password, so someone may be impersonating it; the conversation was ended.</source>
        <translation>%1 ei pystynyt osoittamaan tuntevansa salasanaa, joten joku saattaa esiintyä sinä; yhteys lopetettiin.</translation>
    </message>
    <message>
        <source>%1 sent a %2 challenge that cannot be read; the conversation was ended.</source>
        <translation>%1 lähetti %2-haasteen, jota ei voi lukea; yhteys lopetettiin.</translation>
    </message>
    <message>
        <source>%1 asks %2 to hash the password %3%4 times, more than the %5 allowed; the sign-in was ended before any was computed.</source>
        <translation>%1 pyytää menetelmää %2 tiivistämään salasanan %3%4 kertaa, enemmän kuin sallitut %5; kirjautuminen lopetettiin ennen laskentaa.</translation>
    </message>
    <message>
        <source>The access token holds characters no bearer token has, or the user name holds control characters; it was not sent.</source>
        <translation>Käyttöoikeustunnuksessa on merkkejä, joita haltijatunnuksessa ei ole, tai käyttäjänimessä on ohjausmerkkejä; sitä ei lähetetty.</translation>
    </message>
    <message>
        <source>The password is no valid UTF-8 text, which %1 needs; it was not sent. Password only signs in with it as it is.</source>
        <translation>Salasana ei ole kelvollista UTF-8-tekstiä, jota %1 tarvitsee; sitä ei lähetetty. ”Vain salasana” kirjautuu sillä sellaisenaan.</translation>
    </message>
    <message>
        <source>%1 closed the connection.</source>
        <translation>%1 sulki yhteyden.</translation>
    </message>
</context>
<context>
    <name>MailProgram</name>
    <message>
        <source>&quot;%1&quot; is not there or is not executable.</source>
        <translation>”%1” puuttuu tai ei ole suoritettava.</translation>
    </message>
    <message>
        <source>No mail program is chosen in Options, and the desktop has no default mail client.</source>
        <translation>Asetuksissa ei ole valittu sähköpostiohjelmaa, eikä työpöydällä ole oletussähköpostiohjelmaa.</translation>
    </message>
    <message>
        <source>no reason was given</source>
        <translation>syytä ei annettu</translation>
    </message>
    <message>
        <source>The mail program could not be started: %1</source>
        <translation>Sähköpostiohjelmaa ei voitu käynnistää: %1</translation>
    </message>
</context>
<context>
    <name>MailboxesDlg</name>
    <message>
        <source>POP3 Server:</source>
        <translation>POP3-palvelin:</translation>
    </message>
    <message>
        <source>Folders...</source>
        <translation>Kansiot...</translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation>Postilaatikot</translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation>&amp;Protokolla:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Lisää</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Valmis</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Käyttäjänimi:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Salasana:</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Poista</translation>
    </message>
    <message>
        <source>Connection security:</source>
        <translation>Yhteyden suojaus:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ei mitään</translation>
    </message>
    <message>
        <source>Certificate...</source>
        <translation>Varmenne...</translation>
    </message>
    <message>
        <source>Sign-&amp;in:</source>
        <translation>&amp;Kirjautuminen:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automaattinen</translation>
    </message>
    <message>
        <source>Password only</source>
        <translation>Vain salasana</translation>
    </message>
    <message>
        <source>Password &amp;from:</source>
        <translation>Salasanan &amp;lähde:</translation>
    </message>
    <message>
        <source>This file</source>
        <translation>Tämä tiedosto</translation>
    </message>
    <message>
        <source>Keyring</source>
        <translation>Avainnippu</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Komento</translation>
    </message>
    <message>
        <source>Online account</source>
        <translation>Verkkotili</translation>
    </message>
    <message>
        <source>command printing it</source>
        <translation>tulostava komento</translation>
    </message>
    <message>
        <source>F&amp;olders:</source>
        <translation>K&amp;ansiot:</translation>
    </message>
    <message>
        <source>Configured servers</source>
        <translation>Määritetyt palvelimet</translation>
    </message>
    <message numerus="yes">
        <source>%n server(s) to check</source>
        <translation>
            <numerusform>%n tarkistettava palvelin</numerusform>
            <numerusform>%n tarkistettavaa palvelinta</numerusform>
        </translation>
    </message>
    <message>
        <source>No servers to check</source>
        <translation>Ei tarkistettavia palvelimia</translation>
    </message>
    <message>
        <source>kept in the keyring</source>
        <translation>tallessa avainnipussa</translation>
    </message>
    <message>
        <source>IMAP Server:</source>
        <translation>IMAP-palvelin:</translation>
    </message>
    <message>
        <source>No keyring is at hand.</source>
        <translation>Avainnippua ei ole käytettävissä.</translation>
    </message>
    <message>
        <source>Waiting for the keyring to take the password of %1...</source>
        <translation>Odotetaan, että avainnippu ottaa tilin %1 salasanan...</translation>
    </message>
    <message>
        <source>The keyring did not take the password of %1:
%2

Keep the password in Tarvo&apos;s settings file instead?</source>
        <translation>Avainnippu ei ottanut tilin %1 salasanaa:
%2

Säilytetäänkö salasana sen sijaan Tarvon asetustiedostossa?</translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing?</source>
        <translation>Tallennetaanko tilin %1 muutokset ennen sulkemista?</translation>
    </message>
    <message>
        <source>Add %1 before closing?</source>
        <translation>Lisätäänkö %1 ennen sulkemista?</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>Varmenne</translation>
    </message>
    <message>
        <source>Select a server in the list first.</source>
        <translation>Valitse ensin palvelin luettelosta.</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Kansiot</translation>
    </message>
    <message>
        <source>Type the server&apos;s name first.</source>
        <translation>Kirjoita ensin palvelimen nimi.</translation>
    </message>
</context>
<context>
    <name>MessageTable</name>
    <message>
        <source>This message&apos;s header is not kept in memory: Tarvo keeps the headers of the newest messages of a large mailbox only.</source>
        <translation>Tämän viestin otsaketta ei pidetä muistissa: suuresta postilaatikosta Tarvo säilyttää vain uusimpien viestien otsakkeet.</translation>
    </message>
</context>
<context>
    <name>OptionsDlg</name>
    <message>
        <source>Play notification sound</source>
        <translation>Soita ilmoitusääni</translation>
    </message>
    <message>
        <source>Show message headers</source>
        <translation>Näytä viestien otsakkeet</translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation>Näytä työpöytäilmoitus</translation>
    </message>
    <message>
        <source>Start at log-in</source>
        <translation>Käynnistä kirjauduttaessa</translation>
    </message>
    <message>
        <source>Show new IMAP mail at once (push)</source>
        <translation>Näytä uusi IMAP-posti heti (push)</translation>
    </message>
    <message>
        <source>Tarvo options</source>
        <translation>Tarvon asetukset</translation>
    </message>
    <message>
        <source>Desktop&apos;s default</source>
        <translation>Työpöydän oletus</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Peru</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Tarkistus</translation>
    </message>
    <message>
        <source>On new mail</source>
        <translation>Uuden postin tullessa</translation>
    </message>
    <message>
        <source>Read mail with</source>
        <translation>Lue posti ohjelmalla</translation>
    </message>
    <message>
        <source>Check every</source>
        <translation>Tarkista</translation>
    </message>
    <message>
        <source>minutes for new messages</source>
        <translation>minuutin välein uudet viestit</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Anna kokonaisluku.</translation>
    </message>
</context>
<context>
    <name>Pop3Connection</name>
    <message>
        <source>The server did not give the number of messages</source>
        <translation>Palvelin ei antanut viestien määrää</translation>
    </message>
    <message>
        <source>The server gave no number of messages that a mailbox can hold</source>
        <translation>Palvelin ei antanut viestimäärää, joka postilaatikossa voi olla</translation>
    </message>
    <message>
        <source>%1 answered %2 with neither +OK nor -ERR</source>
        <translation>%1 vastasi komentoon %2 ilman +OK:ta tai -ERR:ää</translation>
    </message>
    <message>
        <source>The header of message %1 is larger than %2 bytes.</source>
        <translation>Viestin %1 otsake on yli %2 tavua.</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>Palvelin hylkäsi yhteyden</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Palvelin hylkäsi kirjautumisen</translation>
    </message>
    <message>
        <source>%1 sent a capability list longer than %2 lines or %3 bytes.</source>
        <translation>%1 lähetti ominaisuusluettelon, jossa on yli %2 riviä tai %3 tavua.</translation>
    </message>
    <message>
        <source>The unique-id listing of %1 is larger than %2 bytes.</source>
        <translation>Palvelimen %1 yksilöllisten tunnisteiden luettelo on yli %2 tavua.</translation>
    </message>
</context>
<context>
    <name>Secrets</name>
    <message>
        <source>The password command</source>
        <translation>Salasanakomento</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1.</source>
        <translation>Salasanakomento päättyi signaaliin %1.</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1: %2</source>
        <translation>Salasanakomento päättyi signaaliin %1: %2</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1.</source>
        <translation>Salasanakomento epäonnistui paluuarvolla %1.</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1: %2</source>
        <translation>Salasanakomento epäonnistui paluuarvolla %1: %2</translation>
    </message>
    <message>
        <source>No password command is set for this account.</source>
        <translation>Tälle tilille ei ole asetettu salasanakomentoa.</translation>
    </message>
    <message>
        <source>The password command was stopped.</source>
        <translation>Salasanakomento keskeytettiin.</translation>
    </message>
    <message>
        <source>The password command could not be started: %1</source>
        <translation>Salasanakomentoa ei voitu käynnistää: %1</translation>
    </message>
    <message>
        <source>The password command printed a first line longer than 64 KiB.</source>
        <translation>Salasanakomento tulosti yli 64 KiB pitkän ensimmäisen rivin.</translation>
    </message>
    <message>
        <source>The password command printed nothing.</source>
        <translation>Salasanakomento ei tulostanut mitään.</translation>
    </message>
    <message>
        <source>%1 cannot be reached: no session bus is running.</source>
        <translation>%1 ei ole tavoitettavissa: istuntoväylä ei ole käynnissä.</translation>
    </message>
    <message>
        <source>%1 was not asked to the end: the check was stopped.</source>
        <translation>Kysely kohteelle %1 jäi kesken: tarkistus keskeytettiin.</translation>
    </message>
    <message>
        <source>%1 failed.</source>
        <translation>%1 epäonnistui.</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 epäonnistui: %2</translation>
    </message>
    <message>
        <source>The keyring</source>
        <translation>Avainnippu</translation>
    </message>
    <message>
        <source>The keyring holds no password for %1 on %2.</source>
        <translation>Avainnipussa ei ole salasanaa käyttäjälle %1 palvelimella %2.</translation>
    </message>
    <message>
        <source>The keyring is locked; unlock it to let Tarvo read the password for %1 on %2.</source>
        <translation>Avainnippu on lukittu; avaa se, jotta Tarvo voi lukea käyttäjän %1 salasanan palvelimella %2.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts</source>
        <translation>GNOMEn verkkotilit</translation>
    </message>
    <message>
        <source>GNOME Online Accounts has no mail account for %1.</source>
        <translation>GNOMEn verkkotileillä ei ole sähköpostitiliä käyttäjälle %1.</translation>
    </message>
    <message>
        <source>The online account of %1 has neither a token nor a password to give.</source>
        <translation>Käyttäjän %1 verkkotilillä ei ole annettavana tunnusta eikä salasanaa.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty secret for %1.</source>
        <translation>GNOMEn verkkotilit antoi tyhjän salaisuuden käyttäjälle %1.</translation>
    </message>
    <message numerus="yes">
        <source>%1 did not answer within %n second(s).</source>
        <translation>
            <numerusform>%1 ei vastannut %n sekunnissa.</numerusform>
            <numerusform>%1 ei vastannut %n sekunnissa.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 did not answer within %2 ms.</source>
        <translation>%1 ei vastannut %2 ms:ssa.</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>Tarvo cannot save its state: %1 is not a regular file.</source>
        <translation>Tarvo ei voi tallentaa tilaansa: %1 ei ole tavallinen tiedosto.</translation>
    </message>
</context>
<context>
    <name>TarvoResources</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Pistokkeiden alustus epäonnistui.</translation>
    </message>
</context>
<context>
    <name>TlsTransport</name>
    <message>
        <source>an unreadable date</source>
        <translation>lukukelvoton päiväys</translation>
    </message>
    <message>
        <source>The certificate of %1 is refused: a name in it holds a NUL character, which could pass it off as another name.</source>
        <translation>Palvelimen %1 varmenne hylätään: siinä olevassa nimessä on NUL-merkki, jolla se voisi esiintyä toisena nimenä.</translation>
    </message>
    <message>
        <source>The certificate names %1 only as a host name; an IP address must be in its subjectAltName.</source>
        <translation>Varmenne nimeää kohteen %1 vain konenimenä; IP-osoitteen on oltava sen subjectAltName-kentässä.</translation>
    </message>
    <message>
        <source>The certificate is issued for %1, not %2.</source>
        <translation>Varmenne on myönnetty kohteelle %1, ei kohteelle %2.</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>ei nimeä</translation>
    </message>
    <message>
        <source>The certificate of %1 has expired (%2).</source>
        <translation>Palvelimen %1 varmenne on vanhentunut (%2).</translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid before %2.</source>
        <translation>Palvelimen %1 varmenne ei ole voimassa ennen päiväystä %2.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts; if the server is yours, trust it with Certificate... in Servers... in the menu.</source>
        <translation>Palvelimen %1 varmennetta ei ole allekirjoittanut varmentaja, johon tämä tietokone luottaa; jos palvelin on omasi, luota siihen valikon Palvelimet...-ikkunan Varmenne...-painikkeella.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts.</source>
        <translation>Palvelimen %1 varmennetta ei ole allekirjoittanut varmentaja, johon tämä tietokone luottaa.</translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified: %2.</source>
        <translation>Palvelimen %1 varmennetta ei voitu tarkistaa: %2.</translation>
    </message>
    <message>
        <source>The secure connection could not be prepared on this computer.</source>
        <translation>Suojattua yhteyttä ei voitu valmistella tällä tietokoneella.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account; it has been replaced since.</source>
        <translation>Palvelimen %1 varmenne ei ole se, johon tämä tili luottaa; se on sittemmin vaihdettu.</translation>
    </message>
    <message>
        <source>%1 closed the connection during the TLS handshake.</source>
        <translation>%1 sulki yhteyden TLS-kättelyn aikana.</translation>
    </message>
    <message>
        <source>%1 offers no TLS version from 1.2 on, the oldest still safe.</source>
        <translation>%1 ei tarjoa TLS-versiota 1.2:sta alkaen, joka on vanhin yhä turvallinen.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 failed: %2.</source>
        <translation>TLS-kättely palvelimen %1 kanssa epäonnistui: %2.</translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation>syytä ei annettu</translation>
    </message>
    <message>
        <source>It was not verified: this account trusts one certificate by hand.</source>
        <translation>Sitä ei tarkistettu: tämä tili luottaa käsin valittuun varmenteeseen.</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Check now</source>
        <translation>&amp;Tarkista nyt</translation>
    </message>
    <message>
        <source>&amp;Read mail</source>
        <translation>&amp;Lue postia</translation>
    </message>
    <message>
        <source>&amp;Headers...</source>
        <translation>&amp;Otsakkeet...</translation>
    </message>
    <message>
        <source>&amp;Servers...</source>
        <translation>&amp;Palvelimet...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Asetukset...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>T&amp;ietoja...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Lop&amp;eta</translation>
    </message>
    <message>
        <source>&amp;Stop check</source>
        <translation>&amp;Keskeytä tarkistus</translation>
    </message>
</context>
<context>
    <name>TrayTip</name>
    <message>
        <source>No mailboxes to check</source>
        <translation>Ei tarkistettavia postilaatikoita</translation>
    </message>
    <message>
        <source>Tarvo is empty</source>
        <translation>Tarvo on tyhjä</translation>
    </message>
    <message>
        <source>%1 failed. %2</source>
        <translation>Epäonnistui: %1. %2</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts failed. %1</source>
        <translation>
            <numerusform>%Ln tili epäonnistui. %1</numerusform>
            <numerusform>%Ln tiliä epäonnistui. %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You have %n unread message(s)</source>
        <translation>
            <numerusform>Sinulla on %Ln lukematon viesti</numerusform>
            <numerusform>Sinulla on %Ln lukematonta viestiä</numerusform>
        </translation>
    </message>
    <message>
        <source>No unread messages</source>
        <translation>Ei lukemattomia viestejä</translation>
    </message>
    <message>
        <source>Error(s) occured</source>
        <translation>Tapahtui virheitä</translation>
    </message>
</context>
</TS>
