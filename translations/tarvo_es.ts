<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutDlg</name>
    <message>
        <source>About Tarvo</source>
        <translation>Acerca de Tarvo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Thanks to...</source>
        <translation>Agradecimientos...</translation>
    </message>
    <message>
        <source>Tarvo: multiple account mail checker
Made by Halvik
Version %1

Reports and suggestions to:
tarvo@example.org
More information:
https://example.org/tarvo</source>
        <translation>Tarvo: comprobación de correo de varias cuentas
Hecho por Halvik
Versión %1

Informes y sugerencias a:
tarvo@example.org
Más información:
https://example.org/tarvo</translation>
    </message>
    <message>
        <source>Thanks for their response and help to:</source>
        <translation>Gracias por sus comentarios y su ayuda a:</translation>
    </message>
</context>
<context>
    <name>CertificateReview</name>
    <message>
        <source>Certificate</source>
        <translation>Certificado</translation>
    </message>
    <message>
        <source>Server: %1
Subject: %2
Issuer: %3
Valid from %4 until %5
SHA-256: %6</source>
        <translation>Servidor: %1
Sujeto: %2
Emisor: %3
Válido del %4 al %5
SHA-256: %6</translation>
    </message>
    <message>
        <source>This account trusts another certificate now (SHA-256 %1).

</source>
        <translation>Esta cuenta confía ahora en otro certificado (SHA-256 %1).

</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

%3Trust exactly this certificate for this account? It is then accepted whoever issued it and whatever name it carries, and any other certificate is refused. No leaves the decision to the authorities this computer trusts.</source>
        <translation>Sin confianza: %1

%2

%3¿Confiar exactamente en este certificado para esta cuenta? Se aceptará entonces sea quien sea su emisor y lleve el nombre que lleve, y se rechazará cualquier otro certificado. No deja la decisión a las autoridades de certificación en las que confía este equipo.</translation>
    </message>
    <message>
        <source>Not trusted: %1

%2

This account trusts exactly this certificate now.

Stop trusting it? The next checks then leave the decision to the authorities this computer trusts. No keeps it trusted.</source>
        <translation>Sin confianza: %1

%2

Esta cuenta confía ahora exactamente en este certificado.

¿Dejar de confiar en él? Las próximas comprobaciones dejarán entonces la decisión a las autoridades de certificación en las que confía este equipo. No mantiene la confianza.</translation>
    </message>
    <message>
        <source>Trust this certificate also for the other accounts on this server: %1?</source>
        <translation>¿Confiar en este certificado también para las demás cuentas de este servidor: %1?</translation>
    </message>
    <message>
        <source>Fetching the certificate of %1...</source>
        <translation>Obteniendo el certificado de %1...</translation>
    </message>
    <message>
        <source>This certificate is trusted by this computer; nothing to add.

</source>
        <translation>Este equipo confía en este certificado; no hay nada que añadir.

</translation>
    </message>
    <message>
        <source>

This account also trusts one certificate by hand (SHA-256 %1). Leave the decision to the authorities this computer trusts instead?</source>
        <translation>

Esta cuenta confía además en un certificado elegido a mano (SHA-256 %1). ¿Dejar en su lugar la decisión a las autoridades de certificación en las que confía este equipo?</translation>
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
        <translation>(error al contactar con %1)</translation>
    </message>
    <message>
        <source> The server&apos;s list of unique-ids (UIDL) broke off, so the next checks of this mailbox go without it and fetch every header.</source>
        <translation> La lista de identificadores únicos (UIDL) del servidor se interrumpió; las próximas comprobaciones de este buzón prescindirán de ella y obtendrán todos los encabezados.</translation>
    </message>
    <message numerus="yes">
        <source>Retrieving %n header(s) from %1...</source>
        <translation>
            <numerusform>Obteniendo %n encabezado de %1...</numerusform>
            <numerusform>Obteniendo %n encabezados de %1...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(error retrieving %n message header(s))</source>
        <translation>
            <numerusform>(error al obtener %n encabezado de mensaje)</numerusform>
            <numerusform>(error al obtener %n encabezados de mensaje)</numerusform>
        </translation>
    </message>
    <message>
        <source>Contacting %1...</source>
        <translation>Contactando con %1...</translation>
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
        <translation>Uso: tarvo [--check [--json]]
