#pragma once

#include <QString>

class QFileDevice;

// Every sentence of the program that reaches the user in an error box, in
// Chinese, in one place for whoever words or translates them. Names (files,
// printers, hosts, libraries, codes) stand in them as they are; the reasons
// that the system, Qt or a library gives in English are told here again in
// Chinese, from their codes.
namespace Messages {

// Reasons, to stand after "：" in a sentence below.
QString systemReason(int error); // an errno value
// Why Qt could not open or read the file at path.
QString fileReason(const QFileDevice &file, const QString &path);
QString notARegularFile();
QString ownedByAnotherUser();
QString notRoots();
QString folderNotRoots(const QString &folder);
QString folderWritableByOthers(const QString &folder);
QString writableByOthers();
QString largerThan(const QString &size); // "1 MiB"
QString isALink();
QString readOnly();
QString lockFileNotRegular();
QString outOfMemory();
QString parentFolderUnmakeable();
QString notAFolder();
QString fileNotFound();
QString noPermission();
QString readOrWriteFailed();

// Settings.
QString settingsUnreadable(const QString &path, const QString &reason);
QString settingsUnwritable(const QString &path, const QString &reason);
QString administratorsSettingsIgnored(const QString &path, const QString &reason);
QString settingsFolderUnprepared(const QString &folder, const QString &reason);
QString internalError(const QString &where, int line);

// Files.
QString cannotOpen(const QString &path, const QString &reason);
QString cannotRead(const QString &path, const QString &reason);

// Libraries loaded at their first use.
QString libraryMissing(const QString &library, const QString &neededFor);
QString libraryLacksFunction(const QString &library, const QString &function);
QString libraryTooOld(const QString &library, const QString &version, const QString &needed);
QString librarySetUpFailed(const QString &library, const QString &reason);

// Web pages.
QString pageTooLarge(const QString &size);
QString pageWithTooManyAttributes(int most);
QString pageNotHtml();
QString interfaceNotSupported();

// The network.
QString headerWithLineBreak(const QString &header);
QString networkNotStarted();
QString requestStillRunning();
QString answerTooLarge(const QString &url, const QString &size);
QString tooManyRedirects(const QString &host, int most);
QString httpError(const QString &host, int status);
QString redirectNotHttp(const QString &url);
QString redirectToPlainHttp(const QString &url);
QString redirectToPrivateAddress(const QString &url);
QString redirectToAnotherHost(const QString &url);
QString redirectToAnotherPort(const QString &url);
QString hostNotFound(const QString &host);
QString connectionRefused(const QString &host);
QString timedOut(const QString &host);
QString secureConnectionFailed(const QString &host);
QString connectionBroken(const QString &host);
QString networkFailed(const QString &host, int code);
QString captchaNotJpeg();

// Printing.
QString printerOrJobNotFound();
QString printingNotAllowed();
QString printSystemUnreachable();
QString printSystemError(int status);
QString printSystemHttpError(int status);
QString noJobNumber();
QString journalUnopenable(const QString &path, const QString &reason);
QString journalUnwritable(const QString &path, const QString &reason);
// A journal file that must not be written (a link, another user's...).
QString journalRefused(const QString &path, const QString &reason);
// Why the journal's database refused, from SQLite's result code.
QString databaseReason(int sqliteCode);

// The register of receipt numbers; server is "host:port/dbname", never the
// password.
QString registerAddressInvalid(const QString &uri);
QString registerDriverMissing(const QString &server);
QString registerUnreachable(const QString &server, const QString &reason);
QString registerRefused(const QString &server, const QString &reason);
// Why the PostgreSQL server refused, from its SQLSTATE and libpq's words.
QString postgresReason(const QString &sqlState, const QString &text);
// The server's register was made by a newer program (schema version).
QString registerTooNew(int version);
QString stockRangeInvalid();
QString noRangeSelected();
QString periodBackwards();
QString stockRangeOverlaps(const QString &first, const QString &last);
QString registerExportFailed(const QString &path, const QString &reason);

} // namespace Messages
