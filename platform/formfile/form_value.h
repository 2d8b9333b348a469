#pragma once
// A property value as written in a form description.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

struct FormValue;

// One property line of a form description or of a collection item.
struct FormProperty {
    QString name;
    std::shared_ptr<FormValue> value;
    int line = 0;
};

struct FormValue {
    enum class Kind {
        String,     // "text" (joined pieces, with escapes)
        Integer,    // -12
        Float,      // 1.5
        Identifier, // True, alTop, FormCreate, fdmqb.QBorrar
        Set,        // [akLeft, akTop]
        Lines,      // lines: followed by indented "text" lines
        Bytes,      // bytes: followed by indented hexadecimal lines
        Collection  // items: followed by indented item blocks of properties
    };
    Kind kind = Kind::String;
    QString text;                                 // String, Identifier
    qint64 integer = 0;                           // Integer
    double number = 0;                            // Float
    QStringList list;                             // Set, Lines
    QByteArray bytes;                             // Bytes
    std::vector<std::vector<FormProperty>> items; // Collection
    int line = 0;

    static QString KindName(Kind kind);
};