Vigila buzones POP3 e IMAP desde un icono del área de notificación.

  --check     comprobar una vez cada cuenta configurada, mostrar una línea por
              cuenta y el total, y terminar
  --json      con --check: mostrar en su lugar un objeto JSON
  --help      mostrar esta ayuda y terminar
  --version   mostrar la versión y terminar

Estado de salida de --check: 0 se comprobaron todas las cuentas, 1 falló una
cuenta, 2 un error de uso o de configuración.
</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s)</source>
        <translation>
            <numerusform>%n mensaje</numerusform>
            <numerusform>%n mensajes</numerusform>
        </translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>error: %1</translation>
    </message>
    <message numerus="yes">
        <source>Total: %n message(s)</source>
        <translation>
            <numerusform>Total: %n mensaje</numerusform>
            <numerusform>Total: %n mensajes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %1 of %n account(s) failed</source>
        <translation>
            <numerusform>, fallaron %1 de %n cuenta</numerusform>
            <numerusform>, fallaron %1 de %n cuentas</numerusform>
        </translation>
    </message>
    <message>
        <source>the settings file %1 cannot be read whole; it was left as it is</source>
        <translation>el archivo de configuración %1 no se puede leer entero; se ha dejado como estaba</translation>
    </message>
    <message>
        <source>No mailboxes to check in %1</source>
        <translation>No hay buzones que comprobar en %1</translation>
    </message>
    <message>
        <source>unknown argument &apos;%1&apos;</source>
        <translation>argumento desconocido «%1»</translation>
    </message>
    <message>
        <source>--json goes with --check</source>
        <translation>--json va con --check</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>1 new message</source>
        <translation>1 mensaje nuevo</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>%1 mensajes nuevos</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>y %1 más</translation>
    </message>
    <message>
        <source>Show headers</source>
        <translation>Mostrar encabezados</translation>
    </message>
    <message>
        <source>Read mail</source>
        <translation>Leer correo</translation>
    </message>
</context>
<context>
    <name>FetchingWindow</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>FolderChoice</name>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Fetching the folders of %1...</source>
        <translation>Obteniendo las carpetas de %1...</translation>
    </message>
    <message>
        <source>Watch these folders of %1:</source>
        <translation>Vigilar estas carpetas de %1:</translation>
    </message>
    <message>
        <source> (not listed)</source>
        <translation> (no listada)</translation>
    </message>
</context>
<context>
    <name>HeaderBlock</name>
    <message>
        <source>(untitled)</source>
        <translation>(sin asunto)</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(desconocido)</translation>
    </message>
</context>
<context>
    <name>HeadersDlg</name>
    <message>
        <source>Read mail</source>
        <translation>Leer correo</translation>
    </message>
    <message>
        <source>No new messages.</source>
        <translation>No hay mensajes nuevos.</translation>
    </message>
    <message>
        <source>%1 new message(s), %2 pending, %3 error(s)</source>
        <translation>Nuevos: %1, pendientes: %2, errores: %3</translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation>Encabezado del mensaje</translation>
    </message>
