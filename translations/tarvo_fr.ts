<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation>À propos de Tarvo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Thanks to...</source>
        <translation>Remerciements...</translation>
    </message>
    <message>
        <source>Tarvo: multiple account mail checker
Made by Halvik
Version %1

Reports and suggestions to:
tarvo@example.org
More information:
https://example.org/tarvo</source>
        <translation>Tarvo : vérification du courrier de plusieurs comptes
Par Halvik
Version %1

Rapports et suggestions à :
tarvo@example.org
Plus d&apos;informations :
https://example.org/tarvo</translation>
    </message>
    <message>
        <source>Thanks for their response and help to:</source>
        <translation>Merci pour leurs retours et leur aide à :</translation>
    </message>
</context>
<context>
    <name>CertificateReview</name>
    <message>
        <source>Certificate</source>
        <translation>Certificat</translation>
    </message>
    <message>
        <source>Server: %1
Subject: %2
Issuer: %3
Valid from %4 until %5
SHA-256: %6</source>
        <translation>Serveur : %1
Sujet : %2
Émetteur : %3
Valide du %4 au %5
SHA-256 : %6</translation>
    </message>
    <message>
        <source>This account trusts another certificate now (SHA-256 %1).

</source>
        <translation>Ce compte fait actuellement confiance à un autre certificat (SHA-256 %1).

</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

%3Trust exactly this certificate for this account? It is then accepted whoever issued it and whatever name it carries, and any other certificate is refused. No leaves the decision to the authorities this computer trusts.</source>
        <translation>Non approuvé : %1

%2

%3Faire confiance exactement à ce certificat pour ce compte ? Il sera alors accepté quel que soit son émetteur et le nom qu&apos;il porte, et tout autre certificat sera refusé. Non laisse la décision aux autorités de certification auxquelles cet ordinateur fait confiance.</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

This account trusts exactly this certificate now.

Stop trusting it? The next checks then leave the decision to the authorities this computer trusts. No keeps it trusted.</source>
        <translation>Non approuvé : %1

%2

Ce compte fait actuellement confiance exactement à ce certificat.

Ne plus lui faire confiance ? Les prochaines vérifications laisseront alors la décision aux autorités de certification auxquelles cet ordinateur fait confiance. Non conserve la confiance.</translation>
    </message>
    <message>
        <source>Trust this certificate also for the other accounts on this server: %1?</source>
        <translation>Faire aussi confiance à ce certificat pour les autres comptes de ce serveur : %1 ?</translation>
    </message>
    <message>
        <source>Fetching the certificate of %1...</source>
        <translation>Récupération du certificat de %1...</translation>
    </message>
    <message>
        <source>This certificate is trusted by this computer; nothing to add.

</source>
        <translation>Cet ordinateur fait confiance à ce certificat ; rien à ajouter.

</translation>
    </message>
    <message>
        <source>

This account also trusts one certificate by hand (SHA-256 %1). Leave the decision to the authorities this computer trusts instead?</source>
        <translation>

Ce compte fait aussi confiance à un certificat choisi à la main (SHA-256 %1). Laisser plutôt la décision aux autorités de certification auxquelles cet ordinateur fait confiance ?</translation>
    </message>
    <message>
        <source>d MMM yyyy</source>
        <extracomment>A date as QDate::toString() takes it, with the month in digits (M, MM).</extracomment>
        <translation>dd/MM/yyyy</translation>
    </message>
</context>
<context>
    <name>CheckCycle</name>
    <message>
        <source>(error contacting %1)</source>
        <translation>(erreur de connexion à %1)</translation>
    </message>
    <message>
        <source> The server&apos;s list of unique-ids (UIDL) broke off, so the next checks of this mailbox go without it and fetch every header.</source>
        <translation> La liste des identifiants uniques (UIDL) du serveur s&apos;est interrompue : les prochaines vérifications de cette boîte aux lettres s&apos;en passeront et récupéreront tous les en-têtes.</translation>
    </message>
    <message numerus="yes">
        <source>Retrieving %n header(s) from %1...</source>
        <translation>
            <numerusform>Récupération de %n en-tête depuis %1...</numerusform>
            <numerusform>Récupération de %n en-têtes depuis %1...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(error retrieving %n message header(s))</source>
        <translation>
            <numerusform>(erreur lors de la récupération de %n en-tête)</numerusform>
            <numerusform>(erreur lors de la récupération de %n en-têtes)</numerusform>
        </translation>
    </message>
    <message>
        <source>Contacting %1...</source>
        <translation>Connexion à %1...</translation>
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
        <translation>Utilisation : tarvo [--check [--json]]
