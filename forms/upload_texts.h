#pragma once
// The texts the upload run builds: its two statements, with their values
// quoted, and the public address and the local file of each photograph.

#include "platform/system/datetime.h"

#include <QString>

// `text` between single quotes, each single quote inside it doubled.
QString QuotedStr(const QString& text);

// The changed articles: "SELECT * FROM ARTICULOS_MIQUELBO('<date>','<time>')",
// with the date and time texts exactly as given (they belong to the ERP's
// procedure, which reads them in the user's formats).
QString ChangedArticlesStatement(const QString& dateText, const QString& timeText);

// The company's stamp. The date goes in as 'YYYY-MM-DD', the one form the
// server reads the same whatever the user's date format; the time as the
// time box's text; the company unquoted, so it must be a checked number.
QString CompanyStampStatement(TDateTime date, const QString& timeText,
                              const QString& companyNumber);

// Gives `code` back when it can be part of a file name on any system the
// photographs are published from; otherwise (empty, a path separator '\'
// or '/', one of : * ? " < > |, or a control character) raises Exception
// "El código de artículo no sirve como nombre de archivo: " followed by
// the code in double quotes.
QString CheckedPhotoCode(const QString& code);

// The address of the photograph folder on the public web server whose base
// address (scheme and host) is `base`: "<base>/trevola/imgarti".
QString PhotoFolderAddress(const QString& base);
// The photograph of article `code` of company `company`: its address in that
// folder, "<base>/trevola/imgarti/<company>-<code>.jpg" with the name
// percent-encoded (UTF-8; letters, digits and - . _ ~ as they are) ...
QString PhotoAddress(const QString& base, const QString& company, const QString& code);
// ... and the file the web server publishes it from,
// "c:\wamp\www\trevola\imgarti\<company>-<code>.jpg", in PhotoFolder().
QString PhotoFile(const QString& company, const QString& code);
QString PhotoFolder();
// What the names of the photograph files end in.
inline constexpr char16_t kPhotoFileEnd[] = u".jpg";
