#pragma once
// Private to the driver: the statements of one attachment that were
// prepared and are free again, kept by their text so that preparing the
// same text again costs nothing. Bounded: the least recently used goes
// first. Never shared between attachments; emptied before a detach.

#include <QByteArray>
#include <firebird/Interface.h>
#include <optional>
#include <vector>

namespace Driver {

// A statement as the server prepared it, with its descriptions.
struct PreparedStatement {
    QByteArray text; // as sent to the server
    Firebird::IStatement* statement = nullptr;
    Firebird::IMessageMetadata* inMeta = nullptr;
    Firebird::IMessageMetadata* outMeta = nullptr;
    unsigned type = 0;

    // Releases the descriptions and frees the statement on the server.
    // Never raises.
    void Free(Firebird::IMaster* master) noexcept;
};

class StatementCache {
public:
    static constexpr size_t kCapacity = 32;

    // Takes the statement kept for `text` out of the cache, if there is one.
    std::optional<PreparedStatement> Take(const QByteArray& text);
    // Keeps `statement` as the most recently used; the least recently used
    // is freed when the cache is full, and so is `statement` when one of the
    // same text is kept already.
    void Put(PreparedStatement statement, Firebird::IMaster* master) noexcept;
    // Frees every statement kept.
    void Clear(Firebird::IMaster* master) noexcept;
    size_t Size() const { return idle_.size(); }

private:
    std::vector<PreparedStatement> idle_; // least recently used first
};

} // namespace Driver