Surveille des boîtes aux lettres POP3 et IMAP depuis une icône de la zone de notification.

  --check     vérifier une fois chaque compte configuré, afficher une ligne
              par compte et le total, puis terminer
  --json      avec --check : afficher plutôt un objet JSON
  --help      afficher cette aide et terminer
  --version   afficher la version et terminer

Code de sortie de --check : 0 tous les comptes ont été vérifiés, 1 un compte
a échoué, 2 une erreur d&apos;utilisation ou de configuration.
</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s)</source>
        <translation>
            <numerusform>%n message</numerusform>
            <numerusform>%n messages</numerusform>
        </translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>erreur : %1</translation>
    </message>
    <message numerus="yes">
        <source>Total: %n message(s)</source>
        <translation>
            <numerusform>Total : %n message</numerusform>
            <numerusform>Total : %n messages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %1 of %n account(s) failed</source>
        <translation>
            <numerusform>, échec pour %1 compte sur %n</numerusform>
            <numerusform>, échec pour %1 comptes sur %n</numerusform>
        </translation>
    </message>
    <message>
        <source>the settings file %1 cannot be read whole; it was left as it is</source>
        <translation>le fichier de configuration %1 ne peut pas être lu entièrement ; il a été laissé tel quel</translation>
    </message>
    <message>
        <source>No mailboxes to check in %1</source>
        <translation>Aucune boîte aux lettres à vérifier dans %1</translation>
    </message>
    <message>
        <source>unknown argument &apos;%1&apos;</source>
        <translation>argument inconnu « %1 »</translation>
    </message>
    <message>
        <source>--json goes with --check</source>
        <translation>--json s&apos;utilise avec --check</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>1 new message</source>
        <translation>1 nouveau message</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>%1 nouveaux messages</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>et %1 de plus</translation>
    </message>
    <message>
        <source>Show headers</source>
        <translation>Afficher les en-têtes</translation>
    </message>
    <message>
        <source>Read mail</source>
        <translation>Lire le courrier</translation>
    </message>
</context>
<context>
    <name>FetchingWindow</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>FolderChoice</name>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Fetching the folders of %1...</source>
        <translation>Récupération des dossiers de %1...</translation>
    </message>
    <message>
        <source>Watch these folders of %1:</source>
        <translation>Surveiller ces dossiers de %1 :</translation>
    </message>
    <message>
        <source> (not listed)</source>
        <translation> (non listé)</translation>
    </message>
</context>
<context>
    <name>HeaderBlock</name>
    <message>
        <source>(untitled)</source>
        <translation>(sans objet)</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(inconnu)</translation>
    </message>
</context>
<context>
    <name>HeadersDlg</name>
    <message>
        <source>Read mail</source>
        <translation>Lire le courrier</translation>
    </message>
    <message>
        <source>No new messages.</source>
        <translation>Aucun nouveau message.</translation>
    </message>
    <message>
        <source>%1 new message(s), %2 pending, %3 error(s)</source>
        <translation>Nouveaux : %1, en attente : %2, erreurs : %3</translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation>En-tête du message</translation>
    </message>
