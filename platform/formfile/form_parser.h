#pragma once
// Parses the text of a form description into a tree of component blocks.
//
// The format, one statement a line, nesting by indentation (spaces only):
//
//   # a comment
//   Tfaccesoqb faccesoqb              a component block: class, then name
//     Caption = "Actualizar articulos"
//     Width = 363                     integers, numbers (1.5), identifiers
//     OnCreate = FormCreate           (True, alTop, fdmqb.QBorrar), sets [a, b]
//     Items = lines                   a list of lines: one string per line below
//       "c:\\dorvan"
//     Glyph = bytes                   binary data: hexadecimal digits below
//       89504E47 0D0A1A0A
//     Params = items                  a collection: item blocks of properties
//       item
//         Name = "COD"
//     TPanel Panel2                   a nested block: owned by the root, its
//       Align = alTop                 parent is the enclosing block
//
// Strings are UTF-8 in double quotes with the escapes \" \\ \n \r \t.

#include "platform/formfile/form_value.h"

#include <QString>
#include <vector>

struct FormNode {
    QString className;
    QString name;
    int line = 0;
    std::vector<FormProperty> properties;
    std::vector<FormNode> children;
};

// Raises EFormError (file, line, what is wrong) for text that is not well formed.
FormNode ParseForm(const QString& text, const QString& fileName);
