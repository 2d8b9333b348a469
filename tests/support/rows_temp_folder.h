#pragma once
// For the tests of rows whose photographs are kept in a temporary file: the
// user's temporary folder (TMPDIR) made a folder of the test's own while the
// object lives, and photographs that differ from one to the next.

#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>

class RowsTempFolder {
public:
    RowsTempFolder() : had_(qEnvironmentVariableIsSet("TMPDIR")), old_(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", folder_.path().toLocal8Bit());
    }
    ~RowsTempFolder() {
        if (had_)
            qputenv("TMPDIR", old_);
        else
            qunsetenv("TMPDIR");
    }
    RowsTempFolder(const RowsTempFolder&) = delete;
    RowsTempFolder& operator=(const RowsTempFolder&) = delete;

    QString Path() const { return folder_.path(); }
    // What a write of the rows' temporary file raises when the folder is full.
    QString FullMessage() const {
        return QStringLiteral("Cannot write the temporary file of the rows in \"%1\": "
                              "No space left on device")
            .arg(Path());
    }

private:
    QTemporaryDir folder_; // made in the temporary folder as it was
    bool had_;
    QByteArray old_;
};

// `size` bytes that differ from one photograph to the next.
inline QByteArray PhotoBytes(int index, int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    uint32_t seed = 2654435761u * uint32_t(index + 1);
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return bytes;
}