</context>
<context>
    <name>HeadersModel</name>
    <message>
        <source>Subject</source>
        <translation>Objet</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation>Boîte aux lettres</translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response that cannot be read</source>
        <translation>%1 a envoyé une réponse illisible</translation>
    </message>
    <message>
        <source>%1 announced %2 bytes in one piece, more than the %3 bytes allowed.</source>
        <translation>%1 a annoncé %2 octets d&apos;un seul bloc, plus que les %3 octets permis.</translation>
    </message>
    <message>
        <source>%1 sent a response of more than %2 bytes or %3 values.</source>
        <translation>%1 a envoyé une réponse de plus de %2 octets ou %3 valeurs.</translation>
    </message>
    <message>
        <source>%1 answered a command that was never sent</source>
        <translation>%1 a répondu à une commande qui n&apos;a jamais été envoyée</translation>
    </message>
    <message>
        <source>%1 ended the conversation</source>
        <translation>%1 a mis fin à l&apos;échange</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes in answer to one command.</source>
        <translation>%1 a envoyé plus de %2 octets en réponse à une seule commande.</translation>
    </message>
    <message>
        <source>%1 asked for more of a command that was complete</source>
        <translation>%1 a demandé la suite d&apos;une commande déjà complète</translation>
    </message>
    <message>
        <source>The server would not open the folder %1</source>
        <translation>Le serveur n&apos;a pas voulu ouvrir le dossier %1</translation>
    </message>
    <message>
        <source>%1 listed more unseen messages than the folder %2 holds.</source>
        <translation>%1 a listé plus de messages non lus que le dossier %2 n&apos;en contient.</translation>
    </message>
    <message>
        <source>%1 sent a search result that cannot be read</source>
        <translation>%1 a envoyé un résultat de recherche illisible</translation>
    </message>
    <message>
        <source>The server would not search for unseen messages</source>
        <translation>Le serveur n&apos;a pas voulu chercher les messages non lus</translation>
    </message>
    <message>
        <source>The server would not give the headers</source>
        <translation>Le serveur n&apos;a pas voulu donner les en-têtes</translation>
    </message>
    <message>
        <source>The server would not list its folders</source>
        <translation>Le serveur n&apos;a pas voulu lister ses dossiers</translation>
    </message>
    <message>
        <source>The server would not report changes to the folders</source>
        <translation>Le serveur n&apos;a pas voulu signaler les changements des dossiers</translation>
    </message>
    <message>
        <source>The server would not wait for new mail</source>
        <translation>Le serveur n&apos;a pas voulu attendre le nouveau courrier</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes while Tarvo waited for new mail.</source>
        <translation>%1 a envoyé plus de %2 octets pendant que Tarvo attendait le nouveau courrier.</translation>
    </message>
    <message>
        <source>The server stopped waiting for new mail</source>
        <translation>Le serveur a cessé d&apos;attendre le nouveau courrier</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>Le serveur a refusé la connexion</translation>
    </message>
    <message>
        <source>%1 greeted the connection as signed in already, where STARTTLS can no longer be asked: someone may be keeping it in clear text. Nothing was sent.</source>
        <translation>%1 a accueilli la connexion comme déjà identifiée, alors que STARTTLS ne peut plus être demandé : quelqu&apos;un la maintient peut-être en clair. Rien n&apos;a été envoyé.</translation>
    </message>
    <message>
        <source>The server refused to list its capabilities</source>
        <translation>Le serveur a refusé de lister ses capacités</translation>
    </message>
    <message>
        <source>%1 takes no password over this connection (it lists LOGINDISABLED); the password was not sent. Choose SSL/TLS or STARTTLS for the account.</source>
        <translation>%1 n&apos;accepte aucun mot de passe sur cette connexion (il indique LOGINDISABLED) ; le mot de passe n&apos;a pas été envoyé. Choisissez SSL/TLS ou STARTTLS pour ce compte.</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Le serveur a refusé l&apos;identification</translation>
    </message>