</context>
<context>
    <name>HeadersModel</name>
    <message>
        <source>Subject</source>
        <translation>Asunto</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation>Buzón</translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response that cannot be read</source>
        <translation>%1 envió una respuesta que no se puede leer</translation>
    </message>
    <message>
        <source>%1 announced %2 bytes in one piece, more than the %3 bytes allowed.</source>
        <translation>%1 anunció %2 bytes de una sola vez, más que los %3 bytes permitidos.</translation>
    </message>
    <message>
        <source>%1 sent a response of more than %2 bytes or %3 values.</source>
        <translation>%1 envió una respuesta de más de %2 bytes o %3 valores.</translation>
    </message>
    <message>
        <source>%1 answered a command that was never sent</source>
        <translation>%1 respondió a una orden que nunca se envió</translation>
    </message>
    <message>
        <source>%1 ended the conversation</source>
        <translation>%1 terminó la conversación</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes in answer to one command.</source>
        <translation>%1 envió más de %2 bytes en respuesta a una sola orden.</translation>
    </message>
    <message>
        <source>%1 asked for more of a command that was complete</source>
        <translation>%1 pidió más de una orden que ya estaba completa</translation>
    </message>
    <message>
        <source>The server would not open the folder %1</source>
        <translation>El servidor no quiso abrir la carpeta %1</translation>
    </message>
    <message>
        <source>%1 listed more unseen messages than the folder %2 holds.</source>
        <translation>%1 listó más mensajes no leídos de los que contiene la carpeta %2.</translation>
    </message>
    <message>
        <source>%1 sent a search result that cannot be read</source>
        <translation>%1 envió un resultado de búsqueda que no se puede leer</translation>
    </message>
    <message>
        <source>The server would not search for unseen messages</source>
        <translation>El servidor no quiso buscar los mensajes no leídos</translation>
    </message>
    <message>
        <source>The server would not give the headers</source>
        <translation>El servidor no quiso dar los encabezados</translation>
    </message>
    <message>
        <source>The server would not list its folders</source>
        <translation>El servidor no quiso listar sus carpetas</translation>
    </message>
    <message>
        <source>The server would not report changes to the folders</source>
        <translation>El servidor no quiso informar de los cambios en las carpetas</translation>
    </message>
    <message>
        <source>The server would not wait for new mail</source>
        <translation>El servidor no quiso esperar correo nuevo</translation>
    </message>
    <message>
        <source>%1 sent more than %2 bytes while Tarvo waited for new mail.</source>
        <translation>%1 envió más de %2 bytes mientras Tarvo esperaba correo nuevo.</translation>
    </message>
    <message>
        <source>The server stopped waiting for new mail</source>
        <translation>El servidor dejó de esperar correo nuevo</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>El servidor rechazó la conexión</translation>
    </message>
    <message>
        <source>%1 greeted the connection as signed in already, where STARTTLS can no longer be asked: someone may be keeping it in clear text. Nothing was sent.</source>
        <translation>%1 saludó a la conexión como ya iniciada, cuando ya no se puede pedir STARTTLS: puede que alguien la mantenga sin cifrar. No se envió nada.</translation>
    </message>
    <message>
        <source>The server refused to list its capabilities</source>
        <translation>El servidor se negó a listar sus capacidades</translation>
    </message>
    <message>
        <source>%1 takes no password over this connection (it lists LOGINDISABLED); the password was not sent. Choose SSL/TLS or STARTTLS for the account.</source>
        <translation>%1 no acepta contraseñas en esta conexión (indica LOGINDISABLED); no se envió la contraseña. Hay que elegir SSL/TLS o STARTTLS para la cuenta.</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>El servidor rechazó el inicio de sesión</translation>
    </message>
