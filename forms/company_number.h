#pragma once
// The company number as it goes into SQL: the text typed in the login
// window's company box, accepted only when it is a plain number.

#include <QString>

// Gives the text back unchanged when it is one or more digits 0 to 9 and
// nothing else; otherwise raises Exception "El número de compañía no es
// válido: " followed by the text in double quotes. The company text is put
// into statements unquoted, so anything else could change the statement.
QString CheckedCompanyNumber(const QString& text);