</context>
<context>
    <name>MailConversation</name>
    <message>
        <source>The check was stopped.</source>
        <translation>La vérification a été arrêtée.</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 secondes</translation>
    </message>
    <message>
        <source>%1 with an empty reply.</source>
        <translation>%1, avec une réponse vide.</translation>
    </message>
    <message>
        <source>%1; its reply is left out, as it would show the %2 or part of it.</source>
        <translation>%1 ; sa réponse est omise, car elle montrerait le %2 ou une partie.</translation>
    </message>
    <message>
        <source>No reply from %1 within %2.</source>
        <translation>Aucune réponse de %1 en %2.</translation>
    </message>
    <message>
        <source>%1 sent less than %2 bytes in %3.</source>
        <translation>%1 a envoyé moins de %2 octets en %3.</translation>
    </message>
    <message>
        <source>The conversation with %1 took longer than %2.</source>
        <translation>L&apos;échange avec %1 a duré plus de %2.</translation>
    </message>
    <message>
        <source>%1 sent a line longer than %2 bytes.</source>
        <translation>%1 a envoyé une ligne de plus de %2 octets.</translation>
    </message>
    <message>
        <source>The connection to %1 broke off.</source>
        <translation>La connexion à %1 s&apos;est interrompue.</translation>
    </message>
    <message>
        <source>The headers on %1 add up to more than %2 bytes.</source>
        <translation>Les en-têtes sur %1 dépassent au total %2 octets.</translation>
    </message>
    <message>
        <source>This account uses no connection security, so its server shows no certificate.</source>
        <translation>Ce compte n&apos;utilise aucune sécurité de connexion, son serveur ne présente donc aucun certificat.</translation>
    </message>
    <message>
        <source>An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or STARTTLS for it. Nothing was sent.</source>
        <translation>Un compte OAuth 2.0 ne s&apos;identifie que sur une connexion sécurisée : choisissez SSL/TLS ou STARTTLS. Rien n&apos;a été envoyé.</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>jeton d&apos;accès</translation>
    </message>
    <message>
        <source>password</source>
        <translation>mot de passe</translation>
    </message>
    <message>
        <source>The user name or %1 holds a line break or a NUL byte; nothing was sent.</source>
        <translation>Le nom d&apos;utilisateur ou le %1 contient un saut de ligne ou un octet NUL ; rien n&apos;a été envoyé.</translation>
    </message>
    <message>
        <source>The server name %1 is not valid.</source>
        <translation>Le nom de serveur %1 n&apos;est pas valide.</translation>
    </message>
    <message>
        <source>Could not resolve %1.</source>
        <translation>Impossible de résoudre %1.</translation>
    </message>
    <message>
        <source>%1 refused the connection.</source>
        <translation>%1 a refusé la connexion.</translation>
    </message>
    <message>
        <source>No answer from %1 within %2.</source>
        <translation>Aucune réponse de %1 en %2.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 did not end within %2.</source>
        <translation>La négociation TLS avec %1 ne s&apos;est pas terminée en %2.</translation>
    </message>
    <message>
        <source>The server refused STARTTLS</source>
        <translation>Le serveur a refusé STARTTLS</translation>
    </message>
    <message>
        <source> The %1 was not sent.</source>
        <translation> Le %1 n&apos;a pas été envoyé.</translation>
    </message>
    <message>
        <source>The server offers no STARTTLS; the %1 was not sent.</source>
        <translation>Le serveur ne propose pas STARTTLS ; le %1 n&apos;a pas été envoyé.</translation>
    </message>
    <message>
        <source>The server sent more than its answer to STARTTLS, which is how an attacker would slip in false replies; the %1 was not sent.</source>
        <translation>Le serveur a envoyé plus que sa réponse à STARTTLS, comme le ferait un attaquant pour glisser de fausses réponses ; le %1 n&apos;a pas été envoyé.</translation>
    </message>
    <message>
        <source>%1 no longer offers %2, with which this account signed in before, so the password was not sent another way: someone may be tampering with the connection. If the server&apos;s sign-in really changed, change the account&apos;s sign-in method.</source>
        <translation>%1 ne propose plus %2, avec lequel ce compte s&apos;identifiait jusqu&apos;ici ; le mot de passe n&apos;a donc pas été envoyé d&apos;une autre manière : quelqu&apos;un altère peut-être la connexion. Si l&apos;identification du serveur a vraiment changé, modifiez la méthode d&apos;identification du compte.</translation>
    </message>
    <message>
        <source>%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; no token was sent.</source>
        <translation>%1 ne propose ni OAUTHBEARER ni XOAUTH2 : un compte OAuth 2.0 ne peut pas s&apos;y identifier ; aucun jeton n&apos;a été envoyé.</translation>
    </message>
    <message>
        <source>The server refused the access token, and a fresh one too</source>
        <translation>Le serveur a refusé le jeton d&apos;accès, et un nouveau aussi</translation>
    </message>
    <message>
        <source>The server refused the access token</source>
        <translation>Le serveur a refusé le jeton d&apos;accès</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Le serveur a refusé l&apos;identification</translation>
    </message>
    <message>
        <source>The server refused the login with %1</source>
        <translation>Le serveur a refusé l&apos;identification avec %1</translation>
    </message>
    <message>
        <source> If the password is right, Password only signs in without %1.</source>
        <translation> Si le mot de passe est correct, « Mot de passe seul » s&apos;identifie sans %1.</translation>
    </message>
    <message>
        <source>%1 could not prove that it knows the password, so someone may be impersonating it; the conversation was ended.</source>
        <translation>%1 n&apos;a pas pu prouver qu&apos;il connaît le mot de passe ; quelqu&apos;un se fait peut-être passer pour lui. L&apos;échange a été interrompu.</translation>
    </message>
    <message>
        <source>%1 sent a %2 challenge that cannot be read; the conversation was ended.</source>
        <translation>%1 a envoyé un défi %2 illisible ; l&apos;échange a été interrompu.</translation>
    </message>
    <message>
        <source>%1 asks %2 to hash the password %3%4 times, more than the %5 allowed; the sign-in was ended before any was computed.</source>
        <translation>%1 demande à %2 de hacher le mot de passe %3%4 fois, plus que les %5 permises ; l&apos;identification a été interrompue avant tout calcul.</translation>
    </message>
    <message>
        <source>The access token holds characters no bearer token has, or the user name holds control characters; it was not sent.</source>
        <translation>Le jeton d&apos;accès contient des caractères qu&apos;aucun jeton porteur ne contient, ou le nom d&apos;utilisateur contient des caractères de contrôle ; il n&apos;a pas été envoyé.</translation>
    </message>
    <message>
        <source>The password is no valid UTF-8 text, which %1 needs; it was not sent. Password only signs in with it as it is.</source>
        <translation>Le mot de passe n&apos;est pas un texte UTF-8 valide, ce dont %1 a besoin ; il n&apos;a pas été envoyé. « Mot de passe seul » s&apos;identifie avec lui tel quel.</translation>
    </message>
    <message>
        <source>%1 closed the connection.</source>
        <translation>%1 a fermé la connexion.</translation>
    </message>