</context>
<context>
    <name>MailConversation</name>
    <message>
        <source>The check was stopped.</source>
        <translation>La comprobación se detuvo.</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 segundos</translation>
    </message>
    <message>
        <source>%1 with an empty reply.</source>
        <translation>%1, con una respuesta vacía.</translation>
    </message>
    <message>
        <source>%1; its reply is left out, as it would show the %2 or part of it.</source>
        <translation>%1; se omite su respuesta, porque mostraría la %2 o parte de ella.</translation>
    </message>
    <message>
        <source>No reply from %1 within %2.</source>
        <translation>Sin respuesta de %1 en %2.</translation>
    </message>
    <message>
        <source>%1 sent less than %2 bytes in %3.</source>
        <translation>%1 envió menos de %2 bytes en %3.</translation>
    </message>
    <message>
        <source>The conversation with %1 took longer than %2.</source>
        <translation>La conversación con %1 duró más de %2.</translation>
    </message>
    <message>
        <source>%1 sent a line longer than %2 bytes.</source>
        <translation>%1 envió una línea de más de %2 bytes.</translation>
    </message>
    <message>
        <source>The connection to %1 broke off.</source>
        <translation>La conexión con %1 se interrumpió.</translation>
    </message>
    <message>
        <source>The headers on %1 add up to more than %2 bytes.</source>
        <translation>Los encabezados de %1 suman más de %2 bytes.</translation>
    </message>
    <message>
        <source>This account uses no connection security, so its server shows no certificate.</source>
        <translation>Esta cuenta no usa seguridad en la conexión, así que su servidor no muestra ningún certificado.</translation>
    </message>
    <message>
        <source>An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or STARTTLS for it. Nothing was sent.</source>
        <translation>Una cuenta OAuth 2.0 solo inicia sesión por una conexión segura: hay que elegir SSL/TLS o STARTTLS para ella. No se envió nada.</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>clave de acceso</translation>
    </message>
    <message>
        <source>password</source>
        <translation>contraseña</translation>
    </message>
    <message>
        <source>The user name or %1 holds a line break or a NUL byte; nothing was sent.</source>
        <translation>El nombre de usuario o la %1 contiene un salto de línea o un byte NUL; no se envió nada.</translation>
    </message>
    <message>
        <source>The server name %1 is not valid.</source>
        <translation>El nombre de servidor %1 no es válido.</translation>
    </message>
    <message>
        <source>Could not resolve %1.</source>
        <translation>No se pudo resolver %1.</translation>
    </message>
    <message>
        <source>%1 refused the connection.</source>
        <translation>%1 rechazó la conexión.</translation>
    </message>
    <message>
        <source>No answer from %1 within %2.</source>
        <translation>Sin respuesta de %1 en %2.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 did not end within %2.</source>
        <translation>La negociación TLS con %1 no terminó en %2.</translation>
    </message>
    <message>
        <source>The server refused STARTTLS</source>
        <translation>El servidor rechazó STARTTLS</translation>
    </message>
    <message>
        <source> The %1 was not sent.</source>
        <translation> No se envió la %1.</translation>
    </message>
    <message>
        <source>The server offers no STARTTLS; the %1 was not sent.</source>
        <translation>El servidor no ofrece STARTTLS; no se envió la %1.</translation>
    </message>
    <message>
        <source>The server sent more than its answer to STARTTLS, which is how an attacker would slip in false replies; the %1 was not sent.</source>
        <translation>El servidor envió más que su respuesta a STARTTLS, como haría un atacante para colar respuestas falsas; no se envió la %1.</translation>
    </message>
    <message>
        <source>%1 no longer offers %2, with which this account signed in before, so the password was not sent another way: someone may be tampering with the connection. If the server&apos;s sign-in really changed, change the account&apos;s sign-in method.</source>
        <translation>%1 ya no ofrece %2, con el que esta cuenta iniciaba sesión antes, así que la contraseña no se envió de otra forma: puede que alguien esté manipulando la conexión. Si el inicio de sesión del servidor cambió de verdad, hay que cambiar el método de inicio de sesión de la cuenta.</translation>
    </message>
    <message>
        <source>%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; no token was sent.</source>
        <translation>%1 no ofrece ni OAUTHBEARER ni XOAUTH2, así que una cuenta OAuth 2.0 no puede iniciar sesión en él; no se envió ningún token.</translation>
    </message>
    <message>
        <source>The server refused the access token, and a fresh one too</source>
        <translation>El servidor rechazó la clave de acceso, y también una nueva</translation>
    </message>
    <message>
        <source>The server refused the access token</source>
        <translation>El servidor rechazó la clave de acceso</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>El servidor rechazó el inicio de sesión</translation>
    </message>
    <message>
        <source>The server refused the login with %1</source>
        <translation>El servidor rechazó el inicio de sesión con %1</translation>
    </message>
    <message>
        <source> If the password is right, Password only signs in without %1.</source>
        <translation> Si la contraseña es correcta, «Solo contraseña» inicia sesión sin %1.</translation>
    </message>
    <message>
        <source>%1 could not prove that it knows the password, so someone may be impersonating it; the conversation was ended.</source>
        <translation>%1 no pudo demostrar que conoce la contraseña, así que puede que alguien lo esté suplantando; se terminó la conversación.</translation>
    </message>
    <message>
        <source>%1 sent a %2 challenge that cannot be read; the conversation was ended.</source>
        <translation>%1 envió un desafío %2 que no se puede leer; se terminó la conversación.</translation>
    </message>
    <message>
        <source>%1 asks %2 to hash the password %3%4 times, more than the %5 allowed; the sign-in was ended before any was computed.</source>
        <translation>%1 pide a %2 calcular el hash de la contraseña %3%4 veces, más que las %5 permitidas; el inicio de sesión terminó antes de calcular ninguno.</translation>
    </message>
    <message>
        <source>The access token holds characters no bearer token has, or the user name holds control characters; it was not sent.</source>
        <translation>La clave de acceso contiene caracteres que ningún token portador tiene, o el nombre de usuario contiene caracteres de control; no se envió.</translation>
    </message>
    <message>
        <source>The password is no valid UTF-8 text, which %1 needs; it was not sent. Password only signs in with it as it is.</source>
        <translation>La contraseña no es texto UTF-8 válido, que %1 necesita; no se envió. «Solo contraseña» inicia sesión con ella tal como es.</translation>
    </message>
    <message>
        <source>%1 closed the connection.</source>
        <translation>%1 cerró la conexión.</translation>
    </message>
