#pragma once
// Private to the driver: the input message of one execution of a statement,
// that is the statement's input metadata retyped to the parameters as they
// were bound, and the bytes of their values.

#include "data/driver/fb_internal.h"

#include <QByteArray>
#include <vector>

namespace Driver {

class InputMessage {
public:
    // Retypes the markers' metadata to the bound parameters. Error
    // ParameterNotSet for a marker never bound; ServerError when the client
    // refuses the metadata.
    explicit InputMessage(StatementImpl& statement);
    InputMessage(const InputMessage&) = delete;
    InputMessage& operator=(const InputMessage&) = delete;

    // Writes the values into the message; a blob value too long to go as
    // text is written into a new blob of `tra`. Raises ServerError with the
    // server's text.
    void Encode(Firebird::ITransaction* tra);

    // Null without parameters.
    Firebird::IMessageMetadata* Metadata() const { return meta_.get(); }
    void* Data() { return message_.empty() ? nullptr : message_.data(); }

private:
    void EncodeValue(unsigned index, unsigned char* data, Firebird::ITransaction* tra);

    StatementImpl& s_;
    FbRef<Firebird::IMessageMetadata> meta_;
    std::vector<unsigned char> message_;
    std::vector<QByteArray> wire_; // text and blob bytes as sent
    std::vector<bool> blobAsText_; // a blob value that goes as text
};

} // namespace Driver