</context>
<context>
    <name>MailProgram</name>
    <message>
        <source>&quot;%1&quot; is not there or is not executable.</source>
        <translation>« %1 » est absent ou n&apos;est pas exécutable.</translation>
    </message>
    <message>
        <source>No mail program is chosen in Options, and the desktop has no default mail client.</source>
        <translation>Aucun logiciel de messagerie n&apos;est choisi dans les Options, et le bureau n&apos;a pas de client de messagerie par défaut.</translation>
    </message>
    <message>
        <source>no reason was given</source>
        <translation>aucune raison n&apos;a été donnée</translation>
    </message>
    <message>
        <source>The mail program could not be started: %1</source>
        <translation>Le logiciel de messagerie n&apos;a pas pu être lancé : %1</translation>
    </message>
</context>
<context>
    <name>MailboxesDlg</name>
    <message>
        <source>POP3 Server:</source>
        <translation>Serveur POP3 :</translation>
    </message>
    <message>
        <source>Folders...</source>
        <translation>Dossiers...</translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation>Boîtes aux lettres</translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation>&amp;Protocole :</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Utilisateur :</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe :</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Connection security:</source>
        <translation>Sécurité de la connexion :</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>Certificate...</source>
        <translation>Certificat...</translation>
    </message>
    <message>
        <source>Sign-&amp;in:</source>
        <translation>&amp;Identification :</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Password only</source>
        <translation>Mot de passe seul</translation>
    </message>
    <message>
        <source>Password &amp;from:</source>
        <translation>Mot de passe &amp;depuis :</translation>
    </message>
    <message>
        <source>This file</source>
        <translation>Ce fichier</translation>
    </message>
    <message>
        <source>Keyring</source>
        <translation>Trousseau de clés</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Commande</translation>
    </message>
    <message>
        <source>Online account</source>
        <translation>Compte en ligne</translation>
    </message>
    <message>
        <source>command printing it</source>
        <translation>commande qui l&apos;affiche</translation>
    </message>
    <message>
        <source>F&amp;olders:</source>
        <translation>D&amp;ossiers :</translation>
    </message>
    <message>
        <source>Configured servers</source>
        <translation>Serveurs configurés</translation>
    </message>
    <message numerus="yes">
        <source>%n server(s) to check</source>
        <translation>
            <numerusform>%n serveur à vérifier</numerusform>
            <numerusform>%n serveurs à vérifier</numerusform>
        </translation>
    </message>
    <message>
        <source>No servers to check</source>
        <translation>Aucun serveur à vérifier</translation>
    </message>
    <message>
        <source>kept in the keyring</source>
        <translation>dans le trousseau</translation>
    </message>
    <message>
        <source>IMAP Server:</source>
        <translation>Serveur IMAP :</translation>
    </message>
    <message>
        <source>No keyring is at hand.</source>
        <translation>Aucun trousseau de clés n&apos;est disponible.</translation>
    </message>
    <message>
        <source>Waiting for the keyring to take the password of %1...</source>
        <translation>En attente du trousseau de clés pour enregistrer le mot de passe de %1...</translation>
    </message>
    <message>
        <source>The keyring did not take the password of %1:
%2

Keep the password in Tarvo&apos;s settings file instead?</source>
        <translation>Le trousseau de clés n&apos;a pas enregistré le mot de passe de %1 :
%2

Conserver plutôt le mot de passe dans le fichier de configuration de Tarvo ?</translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing?</source>
        <translation>Enregistrer les modifications de %1 avant de fermer ?</translation>
    </message>
    <message>
        <source>Add %1 before closing?</source>
        <translation>Ajouter %1 avant de fermer ?</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>Certificat</translation>
    </message>
    <message>
        <source>Select a server in the list first.</source>
        <translation>Sélectionnez d&apos;abord un serveur dans la liste.</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Type the server&apos;s name first.</source>
        <translation>Saisissez d&apos;abord le nom du serveur.</translation>
    </message>
</context>
<context>
    <name>MessageTable</name>
    <message>
        <source>This message&apos;s header is not kept in memory: Tarvo keeps the headers of the newest messages of a large mailbox only.</source>
        <translation>L&apos;en-tête de ce message n&apos;est pas conservé en mémoire : pour une grande boîte aux lettres, Tarvo ne conserve que les en-têtes des messages les plus récents.</translation>
    </message>
</context>
<context>
    <name>OptionsDlg</name>
    <message>
        <source>Play notification sound</source>
        <translation>Jouer un son de notification</translation>
    </message>
    <message>
        <source>Show message headers</source>
        <translation>Afficher les en-têtes des messages</translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation>Afficher une notification du bureau</translation>
    </message>
    <message>
        <source>Start at log-in</source>
        <translation>Démarrer à l&apos;ouverture de session</translation>
    </message>
    <message>
        <source>Show new IMAP mail at once (push)</source>
        <translation>Afficher aussitôt le nouveau courrier IMAP (push)</translation>
    </message>
    <message>
        <source>Tarvo options</source>
        <translation>Options de Tarvo</translation>
    </message>
    <message>
        <source>Desktop&apos;s default</source>
        <translation>Par défaut du bureau</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>On new mail</source>
        <translation>À l&apos;arrivée de courrier</translation>
    </message>
    <message>
        <source>Read mail with</source>
        <translation>Lire le courrier avec</translation>
    </message>
    <message>
        <source>Check every</source>
        <translation>Vérifier toutes les</translation>
    </message>
    <message>
        <source>minutes for new messages</source>
        <translation>minutes les nouveaux messages</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Veuillez saisir un nombre entier.</translation>
    </message>
</context>
<context>
    <name>Pop3Connection</name>
    <message>
        <source>The server did not give the number of messages</source>
        <translation>Le serveur n&apos;a pas donné le nombre de messages</translation>
    </message>
    <message>
        <source>The server gave no number of messages that a mailbox can hold</source>
        <translation>Le serveur n&apos;a donné aucun nombre de messages qu&apos;une boîte aux lettres puisse contenir</translation>
    </message>
    <message>
        <source>%1 answered %2 with neither +OK nor -ERR</source>
        <translation>%1 a répondu à %2 sans +OK ni -ERR</translation>
    </message>
    <message>
        <source>The header of message %1 is larger than %2 bytes.</source>
        <translation>L&apos;en-tête du message %1 dépasse %2 octets.</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>Le serveur a refusé la connexion</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>Le serveur a refusé l&apos;identification</translation>
    </message>
    <message>
        <source>%1 sent a capability list longer than %2 lines or %3 bytes.</source>
        <translation>%1 a envoyé une liste de capacités de plus de %2 lignes ou %3 octets.</translation>
    </message>
    <message>
        <source>The unique-id listing of %1 is larger than %2 bytes.</source>
        <translation>La liste des identifiants uniques de %1 dépasse %2 octets.</translation>
    </message>