</context>
<context>
    <name>MailProgram</name>
    <message>
        <source>&quot;%1&quot; is not there or is not executable.</source>
        <translation>«%1» no existe o no es ejecutable.</translation>
    </message>
    <message>
        <source>No mail program is chosen in Options, and the desktop has no default mail client.</source>
        <translation>No hay ningún programa de correo elegido en Opciones, y el escritorio no tiene un cliente de correo predeterminado.</translation>
    </message>
    <message>
        <source>no reason was given</source>
        <translation>no se dio ningún motivo</translation>
    </message>
    <message>
        <source>The mail program could not be started: %1</source>
        <translation>No se pudo iniciar el programa de correo: %1</translation>
    </message>
</context>
<context>
    <name>MailboxesDlg</name>
    <message>
        <source>POP3 Server:</source>
        <translation>Servidor POP3:</translation>
    </message>
    <message>
        <source>Folders...</source>
        <translation>Carpetas...</translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation>Buzones</translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation>&amp;Protocolo:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Usuario:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Contraseña:</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Connection security:</source>
        <translation>Seguridad de la conexión:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguna</translation>
    </message>
    <message>
        <source>Certificate...</source>
        <translation>Certificado...</translation>
    </message>
    <message>
        <source>Sign-&amp;in:</source>
        <translation>&amp;Inicio de sesión:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Password only</source>
        <translation>Solo contraseña</translation>
    </message>
    <message>
        <source>Password &amp;from:</source>
        <translation>Contraseña &amp;desde:</translation>
    </message>
    <message>
        <source>This file</source>
        <translation>Este archivo</translation>
    </message>
    <message>
        <source>Keyring</source>
        <translation>Depósito de claves</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Orden</translation>
    </message>
    <message>
        <source>Online account</source>
        <translation>Cuenta en línea</translation>
    </message>
    <message>
        <source>command printing it</source>
        <translation>orden que la muestra</translation>
    </message>
    <message>
        <source>F&amp;olders:</source>
        <translation>&amp;Carpetas:</translation>
    </message>
    <message>
        <source>Configured servers</source>
        <translation>Servidores configurados</translation>
    </message>
    <message numerus="yes">
        <source>%n server(s) to check</source>
        <translation>
            <numerusform>%n servidor que comprobar</numerusform>
            <numerusform>%n servidores que comprobar</numerusform>
        </translation>
    </message>
    <message>
        <source>No servers to check</source>
        <translation>No hay servidores que comprobar</translation>
    </message>
    <message>
        <source>kept in the keyring</source>
        <translation>en el depósito de claves</translation>
    </message>
    <message>
        <source>IMAP Server:</source>
        <translation>Servidor IMAP:</translation>
    </message>
    <message>
        <source>No keyring is at hand.</source>
        <translation>No hay ningún depósito de claves disponible.</translation>
    </message>
    <message>
        <source>Waiting for the keyring to take the password of %1...</source>
        <translation>Esperando a que el depósito de claves guarde la contraseña de %1...</translation>
    </message>
    <message>
        <source>The keyring did not take the password of %1:
%2

Keep the password in Tarvo&apos;s settings file instead?</source>
        <translation>El depósito de claves no guardó la contraseña de %1:
%2

¿Guardar en su lugar la contraseña en el archivo de configuración de Tarvo?</translation>
    </message>
    <message>
        <source>Save the changes to %1 before closing?</source>
        <translation>¿Guardar los cambios de %1 antes de cerrar?</translation>
    </message>
    <message>
        <source>Add %1 before closing?</source>
        <translation>¿Añadir %1 antes de cerrar?</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>Certificado</translation>
    </message>
    <message>
        <source>Select a server in the list first.</source>
        <translation>Primero hay que seleccionar un servidor de la lista.</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Type the server&apos;s name first.</source>
        <translation>Primero hay que escribir el nombre del servidor.</translation>
    </message>
</context>
<context>
    <name>MessageTable</name>
    <message>
        <source>This message&apos;s header is not kept in memory: Tarvo keeps the headers of the newest messages of a large mailbox only.</source>
        <translation>El encabezado de este mensaje no se guarda en memoria: de un buzón grande, Tarvo solo guarda los encabezados de los mensajes más recientes.</translation>
    </message>
</context>
<context>
    <name>OptionsDlg</name>
    <message>
        <source>Play notification sound</source>
        <translation>Reproducir un sonido de aviso</translation>
    </message>
    <message>
        <source>Show message headers</source>
        <translation>Mostrar los encabezados de los mensajes</translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation>Mostrar una notificación del escritorio</translation>
    </message>
    <message>
        <source>Start at log-in</source>
        <translation>Iniciar al abrir la sesión</translation>
    </message>
    <message>
        <source>Show new IMAP mail at once (push)</source>
        <translation>Mostrar al momento el correo IMAP nuevo (push)</translation>
    </message>
    <message>
        <source>Tarvo options</source>
        <translation>Opciones de Tarvo</translation>
    </message>
    <message>
        <source>Desktop&apos;s default</source>
        <translation>Predeterminado del escritorio</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Comprobación</translation>
    </message>
    <message>
        <source>On new mail</source>
        <translation>Con correo nuevo</translation>
    </message>
    <message>
        <source>Read mail with</source>
        <translation>Leer el correo con</translation>
    </message>
    <message>
        <source>Check every</source>
        <translation>Comprobar cada</translation>
    </message>
    <message>
        <source>minutes for new messages</source>
        <translation>minutos si hay mensajes nuevos</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Introducir un número entero.</translation>
    </message>
</context>
<context>
    <name>Pop3Connection</name>
    <message>
        <source>The server did not give the number of messages</source>
        <translation>El servidor no dio el número de mensajes</translation>
    </message>
    <message>
        <source>The server gave no number of messages that a mailbox can hold</source>
        <translation>El servidor no dio un número de mensajes que pueda contener un buzón</translation>
    </message>
    <message>
        <source>%1 answered %2 with neither +OK nor -ERR</source>
        <translation>%1 respondió a %2 sin +OK ni -ERR</translation>
    </message>
    <message>
        <source>The header of message %1 is larger than %2 bytes.</source>
        <translation>El encabezado del mensaje %1 ocupa más de %2 bytes.</translation>
    </message>
    <message>
        <source>The server refused the connection</source>
        <translation>El servidor rechazó la conexión</translation>
    </message>
    <message>
        <source>The server refused the login</source>
        <translation>El servidor rechazó el inicio de sesión</translation>
    </message>
    <message>
        <source>%1 sent a capability list longer than %2 lines or %3 bytes.</source>
        <translation>%1 envió una lista de capacidades de más de %2 líneas o %3 bytes.</translation>
    </message>
    <message>
        <source>The unique-id listing of %1 is larger than %2 bytes.</source>
        <translation>La lista de identificadores únicos de %1 ocupa más de %2 bytes.</translation>
    </message>
