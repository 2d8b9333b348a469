#pragma once
// The description of one column of a data packet, as the provider fills it
// from its query's fields and the client dataset binds its fields to it.

#include "data/dataset/values/field_type.h"

#include <QString>
#include <cstdint>

// Provider flags of a column (the "PROVFLAGS" attribute), read by the change
// resolution to pick the columns of the set list and the where clause.
enum TProviderFlag : uint8_t {
    pfInUpdate = 0x01,
    pfInWhere = 0x02,
    pfInKey = 0x04,
    pfHidden = 0x08,
};

struct TPacketColumn {
    QString name;
    TFieldType type = ftUnknown;
    int size = 0;      // characters of a text column, bytes of a bytes column
    int precision = 0; // digits of a decimal column
    int scale = 0;     // digits after the point of a decimal column (0..18)
    bool required = false;
    bool readOnly = false;
    uint8_t provFlags = pfInUpdate | pfInWhere; // "PROVFLAGS"
    QString origin;                             // "ORIGIN": the table column, when it differs

    friend bool operator==(const TPacketColumn&, const TPacketColumn&) = default;
};

// A column of the given kind with the other attributes at their defaults.
inline TPacketColumn PacketColumn(const QString& name, TFieldType type, int size = 0,
                                  int precision = 0, int scale = 0) {
    TPacketColumn c;
    c.name = name;
    c.type = type;
    c.size = size;
    c.precision = precision;
    c.scale = scale;
    return c;
}