</context>
<context>
    <name>Secrets</name>
    <message>
        <source>The password command</source>
        <translation>La commande de mot de passe</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1.</source>
        <translation>La commande de mot de passe a été terminée par le signal %1.</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1: %2</source>
        <translation>La commande de mot de passe a été terminée par le signal %1 : %2</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1.</source>
        <translation>La commande de mot de passe a échoué avec le code de sortie %1.</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1: %2</source>
        <translation>La commande de mot de passe a échoué avec le code de sortie %1 : %2</translation>
    </message>
    <message>
        <source>No password command is set for this account.</source>
        <translation>Aucune commande de mot de passe n&apos;est définie pour ce compte.</translation>
    </message>
    <message>
        <source>The password command was stopped.</source>
        <translation>La commande de mot de passe a été arrêtée.</translation>
    </message>
    <message>
        <source>The password command could not be started: %1</source>
        <translation>La commande de mot de passe n&apos;a pas pu être lancée : %1</translation>
    </message>
    <message>
        <source>The password command printed a first line longer than 64 KiB.</source>
        <translation>La commande de mot de passe a affiché une première ligne de plus de 64 Kio.</translation>
    </message>
    <message>
        <source>The password command printed nothing.</source>
        <translation>La commande de mot de passe n&apos;a rien affiché.</translation>
    </message>
    <message>
        <source>%1 cannot be reached: no session bus is running.</source>
        <translation>%1 est injoignable : aucun bus de session n&apos;est actif.</translation>
    </message>
    <message>
        <source>%1 was not asked to the end: the check was stopped.</source>
        <translation>%1 n&apos;a pas été interrogé jusqu&apos;au bout : la vérification a été arrêtée.</translation>
    </message>
    <message>
        <source>%1 failed.</source>
        <translation>%1 : échec.</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 : échec : %2</translation>
    </message>
    <message>
        <source>The keyring</source>
        <translation>Le trousseau de clés</translation>
    </message>
    <message>
        <source>The keyring holds no password for %1 on %2.</source>
        <translation>Le trousseau de clés ne contient aucun mot de passe pour %1 sur %2.</translation>
    </message>
    <message>
        <source>The keyring is locked; unlock it to let Tarvo read the password for %1 on %2.</source>
        <translation>Le trousseau de clés est verrouillé ; déverrouillez-le pour que Tarvo lise le mot de passe de %1 sur %2.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts</source>
        <translation>Comptes en ligne GNOME</translation>
    </message>
    <message>
        <source>GNOME Online Accounts has no mail account for %1.</source>
        <translation>Comptes en ligne GNOME n&apos;a aucun compte de courrier pour %1.</translation>
    </message>
    <message>
        <source>The online account of %1 has neither a token nor a password to give.</source>
        <translation>Le compte en ligne de %1 n&apos;a ni jeton ni mot de passe à donner.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty secret for %1.</source>
        <translation>Comptes en ligne GNOME a donné un secret vide pour %1.</translation>
    </message>
    <message numerus="yes">
        <source>%1 did not answer within %n second(s).</source>
        <translation>
            <numerusform>%1 n&apos;a pas répondu en %n seconde.</numerusform>
            <numerusform>%1 n&apos;a pas répondu en %n secondes.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 did not answer within %2 ms.</source>
        <translation>%1 n&apos;a pas répondu en %2 ms.</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>Tarvo cannot save its state: %1 is not a regular file.</source>
        <translation>Tarvo ne peut pas enregistrer son état : %1 n&apos;est pas un fichier ordinaire.</translation>
    </message>
</context>
<context>
    <name>TarvoResources</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>L&apos;initialisation des sockets a échoué.</translation>
    </message>