</context>
<context>
    <name>Secrets</name>
    <message>
        <source>The password command</source>
        <translation>La orden de contraseña</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1.</source>
        <translation>La orden de contraseña terminó por la señal %1.</translation>
    </message>
    <message>
        <source>The password command was ended by signal %1: %2</source>
        <translation>La orden de contraseña terminó por la señal %1: %2</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1.</source>
        <translation>La orden de contraseña falló con el estado de salida %1.</translation>
    </message>
    <message>
        <source>The password command failed with exit status %1: %2</source>
        <translation>La orden de contraseña falló con el estado de salida %1: %2</translation>
    </message>
    <message>
        <source>No password command is set for this account.</source>
        <translation>Esta cuenta no tiene ninguna orden de contraseña.</translation>
    </message>
    <message>
        <source>The password command was stopped.</source>
        <translation>La orden de contraseña se detuvo.</translation>
    </message>
    <message>
        <source>The password command could not be started: %1</source>
        <translation>No se pudo iniciar la orden de contraseña: %1</translation>
    </message>
    <message>
        <source>The password command printed a first line longer than 64 KiB.</source>
        <translation>La orden de contraseña mostró una primera línea de más de 64 KiB.</translation>
    </message>
    <message>
        <source>The password command printed nothing.</source>
        <translation>La orden de contraseña no mostró nada.</translation>
    </message>
    <message>
        <source>%1 cannot be reached: no session bus is running.</source>
        <translation>No se puede contactar con %1: no hay ningún bus de sesión en marcha.</translation>
    </message>
    <message>
        <source>%1 was not asked to the end: the check was stopped.</source>
        <translation>La consulta a %1 no terminó: la comprobación se detuvo.</translation>
    </message>
    <message>
        <source>%1 failed.</source>
        <translation>%1 falló.</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 falló: %2</translation>
    </message>
    <message>
        <source>The keyring</source>
        <translation>El depósito de claves</translation>
    </message>
    <message>
        <source>The keyring holds no password for %1 on %2.</source>
        <translation>El depósito de claves no tiene ninguna contraseña de %1 en %2.</translation>
    </message>
    <message>
        <source>The keyring is locked; unlock it to let Tarvo read the password for %1 on %2.</source>
        <translation>El depósito de claves está bloqueado; hay que desbloquearlo para que Tarvo lea la contraseña de %1 en %2.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts</source>
        <translation>Cuentas en línea de GNOME</translation>
    </message>
    <message>
        <source>GNOME Online Accounts has no mail account for %1.</source>
        <translation>Cuentas en línea de GNOME no tiene ninguna cuenta de correo de %1.</translation>
    </message>
    <message>
        <source>The online account of %1 has neither a token nor a password to give.</source>
        <translation>La cuenta en línea de %1 no tiene ni token ni contraseña que dar.</translation>
    </message>
    <message>
        <source>GNOME Online Accounts gave an empty secret for %1.</source>
        <translation>Cuentas en línea de GNOME dio un secreto vacío para %1.</translation>
    </message>
    <message numerus="yes">
        <source>%1 did not answer within %n second(s).</source>
        <translation>
            <numerusform>%1 no respondió en %n segundo.</numerusform>
            <numerusform>%1 no respondió en %n segundos.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 did not answer within %2 ms.</source>
        <translation>%1 no respondió en %2 ms.</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>Tarvo cannot save its state: %1 is not a regular file.</source>
        <translation>Tarvo no puede guardar su estado: %1 no es un archivo normal.</translation>
    </message>
</context>
<context>
    <name>TarvoResources</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Falló la inicialización de los sockets.</translation>
    </message>