</context>
<context>
    <name>TlsTransport</name>
    <message>
        <source>an unreadable date</source>
        <translation>une date illisible</translation>
    </message>
    <message>
        <source>The certificate of %1 is refused: a name in it holds a NUL character, which could pass it off as another name.</source>
        <translation>Le certificat de %1 est refusé : un nom qu&apos;il contient comporte un caractère NUL, qui pourrait le faire passer pour un autre nom.</translation>
    </message>
    <message>
        <source>The certificate names %1 only as a host name; an IP address must be in its subjectAltName.</source>
        <translation>Le certificat ne nomme %1 que comme nom d&apos;hôte ; une adresse IP doit figurer dans son subjectAltName.</translation>
    </message>
    <message>
        <source>The certificate is issued for %1, not %2.</source>
        <translation>Le certificat est délivré pour %1, pas pour %2.</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>aucun nom</translation>
    </message>
    <message>
        <source>The certificate of %1 has expired (%2).</source>
        <translation>Le certificat de %1 a expiré (%2).</translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid before %2.</source>
        <translation>Le certificat de %1 n&apos;est pas valide avant %2.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts; if the server is yours, trust it with Certificate... in Servers... in the menu.</source>
        <translation>Le certificat de %1 n&apos;est signé par aucune autorité de certification à laquelle cet ordinateur fait confiance ; si le serveur est le vôtre, faites-lui confiance avec Certificat... dans Serveurs... du menu.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts.</source>
        <translation>Le certificat de %1 n&apos;est signé par aucune autorité de certification à laquelle cet ordinateur fait confiance.</translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified: %2.</source>
        <translation>Le certificat de %1 n&apos;a pas pu être vérifié : %2.</translation>
    </message>
    <message>
        <source>The secure connection could not be prepared on this computer.</source>
        <translation>La connexion sécurisée n&apos;a pas pu être préparée sur cet ordinateur.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account; it has been replaced since.</source>
        <translation>Le certificat de %1 n&apos;est pas celui auquel ce compte fait confiance ; il a été remplacé depuis.</translation>
    </message>
    <message>
        <source>%1 closed the connection during the TLS handshake.</source>
        <translation>%1 a fermé la connexion pendant la négociation TLS.</translation>
    </message>
    <message>
        <source>%1 offers no TLS version from 1.2 on, the oldest still safe.</source>
        <translation>%1 ne propose aucune version de TLS à partir de 1.2, la plus ancienne encore sûre.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 failed: %2.</source>
        <translation>La négociation TLS avec %1 a échoué : %2.</translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation>aucune raison donnée</translation>
    </message>
    <message>
        <source>It was not verified: this account trusts one certificate by hand.</source>
        <translation>Il n&apos;a pas été vérifié : ce compte fait confiance à un certificat choisi à la main.</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Check now</source>
        <translation>&amp;Vérifier maintenant</translation>
    </message>
    <message>
        <source>&amp;Read mail</source>
        <translation>&amp;Lire le courrier</translation>
    </message>
    <message>
        <source>&amp;Headers...</source>
        <translation>&amp;En-têtes...</translation>
    </message>
    <message>
        <source>&amp;Servers...</source>
        <translation>&amp;Serveurs...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Stop check</source>
        <translation>&amp;Arrêter la vérification</translation>
    </message>
</context>
<context>
    <name>TrayTip</name>
    <message>
        <source>No mailboxes to check</source>
        <translation>Aucune boîte aux lettres à vérifier</translation>
    </message>
    <message>
        <source>Tarvo is empty</source>
        <translation>Tarvo est vide</translation>
    </message>
    <message>
        <source>%1 failed. %2</source>
        <translation>Échec : %1. %2</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts failed. %1</source>
        <translation>
            <numerusform>%Ln compte en échec. %1</numerusform>
            <numerusform>%Ln comptes en échec. %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You have %n unread message(s)</source>
        <translation>
            <numerusform>Vous avez %Ln message non lu</numerusform>
            <numerusform>Vous avez %Ln messages non lus</numerusform>
        </translation>
    </message>
    <message>
        <source>No unread messages</source>
        <translation>Aucun message non lu</translation>
    </message>
    <message>
        <source>Error(s) occured</source>
        <translation>Des erreurs se sont produites</translation>
    </message>
</context>
</TS>