</context>
<context>
    <name>TlsTransport</name>
    <message>
        <source>an unreadable date</source>
        <translation>una fecha ilegible</translation>
    </message>
    <message>
        <source>The certificate of %1 is refused: a name in it holds a NUL character, which could pass it off as another name.</source>
        <translation>Se rechaza el certificado de %1: uno de sus nombres contiene un carácter NUL, con el que podría hacerse pasar por otro nombre.</translation>
    </message>
    <message>
        <source>The certificate names %1 only as a host name; an IP address must be in its subjectAltName.</source>
        <translation>El certificado nombra %1 solo como nombre de equipo; una dirección IP debe figurar en su subjectAltName.</translation>
    </message>
    <message>
        <source>The certificate is issued for %1, not %2.</source>
        <translation>El certificado está emitido para %1, no para %2.</translation>
    </message>
    <message>
        <source>no name</source>
        <translation>ningún nombre</translation>
    </message>
    <message>
        <source>The certificate of %1 has expired (%2).</source>
        <translation>El certificado de %1 caducó (%2).</translation>
    </message>
    <message>
        <source>The certificate of %1 is not valid before %2.</source>
        <translation>El certificado de %1 no es válido antes del %2.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts; if the server is yours, trust it with Certificate... in Servers... in the menu.</source>
        <translation>El certificado de %1 no está firmado por ninguna autoridad de certificación en la que confíe este equipo; si el servidor es propio, se puede confiar en él con Certificado... en Servidores... del menú.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not signed by an authority this computer trusts.</source>
        <translation>El certificado de %1 no está firmado por ninguna autoridad de certificación en la que confíe este equipo.</translation>
    </message>
    <message>
        <source>The certificate of %1 could not be verified: %2.</source>
        <translation>No se pudo verificar el certificado de %1: %2.</translation>
    </message>
    <message>
        <source>The secure connection could not be prepared on this computer.</source>
        <translation>No se pudo preparar la conexión segura en este equipo.</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account; it has been replaced since.</source>
        <translation>El certificado de %1 no es aquel en el que confía esta cuenta; ha sido sustituido.</translation>
    </message>
    <message>
        <source>%1 closed the connection during the TLS handshake.</source>
        <translation>%1 cerró la conexión durante la negociación TLS.</translation>
    </message>
    <message>
        <source>%1 offers no TLS version from 1.2 on, the oldest still safe.</source>
        <translation>%1 no ofrece ninguna versión de TLS a partir de la 1.2, la más antigua aún segura.</translation>
    </message>
    <message>
        <source>The TLS handshake with %1 failed: %2.</source>
        <translation>Falló la negociación TLS con %1: %2.</translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation>sin motivo</translation>
    </message>
    <message>
        <source>It was not verified: this account trusts one certificate by hand.</source>
        <translation>No se verificó: esta cuenta confía en un certificado elegido a mano.</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Check now</source>
        <translation>&amp;Comprobar ahora</translation>
    </message>
    <message>
        <source>&amp;Read mail</source>
        <translation>&amp;Leer correo</translation>
    </message>
    <message>
        <source>&amp;Headers...</source>
        <translation>&amp;Encabezados...</translation>
    </message>
    <message>
        <source>&amp;Servers...</source>
        <translation>&amp;Servidores...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Opciones...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Acerca de...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Sal&amp;ir</translation>
    </message>
    <message>
        <source>&amp;Stop check</source>
        <translation>&amp;Detener la comprobación</translation>
    </message>
</context>
<context>
    <name>TrayTip</name>
    <message>
        <source>No mailboxes to check</source>
        <translation>No hay buzones que comprobar</translation>
    </message>
    <message>
        <source>Tarvo is empty</source>
        <translation>Tarvo está vacío</translation>
    </message>
    <message>
        <source>%1 failed. %2</source>
        <translation>Fallaron: %1. %2</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts failed. %1</source>
        <translation>
            <numerusform>Falló %Ln cuenta. %1</numerusform>
            <numerusform>Fallaron %Ln cuentas. %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>You have %n unread message(s)</source>
        <translation>
            <numerusform>Hay %Ln mensaje sin leer</numerusform>
            <numerusform>Hay %Ln mensajes sin leer</numerusform>
        </translation>
    </message>
    <message>
        <source>No unread messages</source>
        <translation>No hay mensajes sin leer</translation>
    </message>
    <message>
        <source>Error(s) occured</source>
        <translation>Se produjeron errores</translation>
    </message>
</context>
</TS>
